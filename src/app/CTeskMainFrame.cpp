#include "CTeskMainFrame.h"

#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "FileNames.h"
#include "GLView.h"
#include "Messages.h"
#include "PECView.h"
#include "PEView.h"
#include "RecentFiles.h"
#include "ViewerLinkGlue.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <algorithm>

namespace tesk {

namespace {
constexpr int kPanelWidth = 86;
} // namespace

CTeskMainFrame::CTeskMainFrame(Ctesk001Doc& doc, DocumentPreview& preview, Messages& messages,
                               FileChooser& chooser, QWidget* parent, const LinkNames& linkNames)
    : QMainWindow(parent), m_doc(doc), m_messages(messages) {
    setObjectName(QStringLiteral("CTeskMainFrame"));
    setAcceptDrops(true);

    m_outer = new QSplitter(Qt::Horizontal, this);
    m_panel = new Ctesk001View(doc, messages, chooser, m_outer);
    m_right = new QSplitter(Qt::Horizontal, m_outer);
    m_editorColumn = new QSplitter(Qt::Vertical, m_right);
    m_editorPane = new PEView(doc, m_editorColumn);
    m_editorPane->setObjectName(QStringLiteral("PEView"));
    m_transformPane = new PECView(doc, m_editorColumn);
    m_preview = new GLView(doc, preview, m_right);
    m_preview->setObjectName(QStringLiteral("GLView"));
    m_preview->setPictureChooser(
        [&chooser](QWidget* owner, const QString& filter, const QString& folder) {
            return chooser.openFile(owner, filter, folder);
        },
        messages);
    for (QSplitter* splitter : {m_outer, m_right, m_editorColumn}) {
        splitter->setChildrenCollapsible(false);
    }
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    setCentralWidget(m_outer);

    auto shortcut = [this](QKeySequence::StandardKey key, void (Ctesk001View::*command)()) {
        connect(new QShortcut(key, this), &QShortcut::activated, m_panel, command);
    };
    shortcut(QKeySequence::New, &Ctesk001View::onNew);
    shortcut(QKeySequence::Open, &Ctesk001View::onLoad);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, m_panel,
            [this] { m_panel->onSave(); });
    shortcut(QKeySequence::HelpContents, &Ctesk001View::openManual);
    // Quitting is closing the window, so it asks about unsaved work the same way.
    connect(new QShortcut(QKeySequence::Quit, this), &QShortcut::activated, this, &QWidget::close);
    // Undo and redo as on every desktop: Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z.
    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(undo, &QShortcut::activated, m_transformPane, &PECView::undo);
    auto* redo = new QShortcut(this);
    redo->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QShortcut::activated, m_transformPane, &PECView::redo);

    m_link = new ViewerLinkGlue(
        doc, preview.scene(), messages, *this, *m_panel->linkButton(),
        [this] { m_panel->onSave(); }, linkNames, this);
    connect(m_editorPane, &PEView::doubleClicked, m_link, &ViewerLinkGlue::notifyDoubleClick);

    doc.addListener(this);
    fileNameChanged(doc.getFileName());
}

CTeskMainFrame::~CTeskMainFrame() {
    m_doc.removeListener(this);
}

void CTeskMainFrame::layoutPanes(int w, int h) {
    // The editor column asks for half the window width (at least a tenth), the preview takes
    // what is left; the 2-D editor asks for a square of that width above the transform panel.
    // The panel's captions are laid out in dialog units of the font found here, which can be
    // a little wider than the designed 86 pixels: never cut them off.
    const int panelWidth = std::max(kPanelWidth, m_panel->minimumWidth());
    const int rightWidth = std::max(w - panelWidth, 2);
    const int editorWidth = std::clamp(w / 2, std::max(w / 10, 1), rightWidth - 1);
    m_editorColumn->setMinimumWidth(w / 10);
    m_outer->setSizes({panelWidth, rightWidth});
    m_right->setSizes({editorWidth, rightWidth - editorWidth});
    // The square 2-D editor gives way to the transform pane, so every slider stays in view.
    const int transformHeight = m_transformPane->minimumHeight();
    const int editorHeight = std::clamp(w / 2, 1, std::max(h - transformHeight, 1));
    m_editorColumn->setSizes({editorHeight, std::max(h - editorHeight, 1)});
}

void CTeskMainFrame::fileNameChanged(const std::string& name) {
    setWindowTitle(QString::fromStdString(captionFor(name)) + QStringLiteral("[*]"));
    showModified();
}

void CTeskMainFrame::projectStored(const std::string& path, bool onDisk) {
    if (onDisk) {
        RecentFiles::add(QString::fromStdString(path));
    }
    showModified();
}

void CTeskMainFrame::shapeRebuilt() {
    showModified();
}

void CTeskMainFrame::showModified() {
    setWindowModified(m_doc.isModified());
}

void CTeskMainFrame::closeEvent(QCloseEvent* event) {
    if (m_panel->maySetShapeAside()) {
        event->accept();
    } else {
        event->ignore();
    }
}

namespace {
/// The dropped local files as bytes: a name that is not UTF-8 must still open.
std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(localFilePath(url));
        }
    }
    return files;
}
} // namespace

void CTeskMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).empty()) {
        // A drop opens a copy of what it reads: the source must never be moved away.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void CTeskMainFrame::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = localFiles(event->mimeData());
    if (files.empty()) {
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    m_panel->openFile(files.front());
    if (files.size() > 1) {
        std::string rest = kOtherFilesMessage;
        for (size_t i = 1; i < files.size(); ++i) {
            rest += "\n" + files[i];
        }
        m_messages.inform(rest);
    }
}

} // namespace tesk
