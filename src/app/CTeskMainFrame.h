#pragma once
// The main window: the control panel at the left, the 2-D editor above the transform panel
// in the middle and the 3-D preview at the right, in three splitters.

#include "Ctesk001Doc.h"
#include "LinkNames.h"

#include <QMainWindow>

class QSplitter;

namespace tesk {

class Ctesk001View;
class FileChooser;
class GLView;
class PECView;
class PEView;
class ViewerLinkGlue;

class DocumentPreview;

class CTeskMainFrame : public QMainWindow, public DocumentListener {
    Q_OBJECT
public:
    /// `linkNames` are where the companion viewer is met; tests give names of their own.
    CTeskMainFrame(Ctesk001Doc& doc, DocumentPreview& preview, Messages& messages,
                   FileChooser& chooser, QWidget* parent = nullptr,
                   const LinkNames& linkNames = LinkNames::forUser());
    ~CTeskMainFrame() override;

    Ctesk001View* controlPanel() const { return m_panel; }
    GLView* preview() const { return m_preview; }
    PEView* pointEditorPane() const { return m_editorPane; }
    PECView* transformPane() const { return m_transformPane; }
    /// The companion viewer link; the 2-D editor's double click goes to notifyDoubleClick().
    ViewerLinkGlue* viewerLink() const { return m_link; }

    /// Sizes the panes from the client size, as the window does when it is first laid out.
    void layoutPanes(int clientWidth, int clientHeight);

    void fileNameChanged(const std::string& name) override;
    void projectStored(const std::string& path, bool onDisk) override;
    void shapeRebuilt() override;

protected:
    /// Asks about unsaved work first; Cancel, or a save that fails, keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// The title's modified mark, in the Qt way ("[*]" in the caption).
    void showModified();

    Ctesk001Doc& m_doc;
    Messages& m_messages;
    Ctesk001View* m_panel;
    GLView* m_preview;
    PEView* m_editorPane;
    PECView* m_transformPane;
    QSplitter* m_outer;
    QSplitter* m_right;
    QSplitter* m_editorColumn;
    ViewerLinkGlue* m_link;
};

} // namespace tesk
