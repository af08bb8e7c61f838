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
    /// The font `text` is drawn with in a client area: 0.6 x the client height in points, made
    /// smaller when the caption would not fit the width, so it is never cut off.
    static QFont captionFont(const QString& text, const QSize& clientSize);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tesk
