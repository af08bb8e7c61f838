#include "TransformControl.h"

#include <algorithm>

namespace tesk {

namespace {
float& parameter(TransformStage& stage, int axis) {
    return axis == 0 ? stage.x : axis == 1 ? stage.y : stage.z;
}
} // namespace

TransformControl::TransformControl(Ctesk001Doc& doc, std::function<void()> positionsMoved)
    : m_doc(doc), m_positionsMoved(std::move(positionsMoved)) {}

void TransformControl::positionsMoved() {
    if (m_positionsMoved) {
        m_positionsMoved();
    }
}

void TransformControl::sliderChanged(TransformSlider slider, int value, SliderPhase phase) {
    if (slider >= SLIDER_COUNT) {
        return;
    }
    const TransformSliderInfo& info = kTransformSliders[slider];
    m_positions[slider] = std::clamp(value, info.minimum, info.maximum);
    switch (info.kind) {
    case TransformKind::Move:
        setMove(slider, m_positions[slider]);
        break;
    case TransformKind::Scale:
        setScale();
        break;
    case TransformKind::Rotate:
        setRotate(slider, m_positions[slider], phase);
        break;
    }
}

void TransformControl::setMove(TransformSlider slider, int value) {
    const TransformSliderInfo& info = kTransformSliders[slider];
    parameter(m_move, info.axis) = static_cast<float>(value) * info.factor;
    m_move.build(m_doc.pivot());
    apply();
}

void TransformControl::setScale() {
    const TransformSliderInfo& all = kTransformSliders[SLIDER_SCALE_ALL];
    const float common = static_cast<float>(m_positions[SLIDER_SCALE_ALL]) * all.factor;
    const auto factor = [this, common](TransformSlider s) {
        return (static_cast<float>(m_positions[s]) * kTransformSliders[s].factor + 1.0f) + common;
    };
    m_scale.x = factor(SLIDER_SCALE_X);
    m_scale.y = factor(SLIDER_SCALE_Y);
    m_scale.z = factor(SLIDER_SCALE_Z);
    m_scale.build(m_doc.pivot());
    apply();
}

void TransformControl::setRotate(TransformSlider slider, int value, SliderPhase phase) {
    const TransformSliderInfo& info = kTransformSliders[slider];
    // Every change turns from where the last release left off; tracking keeps nothing.
    m_rotate.rotation = m_savedRotation;
    m_rotate.x = m_rotate.y = m_rotate.z = 0.0f;
    parameter(m_rotate, info.axis) = static_cast<float>(value) * info.factor;
    m_rotate.build(m_doc.pivot());
    apply();
    if (phase == SliderPhase::Release) {
        m_savedRotation = m_rotate.rotation;
        m_positions[slider] = 0;
        positionsMoved();
    }
}

Matrix4 TransformControl::combined() const {
    return m_scale.matrix * m_rotate.matrix * m_move.matrix;
}

void TransformControl::apply() {
    const Matrix4 m = combined();
    const std::span<const uint32_t> cells = m_doc.handles();
    m_points.clear();
    for (uint32_t k = 0; k < cells.size(); ++k) {
        Point3 committed;
        if ((cells[k] & CELL_SELECTED) != 0 && m_doc.cellPoint(k, committed)) {
            const Point3 moved = m.transform(committed);
            // A step that overflows a coordinate is refused whole, so the shape never holds
            // a non-finite point and keeps the last step that could be taken.
            if (!isFinite(moved)) {
                return;
            }
            m_points.push_back({k, moved});
        }
    }
    if (!m_points.empty()) {
        m_doc.setWorkPoints(m_points);
    }
}

void TransformControl::resetStages() {
    m_move.reset();
    m_scale.reset();
    m_rotate.reset();
    m_savedRotation = m_rotate.rotation;
    m_positions.fill(0);
    positionsMoved();
}

void TransformControl::confirm() {
    resetStages();
    m_doc.confirm();
}

void TransformControl::reset() {
    resetStages();
    m_doc.revert();
}

void TransformControl::slide(int step) {
    // The slide drops the working points; sliders left off the centre would claim a change
    // the shape no longer has, and the next slider step would bring it back.
    resetStages();
    m_doc.slidePoints(step);
}

void TransformControl::undo() {
    m_doc.undo();
}

void TransformControl::redo() {
    m_doc.redo();
}

} // namespace tesk
