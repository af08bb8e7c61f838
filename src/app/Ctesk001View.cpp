#include "Ctesk001View.h"

#include "BitmapFrame.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "EffectDialog.h"
#include "FileChooser.h"
#include "FileNames.h"
#include "HPJumpFrame.h"
#include "Messages.h"
#include "SculptedImageSaveOptionDialog.h"
#include "StaticFrame.h"
#include "TeskResources.h"
#include "UiFonts.h"

#include <QImage>
#include <QPushButton>

namespace tesk {

namespace {
constexpr int kPanelWidthUnits = 48;
constexpr int kPanelHeightUnits = 275;

QPushButton* makeButton(QWidget* parent, int id, const char* text, const QRect& rect) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    button->setGeometry(rect);
    return button;
}

void makeCaption(QWidget* parent, int id, const char* text, const QRect& rect) {
    auto* caption = new StaticFrame(QString::fromUtf8(text), parent);
    caption->setObjectName(QString::number(id));
    caption->setGeometry(rect);
}

void makeLinkButton(QWidget* parent, int id, const char* picture, const char* address,
                    const char* text, const QRect& rect) {
    auto* link = new HPJumpFrame(parent);
    link->setObjectName(QString::number(id));
    link->setText(QString::fromUtf8(text));
    link->setGeometry(rect);
    link->setPicture(QString::fromUtf8(address), QImage(QString::fromUtf8(picture)));
}
} // namespace

Ctesk001View::Ctesk001View(Ctesk001Doc& doc, Messages& messages, FileChooser& chooser,
                           QWidget* parent)
    : QWidget(parent), m_doc(doc), m_messages(messages), m_chooser(chooser),
      m_askExportOptions(&SculptedImageSaveOptionDialog::ask) {
    setFont(pointFont("MS UI Gothic", 90));
    const DialogUnits du(font());
    setMinimumSize(du.size(kPanelWidthUnits, kPanelHeightUnits));

    makeLinkButton(this, 1063, resources::kHomePageButton, resources::kHomePageAddress, "Home Page",
                   du.rect(0, 0, 48, 24));
    makeLinkButton(this, 1064, resources::kBlogButton, resources::kBlogAddress, "Blog",
                   du.rect(0, 24, 48, 24));

    makeCaption(this, 1065, "プロジェクト", du.rect(0, 60, 48, 16));
    connect(makeButton(this, 1006, "新規", du.rect(0, 78, 48, 12)), &QPushButton::clicked, this,
            &Ctesk001View::onNew);
    connect(makeButton(this, 1009, "形状保存", du.rect(0, 93, 48, 12)), &QPushButton::clicked, this,
            &Ctesk001View::onSave);
    connect(makeButton(this, 1007, "形状読込", du.rect(0, 108, 48, 12)), &QPushButton::clicked,
            this, &Ctesk001View::onLoad);

    makeCaption(this, 1066, "スカルプト", du.rect(0, 132, 48, 16));
    m_picture = new BitmapFrame(this);
    m_picture->setObjectName(QStringLiteral("1001"));
    m_picture->setGeometry(du.rect(0, 150, 48, 52));
    connect(makeButton(this, 1008, "BITMAP 書出", du.rect(0, 204, 48, 12)), &QPushButton::clicked,
            this, &Ctesk001View::onExport);

    connect(makeButton(this, 1011, "エフェクト", du.rect(0, 217, 48, 12)), &QPushButton::clicked,
            this, &Ctesk001View::onEffects);
    makeCaption(this, 1067, "ビューワ", du.rect(0, 243, 48, 16));
    // Pressed in, it keeps the companion viewer fed; the main window's link glue acts on it.
    m_linkButton = makeButton(this, 1010, "Viewer 連動", du.rect(0, 262, 48, 12));
    m_linkButton->setCheckable(true);
    m_doc.addListener(this, ListenerRank::ControlPanel);
}

Ctesk001View::~Ctesk001View() {
    m_doc.removeListener(this);
}

void Ctesk001View::onNew() {
    if (!m_messages.okCancel(kReplaceShapeQuestion)) {
        return;
    }
    m_doc.newShape();
}

void Ctesk001View::onSave() {
    const std::string proposed = m_doc.getFileName();
    const auto path =
        m_chooser.saveFile(this, QString::fromUtf8(kProjectFilter), shownFileName(proposed));
    if (path && !path->isEmpty()) {
        m_doc.saveProject(systemFileName(*path, proposed));
    }
}

void Ctesk001View::onLoad() {
    if (!m_messages.okCancel(kReplaceShapeQuestion)) {
        return;
    }
    const std::string proposed = m_doc.getFileName();
    const auto path =
        m_chooser.openFile(this, QString::fromUtf8(kProjectFilter), shownFileName(proposed));
    if (path && !path->isEmpty()) {
        m_doc.loadProject(systemFileName(*path, proposed));
    }
}

bool Ctesk001View::openFile(const std::string& path) {
    if (m_doc.mesh().lineCount() > 0 && !m_messages.okCancel(kReplaceShapeQuestion)) {
        return false;
    }
    return m_doc.loadProject(path);
}

void Ctesk001View::onExport() {
    const std::string proposed = m_doc.getBitmapFileName();
    const auto path =
        m_chooser.saveFile(this, QString::fromUtf8(kBitmapFilter), shownFileName(proposed));
    if (!path || path->isEmpty()) {
        return;
    }
    if (!m_doc.hasSculptMap()) {
        // Nothing has been built yet (no New or Load): say so rather than do nothing.
        m_messages.inform(kNoSculptMapMessage);
        return;
    }
    const ExportFlips flips = m_askExportOptions(this);
    const std::string file = systemFileName(*path, proposed);
    m_doc.exportSculptMap(file, flips);
    m_doc.setBitmapFileName(file);
}

void Ctesk001View::onEffects() {
    if (m_effectDialog == nullptr) {
        const auto choose = [this](QWidget* parent, const QString& filter, const QString& folder) {
            return m_chooser.openFile(parent, filter, folder);
        };
        m_effectDialog = new EffectDialog(m_doc, choose, this);
    }
    m_effectDialog->show();
    m_effectDialog->raise();
    m_effectDialog->activateWindow();
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
