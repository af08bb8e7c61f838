#include "GLView.h"
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "FileNames.h"
#include "GLToolDialog.h"
#include "LodGrid.h"
#include "PreviewNotes.h"
#include "PrimSizeNote.h"
#include "SculptMapCheck.h"

#include <GL/gl.h>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tesk {

namespace {
constexpr int kCheckDelayMs = 150;
constexpr int kNoteMargin = 6;
/// What shows where GL cannot draw: the visible pass's clear colour.
constexpr QColor kBackground(64, 64, 64);
} // namespace

void GLView::setDefaultSurfaceFormat() {
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSamples(0);
    QSurfaceFormat::setDefaultFormat(format);
}

GLView::GLView(Ctesk001Doc& doc, DocumentPreview& preview, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_preview(preview), m_toolBar(new GLToolDialog(this)),
      m_interaction(doc, preview), m_lodNote(new QLabel(this)), m_checkDelay(new QTimer(this)) {
    m_preview.cameras[0].kind = 1;
    // Every paint covers the whole rectangle with the frame or the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button take the keyboard focus from other windows.
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_lodNote->setObjectName(QStringLiteral("lodNote"));
    m_lodNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lodNote->setStyleSheet(
        QStringLiteral("color: rgb(255, 255, 255); background: rgba(0, 0, 0, 140);"));
    m_lodNote->setContentsMargins(4, 2, 4, 2);
    m_lodNote->setWordWrap(true);
    m_lodNote->hide();
    new PrimSizeNote(doc, this);
    m_lodNote->raise(); // a long warning stays readable over the size
    m_checkDelay->setSingleShot(true);
    m_checkDelay->setInterval(kCheckDelayMs);
    connect(m_checkDelay, &QTimer::timeout, this, &GLView::refreshLodNote);
    m_toolBar->showLodLevel(m_preview.lodLevel());
    connect(m_toolBar, &GLToolDialog::lodLevelChosen, this, &GLView::showLodLevel);
    setMinimumWidth(m_toolBar->minimumWidth());
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->heightForWidth(width()));
    connect(m_toolBar, &GLToolDialog::drawModeChosen, this, [this](int mode) {
        m_settings.drawMode = mode;
        redraw();
    });
    connect(m_toolBar, &GLToolDialog::markersThroughChanged, this, [this](bool through) {
        m_settings.markersHiddenByMesh = !through;
        redraw();
    });
    connect(m_toolBar, &GLToolDialog::cameraResetRequested, this, [this] {
        m_preview.cameras[0].reset();
        redraw();
    });
    connect(m_toolBar, &GLToolDialog::textureToggled, this,
            [this](bool shown) { showTexture(shown ? m_lastTexture : PreviewTextureKind::None); });
    connect(m_toolBar, &GLToolDialog::checkerChosen, this,
            [this] { showTexture(PreviewTextureKind::Checker); });
    connect(m_toolBar, &GLToolDialog::pictureRequested, this, [this] { choosePicture(); });
    connect(m_toolBar, &GLToolDialog::typeChosen, this,
            [this](int32_t type) { m_doc.setType(type); });
    m_doc.addListener(this, ListenerRank::Preview);
}

GLView::~GLView() {
    m_doc.removeListener(this);
    // The framebuffer belongs to the context and goes while it is current.
    if (m_framebuffer && m_context->makeCurrent(m_surface.get())) {
        m_framebuffer.reset();
        m_context->doneCurrent();
    }
}

void GLView::redraw() {
    m_stale = true;
    // The tool bar paints all of its rectangle, so the frame under it never shows: leaving it
    // out keeps a new frame from repainting every button.
    QRegion shown(rect());
    if (m_toolBar->isVisible()) {
        shown -= m_toolBar->geometry();
    }
    update(shown);
}

void GLView::shapeRebuilt() {
    m_toolBar->showType(m_doc.mesh().SPDimType);
    m_checkDelay->start();
    redraw();
}

void GLView::showLodLevel(int level) {
    m_preview.setLodLevel(level);
    m_toolBar->showLodLevel(m_preview.lodLevel());
    refreshLodNote();
    redraw();
}

void GLView::showTexture(PreviewTextureKind kind) {
    m_preview.showTexture(kind);
    if (m_preview.texture() != PreviewTextureKind::None) {
        m_lastTexture = m_preview.texture();
    }
    m_toolBar->textureButton()->setChecked(m_preview.texture() != PreviewTextureKind::None);
    redraw();
}

void GLView::setPictureChooser(EffectDialog::PictureChooser chooser, Messages& messages) {
    m_choosePicture = std::move(chooser);
    m_messages = &messages;
}

bool GLView::choosePicture() {
    if (!m_choosePicture || m_messages == nullptr) {
        return false;
    }
    // Paths go byte for byte as the system spells them, as the effects' picture choice has it.
    const std::string last = m_preview.picturePath();
    const std::string folder = last.substr(0, last.find_last_of('/') + 1);
    const std::optional<QString> path =
        m_choosePicture(this, fileFilter(kEffectPictureFilter), shownFileName(folder));
    const bool shown = path && !path->isEmpty() &&
                       m_preview.choosePicture(systemFileName(*path, folder), *m_messages);
    showTexture(shown ? PreviewTextureKind::Picture : m_preview.texture());
    return shown;
}

void GLView::keyPressEvent(QKeyEvent* event) {
    const int level = event->key() - Qt::Key_0;
    const Qt::KeyboardModifiers others = event->modifiers() & ~Qt::KeypadModifier;
    if (others == Qt::NoModifier && event->key() == Qt::Key_T) {
        showTexture(m_preview.texture() == PreviewTextureKind::None ? m_lastTexture
                                                                    : PreviewTextureKind::None);
        return;
    }
    if (others == Qt::NoModifier && level >= 0 && level < static_cast<int>(kLodLevels.size())) {
        showLodLevel(level);
        return;
    }
    QWidget::keyPressEvent(event);
}

void GLView::refreshLodNote() {
    QStringList lines;
    const int faces = kLodLevels[static_cast<size_t>(m_preview.lodLevel())].faces;
    if (faces != 0) {
        lines << lodLevelNote(faces);
    }
    if (const auto& fit = m_doc.lastImport()) {
        lines << importNote(*fit);
    }
    for (const CheckFinding& finding : m_preview.mapCheck().findings) {
        if (finding.severity != CheckSeverity::Ok) {
            lines << findingNote(finding);
        }
    }
    m_lodNote->setText(lines.join(QLatin1Char('\n')));
    m_lodNote->setVisible(!lines.isEmpty());
    placeLodNote();
}

// As wide as its longest line, wrapped where the preview is narrower.
void GLView::placeLodNote() {
    if (m_lodNote->text().isEmpty()) {
        return;
    }
    const QFontMetrics metrics(m_lodNote->font());
    int longest = 0;
    for (const QString& line : m_lodNote->text().split(QLatin1Char('\n'))) {
        longest = std::max(longest, metrics.horizontalAdvance(line));
    }
    const QMargins margins = m_lodNote->contentsMargins();
    const int room = std::max(1, width() - 2 * kNoteMargin);
    m_lodNote->setFixedWidth(std::min(longest + margins.left() + margins.right() + 1, room));
    // A label's height for a width is bounded by its own limits: lift the last note's fixed
    // height first, or a shorter note keeps the height of the longest one so far.
    m_lodNote->setMinimumHeight(0);
    m_lodNote->setMaximumHeight(QWIDGETSIZE_MAX);
    m_lodNote->setFixedHeight(m_lodNote->heightForWidth(m_lodNote->width()));
    m_lodNote->move(kNoteMargin, height() - m_lodNote->height() - kNoteMargin);
}

void GLView::markersChanged() {
    redraw();
}

QSize GLView::pixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::lround(width() * ratio)),
            static_cast<int>(std::lround(height() * ratio))};
}

QPoint GLView::pixelAt(QPointF position) const {
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::floor(position.x() * ratio)),
            static_cast<int>(std::floor(position.y() * ratio))};
}

bool GLView::makeCurrent() {
    const QSize size = pixelSize();
    if (m_noGL || size.isEmpty()) {
        return false;
    }
    if (!m_context) {
        m_context = std::make_unique<QOpenGLContext>();
        m_context->setFormat(QSurfaceFormat::defaultFormat());
        m_surface = std::make_unique<QOffscreenSurface>(screen());
        m_surface->setFormat(QSurfaceFormat::defaultFormat());
        m_surface->create();
        m_noGL = !m_context->create() || !m_surface->isValid();
    }
    if (m_noGL || !m_context->makeCurrent(m_surface.get())) {
        return false;
    }
    if (!m_framebuffer || m_framebuffer->size() != size) {
        m_framebuffer.reset();
        m_framebuffer =
            std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    }
    if (!m_framebuffer->isValid() || !m_framebuffer->bind()) {
        m_context->doneCurrent();
        return false;
    }
    return true;
}

void GLView::doneCurrent() {
    if (m_context) {
        m_context->doneCurrent();
    }
}

void GLView::drawFrame() {
    m_stale = false;
    if (!makeCurrent()) {
        m_frame = QImage();
        return;
    }
    const QSize size = pixelSize();
    drawVisiblePass(m_preview.scene(), m_preview.cameras[0], size.width(), size.height(),
                    m_settings);
    drawLasso(m_interaction.lasso(), size.width(), size.height());
    if (m_frame.size() != size) {
        m_frame = QImage(size, QImage::Format_RGB32);
    }
    // Words of 0xAARRGGBB, the layout of Format_RGB32; the visible pass leaves alpha opaque.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 m_frame.bits());
    doneCurrent();
    m_frame.mirror(); // GL counts rows from the bottom
    m_frame.setDevicePixelRatio(devicePixelRatioF());
}

QImage GLView::grabFramebuffer() {
    if (m_stale) {
        drawFrame();
    }
    return m_frame;
}

void GLView::paintEvent(QPaintEvent* event) {
    const bool drawn = m_stale;
    if (m_stale) {
        drawFrame();
    }
    QPainter painter(this);
    if (m_frame.isNull()) {
        painter.fillRect(event->rect(), kBackground);
    } else {
        painter.drawImage(QPoint(0, 0), m_frame);
    }
    if (drawn) {
        emit frameDrawn();
    }
}

void GLView::readPickImage() {
    PickImage& image = m_interaction.pickImage();
    if (!makeCurrent()) {
        image.clear();
        return;
    }
    const QSize size = pixelSize();
    renderPickImage(m_preview.scene(), m_preview.cameras[0], size.width(), size.height(),
                    m_settings, image);
    doneCurrent();
}

void GLView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_stale = true;
    m_toolBar->setGeometry(0, 0, event->size().width(),
                           m_toolBar->heightForWidth(event->size().width()));
    placeLodNote();
    const QSize size = pixelSize();
    m_interaction.setViewSize(size.width(), size.height());
}

void GLView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_interaction.wantsPickImage()) {
        readPickImage();
    }
    const QPoint p = pixelAt(event->position());
    if (m_interaction.press(p.x(), p.y())) {
        redraw();
    }
}

void GLView::mouseMoveEvent(QMouseEvent* event) {
    if (window()->focusWidget() != this) {
        setFocus(Qt::MouseFocusReason);
        m_interaction.forgetPick();
        redraw();
        return;
    }
    const QPoint p = pixelAt(event->position());
    if (m_interaction.move(p.x(), p.y())) {
        redraw();
    }
}

void GLView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = pixelAt(event->position());
    if (event->button() == Qt::LeftButton) {
        if (m_interaction.release(p.x(), p.y())) {
            redraw();
        }
    } else if (event->button() == Qt::RightButton) {
        m_interaction.clearSelection();
    }
}

void GLView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0 && m_interaction.wheel(delta)) {
        redraw();
    }
    event->accept();
}

} // namespace tesk
