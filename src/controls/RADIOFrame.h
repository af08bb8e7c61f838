#pragma once
// A two-state picture button of a radio group (the shape-type buttons of the preview's tool
// bar). The buttons of a group are linked into a ring; choosing one clears the others.

#include <QAbstractButton>
#include <QImage>

namespace tesk {

class RADIOFrame : public QAbstractButton {
    Q_OBJECT
public:
    /// Size of a face picture: rows 0-17 the normal face, rows 18-35 the chosen face.
    static constexpr int kFaceWidth = 48;
    static constexpr int kFaceHeight = 36;
    static constexpr int kHalfHeight = 18;

    explicit RADIOFrame(QWidget* parent = nullptr);
    RADIOFrame(const QString& text, int groupIndex, QWidget* parent = nullptr);

    void setGroupIndex(int index) { m_groupIndex = index; }
    int groupIndex() const { return m_groupIndex; }
    /// The next button of the ring (not owned).
    void setNext(RADIOFrame* next) { m_next = next; }
    RADIOFrame* next() const { return m_next; }
    /// Links the buttons into one ring in the order given.
    static void linkRing(const QList<RADIOFrame*>& buttons);

    /// A 48 x 36 picture; a null picture brings back the plain grey faces. False, changing
    /// nothing, for any other size.
    bool setFace(const QImage& face);

    /// Makes this the group's chosen button: every other button of the ring with a different
    /// index is cleared, this one takes `state` (1 = chosen). Emits no signal, so the owner can
    /// call it when the choice changes by other means.
    void select(int state);
    int selected() const { return m_selected; }

    /// The group index of the button chosen last in this process (-1 before any).
    static int lastSelectedIndex();

    /// The 48 x 36 picture whose half for the current state the paint stretches over the
    /// control: the face with the caption drawn on that half.
    QImage composedFace() const;

    QSize sizeHint() const override { return QSize(42, 20); }

signals:
    /// The user clicked this button; it is already shown as chosen.
    void picked(int groupIndex);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setSelectedState(int state);

    int m_groupIndex = 0;
    RADIOFrame* m_next = nullptr;
    int m_selected = 0;
    QImage m_face;
};

} // namespace tesk
