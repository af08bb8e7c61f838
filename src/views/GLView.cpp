#include "GLView.h"

#include "GLCamera.h"
#include "GLToolDialog.h"

#include <QResizeEvent>
#include <QSurfaceFormat>
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

GLView::GLView(GLScene& scene, GLCamera& camera, QWidget* parent)
    : QOpenGLWidget(parent), m_scene(scene), m_camera(camera), m_toolBar(new GLToolDialog(this)) {
    m_camera.kind = 1;
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
        m_camera.reset();
        update();
    });
}

void GLView::initializeGL() {}

void GLView::paintGL() {
    const qreal ratio = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * ratio));
    const int h = static_cast<int>(std::lround(height() * ratio));
    if (w > 0 && h > 0) {
        drawVisiblePass(m_scene, m_camera, w, h, m_settings);
    }
}

void GLView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    m_toolBar->setGeometry(0, 0, event->size().width(), GLToolDialog::kHeight);
}

} // namespace tesk
