#include "GLView.h"
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLToolDialog.h"
#include "LodGrid.h"
#include "PrimSizeNote.h"
#include "SculptMapCheck.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace tesk {

namespace {
constexpr int kCheckDelayMs = 150;
constexpr int kNoteMargin = 6;

const char* severityLabel(CheckSeverity severity) {
    return severity == CheckSeverity::Error ? "error" : "warning";
}
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
    : QOpenGLWidget(parent), m_doc(doc), m_preview(preview), m_toolBar(new GLToolDialog(this)),
      m_interaction(doc, preview), m_lodNote(new QLabel(this)), m_checkDelay(new QTimer(this)) {
    m_preview.cameras[0].kind = 1;
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
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->heightForWidth(width()));
    connect(m_toolBar, &GLToolDialog::drawModeChosen, this, [this](int mode) {
        m_settings.drawMode = mode;
        update();
    });
    connect(m_toolBar, &GLToolDialog::markersThroughChanged, this, [this](bool through) {
        m_settings.markersHiddenByMesh = !through;
        update();
    });
    connect(m_toolBar, &GLToolDialog::cameraResetRequested, this, [this] {
        m_preview.cameras[0].reset();
        update();
    });
    connect(m_toolBar, &GLToolDialog::typeChosen, this,
            [this](int32_t type) { m_doc.setType(type); });
    m_doc.addListener(this, ListenerRank::Preview);
}

GLView::~GLView() {
    m_doc.removeListener(this);
}

void GLView::shapeRebuilt() {
    m_toolBar->showType(m_doc.mesh().SPDimType);
    m_checkDelay->start();
    update();
}

void GLView::showLodLevel(int level) {
    m_preview.setLodLevel(level);
    m_toolBar->showLodLevel(m_preview.lodLevel());
    refreshLodNote();
    update();
}

void GLView::keyPressEvent(QKeyEvent* event) {
    const int level = event->key() - Qt::Key_0;
    const Qt::KeyboardModifiers others = event->modifiers() & ~Qt::KeypadModifier;
    if (others == Qt::NoModifier && level >= 0 && level < static_cast<int>(kLodLevels.size())) {
        showLodLevel(level);
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}

void GLView::refreshLodNote() {
    QStringList lines;
    const int faces = kLodLevels[static_cast<size_t>(m_preview.lodLevel())].faces;
    if (faces != 0) {
        lines << QStringLiteral("%1 faces, as viewers build it").arg(faces);
    }
    for (const CheckFinding& finding : m_preview.mapCheck().findings) {
        if (finding.severity != CheckSeverity::Ok) {
            lines << QString::fromUtf8(severityLabel(finding.severity)) + QStringLiteral(" - ") +
                         QString::fromLatin1(finding.name) + QStringLiteral(": ") +
                         QString::fromUtf8(finding.text.c_str());
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
    update();
}

void GLView::initializeGL() {}

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

void GLView::paintGL() {
    const QSize size = pixelSize();
    drawVisiblePass(m_preview.scene(), m_preview.cameras[0], size.width(), size.height(),
                    m_settings);
    drawLasso(m_interaction.lasso(), size.width(), size.height());
}

void GLView::readPickImage() {
    PickImage& image = m_interaction.pickImage();
    const QSize size = pixelSize();
    if (!isValid() || size.isEmpty()) {
        image.clear();
        return;
    }
    makeCurrent();
    renderPickImage(m_preview.scene(), m_preview.cameras[0], size.width(), size.height(),
                    m_settings, image);
    doneCurrent();
    update();
}

void GLView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
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
        update();
    }
}

void GLView::mouseMoveEvent(QMouseEvent* event) {
    if (window()->focusWidget() != this) {
        setFocus(Qt::MouseFocusReason);
        m_interaction.forgetPick();
        update();
        return;
    }
    const QPoint p = pixelAt(event->position());
    if (m_interaction.move(p.x(), p.y())) {
        update();
    }
}

void GLView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = pixelAt(event->position());
    if (event->button() == Qt::LeftButton) {
        if (m_interaction.release(p.x(), p.y())) {
            update();
        }
    } else if (event->button() == Qt::RightButton) {
        m_interaction.clearSelection();
    }
}

void GLView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0 && m_interaction.wheel(delta)) {
        update();
    }
    event->accept();
}

} // namespace tesk
