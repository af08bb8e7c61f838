#pragma once
// The 3-D preview: draws the scene's preview mesh and point markers through the first camera,
// with the tool bar across its top, and hands the pointer and the wheel to the preview's
// interaction logic. In its lower left corner it writes the level of detail shown and what
// viewers will make of the map.
//
// GL draws into a framebuffer object of an offscreen context; the frame is read back and
// painted like any other picture. A GL widget would make Qt compose the whole window through
// GL on every update, which costs a software renderer most of a frame; this way only the
// preview's own rectangle is drawn and shown, and the tool bar and the corner note stay
// ordinary child widgets over the picture.

#include "DocumentListener.h"
#include "DocumentPreview.h"
#include "EffectDialog.h"
#include "GLPreviewPasses.h"
#include "PreviewInteraction.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QTimer;

namespace tesk {

class Ctesk001Doc;
class GLToolDialog;
class Messages;

class GLView : public QWidget, public DocumentListener {
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
    /// Lays the checker or the chosen picture on the shape, or takes it off (None); the
    /// texture button and key T switch between None and the last texture shown.
    void showTexture(PreviewTextureKind kind);
    /// Where the texture menu's "画像…" asks for a picture and tells why one cannot be read;
    /// without it the entry does nothing.
    void setPictureChooser(EffectDialog::PictureChooser chooser, Messages& messages);
    /// Asks for a picture and shows it on the shape; false when cancelled or unreadable.
    bool choosePicture();
    const PreviewInteraction& interaction() const { return m_interaction; }

    /// Draws the pick pass into the preview's framebuffer and reads it back for the next
    /// press. The shown picture is a copy of the last visible frame, so nothing repaints.
    void readPickImage();

    /// Makes the preview's GL context current with its framebuffer, of the view's size in
    /// device pixels, bound; false when there is no GL or the view is empty.
    bool makeCurrent();
    void doneCurrent();
    /// False once a GL context could not be made: the preview then shows its background.
    bool isValid() const { return !m_noGL; }
    /// The preview's own picture, without the tool bar and the note: the last frame, drawn
    /// first when something changed since.
    QImage grabFramebuffer();

    void shapeRebuilt() override;
    void markersChanged() override;

signals:
    /// A new frame was drawn and is being painted.
    void frameDrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
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
    /// Asks for a new frame at the next paint.
    void redraw();
    void drawFrame();

    Ctesk001Doc& m_doc;
    DocumentPreview& m_preview;
    GLToolDialog* m_toolBar;
    PreviewSettings m_settings;
    PreviewInteraction m_interaction;
    PreviewTextureKind m_lastTexture = PreviewTextureKind::Checker;
    EffectDialog::PictureChooser m_choosePicture;
    Messages* m_messages = nullptr;

    void refreshLodNote();
    void placeLodNote();
    QLabel* m_lodNote;
    /// The map checks wait until the shape rests, so that dragging a slider stays smooth.
    QTimer* m_checkDelay;

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_framebuffer;
    bool m_noGL = false;
    /// The last visible frame, top row first, and whether the scene has changed since.
    QImage m_frame;
    bool m_stale = true;
};

} // namespace tesk
