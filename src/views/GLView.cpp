#include "GLView.h"

#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
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

GLView::GLView(Ctesk001Doc& doc, DocumentPreview& preview, QWidget* parent)
    : QOpenGLWidget(parent), m_doc(doc), m_preview(preview), m_toolBar(new GLToolDialog(this)) {
    m_preview.cameras[0].kind = 1;
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

void GLView::paintGL() {
    const qreal ratio = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * ratio));
    const int h = static_cast<int>(std::lround(height() * ratio));
    if (w > 0 && h > 0) {
        drawVisiblePass(m_preview.scene(), m_preview.cameras[0], w, h, m_settings);
    }
}

void GLView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    m_toolBar->setGeometry(0, 0, event->size().width(), GLToolDialog::kHeight);
}

} // namespace tesk
