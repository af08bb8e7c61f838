#pragma once
// The 3-D preview: draws the scene's preview mesh and point markers through the first camera,
// with the tool bar across its top.

#include "GLPreviewPasses.h"

#include <QOpenGLWidget>

namespace tesk {

class GLScene;
struct GLCamera;
class GLToolDialog;

class GLView : public QOpenGLWidget {
    Q_OBJECT
public:
    /// Sets the default surface format the preview needs; call before the QApplication
    /// exists. Fixed-function drawing needs a compatibility context, and multisampling
    /// would blur the pick colours.
    static void setDefaultSurfaceFormat();

    GLView(GLScene& scene, GLCamera& camera, QWidget* parent = nullptr);

    GLToolDialog* toolBar() const { return m_toolBar; }
    const PreviewSettings& settings() const { return m_settings; }

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    GLScene& m_scene;
    GLCamera& m_camera;
    GLToolDialog* m_toolBar;
    PreviewSettings m_settings;
};

} // namespace tesk
