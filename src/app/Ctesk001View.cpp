#include "Ctesk001View.h"

#include "BitmapFrame.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "EffectDialog.h"
#include "FileChooser.h"
#include "FileNames.h"
#include "HPJumpFrame.h"
#include "Installation.h"
#include "Messages.h"
#include "RecentFiles.h"
#include "SculptedImageSaveOptionDialog.h"
#include "StaticFrame.h"
#include "TeskResources.h"
#include "UiFonts.h"

#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QUrl>
#include <filesystem>

namespace tesk {

namespace {
constexpr int kPanelWidthUnits = 48;
constexpr int kPanelHeightUnits = 275;

QPushButton* makeButton(QWidget* parent, int id, const QString& text, const QString& tip,
                        const QRect& rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setToolTip(tip);
    button->setGeometry(rect);
    return button;
}

void makeCaption(QWidget* parent, int id, const QString& text, const QRect& rect) {
    auto* caption = new StaticFrame(text, parent);
    caption->setObjectName(QString::number(id));
    caption->setGeometry(rect);
}

void makeLinkButton(QWidget* parent, int id, const char* picture, const QString& address,
                    const char* text, const QString& tip, const QRect& rect) {
    auto* link = new HPJumpFrame(parent);
    link->setObjectName(QString::number(id));
    link->setText(QString::fromUtf8(text));
    link->setGeometry(rect);
    link->setPicture(address, QImage(QString::fromUtf8(picture)));
    link->setToolTip(tip);
}

/// A page of the manual shipped with the program, as a file address.
QString documentationPage(const Ctesk001Doc& doc, const char* page) {
    const std::filesystem::path file = documentationFolder(doc.getProgramDir()) / page;
    return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
}

bool isPictureName(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    return suffix == "bmp" || suffix == "png" || suffix == "tga" || suffix == "jpg" ||
           suffix == "jpeg";
}

/// The name with the extension of `filter`'s first pattern ("Bitmap (*.bmp)" gives ".bmp")
/// when the typed name has none.
QString withExtension(const QString& path, const QString& filter) {
    if (!QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    const qsizetype star = filter.indexOf(QStringLiteral("(*."));
    if (star < 0) {
        return path;
    }
    const qsizetype end = filter.indexOf(QLatin1Char(')'), star);
    const QString extension = filter.mid(star + 2, end - star - 2);
    return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char(' '))
               ? path
               : path + extension;
}
} // namespace

Ctesk001View::Ctesk001View(Ctesk001Doc& doc, Messages& messages, FileChooser& chooser,
                           QWidget* parent)
    : QWidget(parent), m_doc(doc), m_messages(messages), m_chooser(chooser),
      m_askExportOptions(&SculptedImageSaveOptionDialog::ask) {
    setFont(pointFont("MS UI Gothic", 90));
    const DialogUnits du(font());
    setMinimumSize(du.size(kPanelWidthUnits, kPanelHeightUnits));

    // The pages shipped with the program: the manual, and what changed in each version.
    makeLinkButton(this, 1063, resources::kHomePageButton,
                   documentationPage(doc, resources::kManualPage), "Home Page",
                   tr("マニュアルを開きます (F1)"), du.rect(0, 0, 48, 24));
    makeLinkButton(this, 1064, resources::kBlogButton,
                   documentationPage(doc, resources::kChangesPage), "Blog",
                   tr("版ごとの変更点を開きます"), du.rect(0, 24, 48, 24));

    makeCaption(this, 1065, tr("プロジェクト"), du.rect(0, 60, 48, 16));
    connect(makeButton(this, 1006, tr("新規"), tr("新しい形状で始めます"), du.rect(0, 78, 48, 12)),
            &QPushButton::clicked, this, &Ctesk001View::onNew);
    connect(makeButton(this, 1009, tr("形状保存"), tr("形状を tesk ファイル (.tsk) に保存します"),
                       du.rect(0, 93, 48, 12)),
            &QPushButton::clicked, this, &Ctesk001View::onSave);
    connect(
        makeButton(this, 1007, tr("形状読込"),
                   tr("tesk ファイル (.tsk) を開くか、スカルプトマップの画像から形状を作ります"),
                   du.rect(0, 108, 48, 12)),
        &QPushButton::clicked, this, &Ctesk001View::onLoad);

    makeCaption(this, 1066, tr("スカルプト"), du.rect(0, 132, 48, 16));
    m_picture = new BitmapFrame(this);
    m_picture->setObjectName(QStringLiteral("1001"));
    m_picture->setToolTip(tr("いまのスカルプトマップ: 赤が X、緑が Y、青が Z"));
    m_picture->setGeometry(du.rect(0, 150, 48, 52));
    connect(makeButton(this, 1008, tr("BITMAP 書出"),
                       tr("スカルプトマップを画像 (BMP、PNG または TGA) に書き出します"),
                       du.rect(0, 204, 48, 12)),
            &QPushButton::clicked, this, &Ctesk001View::onExport);

    connect(makeButton(this, 1011, tr("エフェクト"),
                       tr("画像でスカルプトマップを変えるエフェクトを管理します"),
                       du.rect(0, 217, 48, 12)),
            &QPushButton::clicked, this, &Ctesk001View::onEffects);
    makeCaption(this, 1067, tr("ビューワ"), du.rect(0, 243, 48, 16));
    // Pressed in, it keeps the companion viewer fed; the main window's link glue acts on it.
    m_linkButton = makeButton(this, 1010, tr("Viewer 連動"),
                              tr("押している間、編集する形状をビューワに送り続けます"),
                              du.rect(0, 262, 48, 12));
    m_linkButton->setCheckable(true);
    m_doc.addListener(this, ListenerRank::ControlPanel);
}

Ctesk001View::~Ctesk001View() {
    m_doc.removeListener(this);
}

bool Ctesk001View::maySetShapeAside() {
    if (!m_doc.isModified()) {
        return true;
    }
    switch (m_messages.saveDiscardCancel(kUnsavedChangesQuestion)) {
    case SaveChoice::Save:
        return onSave();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool Ctesk001View::mayReplaceShape() {
    return m_doc.isModified() ? maySetShapeAside() : m_messages.okCancel(kReplaceShapeQuestion);
}

void Ctesk001View::onNew() {
    if (mayReplaceShape()) {
        m_doc.newShape();
    }
}

bool Ctesk001View::onSave() {
    if (m_doc.mesh().lineCount() == 0) {
        // A file of no lines could never be opened again.
        m_messages.inform(kNothingToSaveMessage);
        return false;
    }
    const QString filter = fileFilter(kProjectFilter);
    const std::string proposed = m_doc.getFileName();
    QString chosen;
    const auto path = m_chooser.saveFileAs(this, filter, shownFileName(proposed), chosen);
    if (!path || path->isEmpty()) {
        return false;
    }
    return m_doc.saveProject(systemFileName(withExtension(*path, filter), proposed));
}

void Ctesk001View::onLoad() {
    if (!mayReplaceShape()) {
        return;
    }
    const std::string proposed = m_doc.getFileName();
    const auto path = m_chooser.openRecentFile(this, fileFilter(kLoadFilter),
                                               shownFileName(proposed), RecentFiles::entries());
    if (path && !path->isEmpty()) {
        loadOrImport(systemFileName(*path, proposed));
    }
}

bool Ctesk001View::loadOrImport(const std::string& path) {
    if (!isPictureName(path)) {
        return m_doc.loadProject(path);
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool imported = m_doc.importSculptMap(path);
    QGuiApplication::restoreOverrideCursor();
    return imported;
}

bool Ctesk001View::openFile(const std::string& name) {
    std::error_code error;
    const std::string path = std::filesystem::absolute(name, error).lexically_normal().string();
    if (std::filesystem::is_directory(path, error)) {
        m_messages.inform(kFolderDropMessage);
        return false;
    }
    if (!maySetShapeAside()) {
        return false;
    }
    return loadOrImport(path.empty() ? name : path);
}

void Ctesk001View::onExport() {
    if (!m_doc.hasSculptMap()) {
        // Nothing has been built yet (no New or Load): say so before any dialog.
        m_messages.inform(kNoSculptMapMessage);
        return;
    }
    const QString filter = fileFilter(kBitmapFilter);
    const std::string proposed = m_doc.getBitmapFileName();
    QString chosen;
    const auto path = m_chooser.saveFileAs(this, filter, shownFileName(proposed), chosen);
    if (!path || path->isEmpty()) {
        return;
    }
    // The chosen filter decides the format of a name typed without an extension.
    const std::string file = systemFileName(withExtension(*path, chosen), proposed);
    const ExportFlips flips = m_askExportOptions(this);
    m_doc.exportSculptMap(file, flips);
    m_doc.setBitmapFileName(file);
}

void Ctesk001View::onEffects() {
    if (m_effectDialog == nullptr) {
        const auto choose = [this](QWidget* parent, const QString& filter, const QString& folder) {
            return m_chooser.openFile(parent, filter, folder);
        };
        m_effectDialog = new EffectDialog(m_doc, choose, this);
        m_effectDialog->installEventFilter(this);
        if (m_effectDialogPlace) {
            m_effectDialog->move(*m_effectDialogPlace);
        }
    }
    m_effectDialog->show();
    m_effectDialog->raise();
    m_effectDialog->activateWindow();
}

void Ctesk001View::openManual() {
    if (auto* home = findChild<HPJumpFrame*>(QStringLiteral("1063"))) {
        home->click();
    }
}

bool Ctesk001View::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_effectDialog && event->type() == QEvent::Hide) {
        m_effectDialogPlace = m_effectDialog->pos();
    }
    return QWidget::eventFilter(watched, event);
}

EffectDialog* Ctesk001View::effectDialog() const {
    return m_effectDialog;
}

void Ctesk001View::showSculptMap() {
    const SPMesh& mesh = m_doc.mesh();
    if (m_doc.hasSculptMap()) {
        m_picture->setImage(mesh.mapWidth, mesh.mapHeight, mesh.map.data(), true);
        m_picture->update();
    }
}

} // namespace tesk
