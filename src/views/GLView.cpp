#include "GLView.h"

#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLToolDialog.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <cmath>

namespace tesk {

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
      m_interaction(doc, preview) {
    m_preview.cameras[0].kind = 1;
    // Moves without a button take the keyboard focus from other windows.
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_toolBar->setGeometry(0, 0, width(), GLToolDialog::kHeight);
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
    update();
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
    m_toolBar->setGeometry(0, 0, event->size().width(), GLToolDialog::kHeight);
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
