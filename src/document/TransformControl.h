#pragma once
// What the transform panel and its edit bar do, without the widgets: the slider rules, the
// three stages, and the confirm, reset, point-slide, undo and redo commands. The panel passes
// slider changes in and shows the positions this keeps.

#include "Ctesk001Doc.h"
#include "TransformSliders.h"
#include "TransformStage.h"

#include <array>
#include <functional>
#include <vector>

namespace tesk {

/// How a slider change arrives from the panel.
enum class SliderPhase {
    Track,  ///< the thumb is being dragged
    Release ///< a drag ended, or a key, page or wheel step was taken
};

class TransformControl {
public:
    /// `positionsMoved` is called whenever the control moves sliders itself (a rotate
    /// springing back, confirm, reset), before the document hears of the change.
    explicit TransformControl(Ctesk001Doc& doc, std::function<void()> positionsMoved = {});

    /// A slider took `value` (clamped to its range). Move and scale sliders set their
    /// parameters and apply either way. A rotate slider shows the turn by `value` degrees
    /// from the saved rotation while tracking; on release it keeps that turn as the new saved
    /// rotation and springs back to 0, so each drag turns further from where the last ended.
    void sliderChanged(TransformSlider slider, int value, SliderPhase phase);

    int position(TransformSlider slider) const { return m_positions[slider]; }
    const std::array<int, SLIDER_COUNT>& positions() const { return m_positions; }

    /// Commits the working points and records an undo step; stages and sliders start afresh.
    void confirm();
    /// Drops the working points; stages and sliders start afresh.
    void reset();
    /// Turns every line's point order by one place: +1 is "<", -1 is ">". The working points
    /// are dropped, so stages and sliders start afresh as after a reset.
    void slide(int step);
    /// Steps through the confirmed states of the file; the stages and sliders stay.
    void undo();
    void redo();

    /// The matrix the selected points are transformed by: scale x rotate x move.
    Matrix4 combined() const;
    Quaternion savedRotation() const { return m_savedRotation; }

private:
    void setMove(TransformSlider slider, int value);
    void setScale();
    void setRotate(TransformSlider slider, int value, SliderPhase phase);
    /// Writes the transformed committed points of the selected cells as their working
    /// points; with no cell selected writes nothing and rebuilds nothing.
    void apply();
    void resetStages();
    void positionsMoved();

    Ctesk001Doc& m_doc;
    TransformStage m_move{TransformKind::Move};
    TransformStage m_scale{TransformKind::Scale};
    TransformStage m_rotate{TransformKind::Rotate};
    Quaternion m_savedRotation = kIdentityRotation;
    std::array<int, SLIDER_COUNT> m_positions{};
    std::function<void()> m_positionsMoved;
    std::vector<CellPoint> m_points;
};

} // namespace tesk
