#pragma once
// Connects the viewer link to the editor: the link button, the document's rebuilds and
// confirms, and the sockets of the main window and the control panel, watched on the
// user-interface thread.

#include "DocumentListener.h"
#include "ViewerLinkController.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QSocketNotifier;
class QWidget;

namespace tesk {

class Ctesk001Doc;
class GLScene;
class Mailbox;
class Messages;

class ViewerLinkGlue : public QObject, public DocumentListener, public LinkHost {
    Q_OBJECT
public:
    /// `saveCommand` is the control panel's Save shape command.
    ViewerLinkGlue(Ctesk001Doc& doc, GLScene& scene, Messages& messages, QWidget& mainWindow,
                   QAbstractButton& button, std::function<void()> saveCommand, LinkNames names,
                   QObject* parent = nullptr);
    ~ViewerLinkGlue() override;

    ViewerLinkController& controller() { return *m_controller; }
    /// Whether this editor holds the main window's class name (a second editor does not).
    bool holdsClassName() const { return m_mainClass != nullptr; }

public slots:
    /// The 2-D editor's left double click: tells a running viewer and waits for it. False
    /// when there is none.
    bool notifyDoubleClick();

public:
    void shapeRebuilt() override;
    void confirmed() override;

    bool linkPressed() const override;
    void releaseLink() override;
    bool isNewShape() const override;
    bool hasPreviewMesh() const override;
    std::string fileName() const override;
    Point3 halfExtent() const override;
    std::span<const uint32_t> sculptMap() const override;
    void setTopMost(bool on) override;
    void runSaveCommand() override;
    void saveProject(const std::string& path) override;
    void loadProject(const std::string& path) override;

private:
    /// Holds back the sockets while a send waits for its acknowledgement or a request is
    /// handled, so neither a second request nor a rebuild can come in between, even from
    /// the event loop of a message box.
    class Hold;
    /// Binds a mailbox to a fresh window id; the id is returned through `id`.
    std::unique_ptr<Mailbox> openWindow(const LinkNames& names, uint32_t& id);
    void watch(Mailbox& box, bool panel);
    void drain(Mailbox& box, bool panel);
    void update();

    Ctesk001Doc& m_doc;
    GLScene& m_scene;
    QWidget& m_mainWindow;
    QPointer<QAbstractButton> m_button;
    std::function<void()> m_saveCommand;
    std::unique_ptr<Mailbox> m_mainEndpoint;
    std::unique_ptr<Mailbox> m_mainClass;
    std::unique_ptr<Mailbox> m_panelEndpoint;
    std::unique_ptr<ViewerLinkController> m_controller;
    std::vector<QSocketNotifier*> m_notifiers;
    int m_holds = 0;
};

} // namespace tesk
