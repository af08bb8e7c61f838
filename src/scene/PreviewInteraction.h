#pragma once
// What the 3-D preview does with the pointer and the wheel: a press on the background turns
// the camera, on the mesh draws a lasso, on a marker toggles that point; the wheel zooms and
// the right button clears the selection. Positions are client pixels, y downward. The view
// reads a fresh pick image into pickImage() before every press; everything else here needs
// neither GL nor a window.

#include "Lasso.h"
#include "PickImage.h"

namespace tesk {

class Ctesk001Doc;
class DocumentPreview;
struct GLCamera;

class PreviewInteraction {
public:
    enum class Gesture { None, CameraDrag, Lasso };

    /// Works on the preview's first camera and the scene behind `preview`.
    PreviewInteraction(Ctesk001Doc& doc, DocumentPreview& preview);

    /// The client size in pixels, which scales the camera's turn.
    void setViewSize(int width, int height);
    /// Where the view puts the pick image the next press reads.
    PickImage& pickImage() { return m_pickImage; }
    /// True while no gesture runs: a press then needs a fresh pick image.
    bool wantsPickImage() const { return m_gesture == Gesture::None; }

    // Each returns true when the view should repaint; document changes reach the views
    // through the document.
    bool press(int x, int y);
    bool move(int x, int y);
    bool release(int x, int y);
    bool wheel(int delta);
    /// Deselects every point; other flags stay.
    void clearSelection();
    /// Forgets what lay under the pointer.
    void forgetPick();

    Gesture gesture() const { return m_gesture; }
    int pickId() const { return m_pickId; }
    int pickElement() const { return m_pickElement; }
    const Lasso& lasso() const { return m_lasso; }

private:
    GLCamera& camera();
    void applyLasso();

    Ctesk001Doc& m_doc;
    DocumentPreview& m_preview;
    int m_width = 0;
    int m_height = 0;
    Gesture m_gesture = Gesture::None;
    LassoPoint m_down;
    int m_pickId = -1;
    int m_pickElement = -1;
    PickImage m_pickImage;
    /// The pick image as the lasso started: what it catches.
    PickImage m_idBuffer;
    Lasso m_lasso;
};

} // namespace tesk
