#include "ViewerLinkGlue.h"

#include "Ctesk001Doc.h"
#include "GLScene.h"
#include "LinkProtocol.h"
#include "ViewerLink.h"

#include <QAbstractButton>
#include <QDebug>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>

namespace tesk {

class ViewerLinkGlue::Hold {
public:
    explicit Hold(ViewerLinkGlue& glue) : m_glue(glue) {
        if (m_glue.m_holds++ == 0) {
            setEnabled(false);
        }
    }
    ~Hold() {
        if (--m_glue.m_holds == 0) {
            setEnabled(true);
        }
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    void setEnabled(bool on) {
        for (QSocketNotifier* n : m_glue.m_notifiers) {
            n->setEnabled(on);
        }
    }
    ViewerLinkGlue& m_glue;
};

ViewerLinkGlue::ViewerLinkGlue(Ctesk001Doc& doc, GLScene& scene, Messages& messages,
                               QWidget& mainWindow, QAbstractButton& button,
                               std::function<void()> saveCommand, LinkNames names, QObject* parent)
    : QObject(parent), m_doc(doc), m_scene(scene), m_mainWindow(mainWindow), m_button(&button),
      m_saveCommand(std::move(saveCommand)) {
    if (names.folder.empty()) {
        qWarning("tesk: the viewer link is off: the folder for its sockets is not private to "
                 "this user");
    }
    uint32_t mainId = 0;
    uint32_t panelId = 0;
    m_mainEndpoint = openWindow(names, mainId);
    m_panelEndpoint = openWindow(names, panelId);
    // A second editor finds the class name taken and goes on without it: the viewer
    // registers with the first.
    m_mainClass = Mailbox::bind(names.windowClass(kEditorClassName));
    m_controller =
        std::make_unique<ViewerLinkController>(std::move(names), *this, messages, panelId);
    for (Mailbox* box : {m_mainEndpoint.get(), m_mainClass.get()}) {
        if (box != nullptr) {
            watch(*box, false);
        }
    }
    if (m_panelEndpoint) {
        watch(*m_panelEndpoint, true);
    }
    connect(&button, &QAbstractButton::clicked, this, &ViewerLinkGlue::update);
    m_doc.addListener(this, ListenerRank::Link);
}

ViewerLinkGlue::~ViewerLinkGlue() {
    m_doc.removeListener(this);
    // The watchers go before the sockets they watch.
    qDeleteAll(m_notifiers);
}

std::unique_ptr<Mailbox> ViewerLinkGlue::openWindow(const LinkNames& names, uint32_t& id) {
    // Window numbers are taken in turn and wrap after 255; skip one still in use.
    for (int attempt = 0; attempt < 255; ++attempt) {
        id = nextWindowId();
        if (auto box = Mailbox::bind(names.endpoint(id))) {
            return box;
        }
    }
    id = 0;
    return nullptr;
}

void ViewerLinkGlue::watch(Mailbox& box, bool panel) {
    auto* notifier = new QSocketNotifier(box.fd(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this,
            [this, &box, panel] { drain(box, panel); });
    notifier->setEnabled(m_holds == 0);
    m_notifiers.push_back(notifier);
}

void ViewerLinkGlue::drain(Mailbox& box, bool panel) {
    const Hold hold(*this);
    while (const auto received = box.take()) {
        const uint32_t result = panel ? m_controller->panelMessage(received->message)
                                      : m_controller->mainWindowMessage(received->message);
        box.answer(*received, result);
    }
}

void ViewerLinkGlue::update() {
    const Hold hold(*this);
    m_controller->viewerLinkUpdate();
}

bool ViewerLinkGlue::notifyDoubleClick() {
    return notifyViewerOfDoubleClick(m_controller->names());
}

void ViewerLinkGlue::shapeRebuilt() {
    update();
}

void ViewerLinkGlue::confirmed() {
    m_controller->confirmed();
}

bool ViewerLinkGlue::linkPressed() const {
    return m_button && m_button->isChecked();
}

void ViewerLinkGlue::releaseLink() {
    if (m_button) {
        m_button->setChecked(false);
    }
}

bool ViewerLinkGlue::isNewShape() const {
    return m_doc.isNewShape();
}

bool ViewerLinkGlue::hasPreviewMesh() const {
    for (int i = 0; i < m_scene.objectCount(); ++i) {
        if (m_scene.objectAt(i)->kind == KIND_MESH) {
            return true;
        }
    }
    return false;
}

std::string ViewerLinkGlue::fileName() const {
    return m_doc.getFileName();
}

Point3 ViewerLinkGlue::halfExtent() const {
    return m_doc.mesh().halfExtent;
}

std::span<const uint32_t> ViewerLinkGlue::sculptMap() const {
    return m_doc.mesh().map;
}

void ViewerLinkGlue::setTopMost(bool on) {
    if (QWindow* window = m_mainWindow.windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    }
    if (on) {
        m_mainWindow.show();
        m_mainWindow.raise();
    }
}

void ViewerLinkGlue::runSaveCommand() {
    if (m_saveCommand) {
        m_saveCommand();
    }
}

void ViewerLinkGlue::saveProject(const std::string& path) {
    m_doc.saveProject(path);
}

void ViewerLinkGlue::loadProject(const std::string& path) {
    m_doc.loadProject(path);
}

} // namespace tesk
