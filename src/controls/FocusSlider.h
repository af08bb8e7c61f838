#pragma once
// A slider that takes wheel steps only while it has the keyboard focus. A wheel turned to
// scroll a panel passes over many sliders; none of them may change the shape on the way.

#include <QSlider>

namespace tesk {

class FocusSlider : public QSlider {
    Q_OBJECT
public:
    /// Horizontal, as every slider of the editor.
    explicit FocusSlider(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace tesk
