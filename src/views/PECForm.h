#pragma once
// The transform panel: move, scale and rotate sliders for the points selected in the
// document, and the point-slide buttons. What the sliders do lives in TransformControl; this
// widget turns slider signals into its tracking and release changes and shows its positions.

#include "TransformControl.h"

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    /// The designed single column when the pane has room for it; else move, scale and turn
    /// side by side as three columns, so that every slider shows without scrolling.
    void arrange(QSize size);
    void connectSlider(TransformSlider s);
    /// Shows the control's positions without reporting them back as changes.
    void showPositions();

    TransformControl m_control;
    std::array<QSlider*, SLIDER_COUNT> m_sliders{};
    std::array<QWidget*, SLIDER_COUNT> m_captions{};
    std::array<QLabel*, 3> m_groupLabels{};
    std::array<QPushButton*, 3> m_slideButtons{}; ///< the caption, "<" and ">"
};

} // namespace tesk
