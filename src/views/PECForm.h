#pragma once
// The transform panel: move, scale and rotate sliders for the points selected in the
// document, and the point-slide buttons. What the sliders do lives in TransformControl; this
// widget turns slider signals into its tracking and release changes and shows its positions.

#include "TransformControl.h"

#include <QWidget>
#include <array>

class QSlider;

namespace tesk {

class Ctesk001Doc;

class PECForm : public QWidget {
    Q_OBJECT
public:
    explicit PECForm(Ctesk001Doc& doc, QWidget* parent = nullptr);

    QSlider* slider(TransformSlider s) const { return m_sliders[s]; }
    /// The panel's rules; the edit bar's commands go through it too.
    TransformControl& control() { return m_control; }

private:
    void connectSlider(TransformSlider s);
    /// Shows the control's positions without reporting them back as changes.
    void showPositions();

    TransformControl m_control;
    std::array<QSlider*, SLIDER_COUNT> m_sliders{};
};

} // namespace tesk
