#pragma once
// The 3-D preview: draws the scene's preview mesh and point markers through the first camera,
// with the tool bar across its top.

#include "DocumentListener.h"
#include "GLPreviewPasses.h"

#include <QOpenGLWidget>

namespace tesk {

class Ctesk001Doc;
class DocumentPreview;
class GLToolDialog;

class GLView : public QOpenGLWidget, public DocumentListener {
    Q_OBJECT
public:
    /// Sets the default surface format the preview needs; call before the QApplication
    /// exists. Fixed-function drawing needs a compatibility context, and multisampling
    /// would blur the pick colours.
    static void setDefaultSurfaceFormat();

    GLView(Ctesk001Doc& doc, DocumentPreview& preview, QWidget* parent = nullptr);
    ~GLView() override;

    GLToolDialog* toolBar() const { return m_toolBar; }
    const PreviewSettings& settings() const { return m_settings; }

    void shapeRebuilt() override;
    void markersChanged() override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Ctesk001Doc& m_doc;
    DocumentPreview& m_preview;
    GLToolDialog* m_toolBar;
    PreviewSettings m_settings;
};

} // namespace tesk
