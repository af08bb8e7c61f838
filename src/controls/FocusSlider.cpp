#include "FocusSlider.h"

#include <QWheelEvent>

namespace tesk {

FocusSlider::FocusSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // A click or Tab gives the focus; the wheel never does.
    setFocusPolicy(Qt::StrongFocus);
}

void FocusSlider::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        // Left to the parent, so a scroll area around the slider scrolls.
        event->ignore();
        return;
    }
    QSlider::wheelEvent(event);
}

} // namespace tesk
