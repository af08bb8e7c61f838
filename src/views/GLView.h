#pragma once
// The 3-D preview: draws the scene's preview mesh and point markers through the first camera,
// with the tool bar across its top and, in its lower left corner, the level of detail shown and
// what viewers will make of the map.

#include "DocumentListener.h"
#include "GLPreviewPasses.h"

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

    void shapeRebuilt() override;
    void markersChanged() override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Ctesk001Doc& m_doc;
    DocumentPreview& m_preview;
    GLToolDialog* m_toolBar;
    PreviewSettings m_settings;

    void refreshLodNote();
    void placeLodNote();
    QLabel* m_lodNote;
    /// The map checks wait until the shape rests, so that dragging a slider stays smooth.
    QTimer* m_checkDelay;
};

} // namespace tesk
