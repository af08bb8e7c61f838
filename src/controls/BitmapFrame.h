#pragma once
// A button face that shows a 32-bit picture stretched over the whole control: the sculpt map
// of the control panel and the effect image of the effect dialog.

#include <QAbstractButton>
#include <QImage>
#include <cstdint>
#include <vector>

namespace tesk {

class BitmapFrame : public QAbstractButton {
    Q_OBJECT
public:
    explicit BitmapFrame(QWidget* parent = nullptr);

    /// Replaces both buffers by zero pixels of this size. False, keeping the old buffers, when a
    /// side is 0 or less or above 65535, or the picture would not fit in memory.
    bool setSize(int width, int height);
    /// Writes `colour` (0xRRGGBB) into every source pixel and shows it unchanged.
    void fill(uint32_t colour);
    /// Copies width x height pixels in the owner's layout (red byte 0, green 1, blue 2). With
    /// `sculptColours` they are shown as sculpt-map files show them: red and green inverted.
    bool setImage(int width, int height, const uint32_t* pixels, bool sculptColours);

    int imageWidth() const { return m_width; }
    int imageHeight() const { return m_height; }
    const std::vector<uint32_t>& sourcePixels() const { return m_source; }
    /// What is painted, in display order (0xffRRGGBB); null before the first size is set.
    const QImage& displayImage() const { return m_display; }

    QSize sizeHint() const override { return QSize(64, 64); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<uint32_t> m_source;
    QImage m_display;
    int m_width = 0;
    int m_height = 0;
};

} // namespace tesk
