#pragma once
// A black caption on light blue whose lettering grows with the control's height (the section
// captions of the control panel).

#include <QLabel>

namespace tesk {

class StaticFrame : public QLabel {
    Q_OBJECT
public:
    explicit StaticFrame(QWidget* parent = nullptr);
    explicit StaticFrame(const QString& text, QWidget* parent = nullptr);

    static QColor background() { return QColor(160, 200, 255); }
    /// The font the caption is drawn with at a client height in pixels: 0.6 of it in points.
    static QFont captionFont(int clientHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tesk
