#pragma once
// The 3-D preview: draws the scene's preview mesh and point markers through the first camera,
// with the tool bar across its top, and hands the pointer and the wheel to the preview's
// interaction logic. In its lower left corner it writes the level of detail shown and what
// viewers will make of the map.

#include "DocumentListener.h"
#include "GLPreviewPasses.h"
#include "PreviewInteraction.h"

#include <QOpenGLWidget>

class QLabel;
class QTimer;

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
    /// The corner text: the level shown unless it is the full map, and the map's problems.
    QLabel* lodNote() const { return m_lodNote; }
    /// Shows a level of detail (an index into kLodLevels), as keys 0-4 and the chooser do.
    void showLodLevel(int level);
    const PreviewSettings& settings() const { return m_settings; }
    const PreviewInteraction& interaction() const { return m_interaction; }

    /// Draws the pick pass into the widget's framebuffer, reads it back for the next press
    /// and schedules a paint that puts the picture back before anything shows it.
    void readPickImage();

    void shapeRebuilt() override;
    void markersChanged() override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Client size and positions in device pixels, as the framebuffer has them.
    QSize pixelSize() const;
    QPoint pixelAt(QPointF position) const;

    Ctesk001Doc& m_doc;
    DocumentPreview& m_preview;
    GLToolDialog* m_toolBar;
    PreviewSettings m_settings;
    PreviewInteraction m_interaction;

    void refreshLodNote();
    void placeLodNote();
    QLabel* m_lodNote;
    /// The map checks wait until the shape rests, so that dragging a slider stays smooth.
    QTimer* m_checkDelay;
};

} // namespace tesk
