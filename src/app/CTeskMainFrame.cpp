#include "CTeskMainFrame.h"

#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileNames.h"
#include "GLView.h"
#include "PECView.h"
#include "PEView.h"
#include "RecentFiles.h"
#include "ViewerLinkGlue.h"

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
    : QMainWindow(parent), m_doc(doc) {
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
    shortcut(QKeySequence::Save, &Ctesk001View::onSave);
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
    const int rightWidth = std::max(w - kPanelWidth, 2);
    const int editorWidth = std::clamp(w / 2, std::max(w / 10, 1), rightWidth - 1);
    m_editorColumn->setMinimumWidth(w / 10);
    m_outer->setSizes({kPanelWidth, rightWidth});
    m_right->setSizes({editorWidth, rightWidth - editorWidth});
    const int editorHeight = std::clamp(w / 2, 1, std::max(h - 1, 1));
    m_editorColumn->setSizes({editorHeight, std::max(h - editorHeight, 1)});
}

void CTeskMainFrame::fileNameChanged(const std::string& name) {
    setWindowTitle(QString::fromStdString(captionFor(name)));
}

void CTeskMainFrame::projectStored(const std::string& path, bool onDisk) {
    if (onDisk) {
        RecentFiles::add(QString::fromStdString(path));
    }
}

void CTeskMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CTeskMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) {
        event->acceptProposedAction();
        m_panel->openFile(localFilePath(urls.front()));
    }
}

} // namespace tesk
