#pragma once
// A caption on a coloured ground, drawn in white (the axis captions of the transform panel).

#include <QAbstractButton>
#include <QColor>

namespace tesk {

class COLORFrame : public QAbstractButton {
    Q_OBJECT
public:
    explicit COLORFrame(QWidget* parent = nullptr);
    COLORFrame(const QString& text, const QColor& colour, QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    const QColor& colour() const { return m_colour; }

    QSize sizeHint() const override { return QSize(34, 23); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour = Qt::black;
};

} // namespace tesk
