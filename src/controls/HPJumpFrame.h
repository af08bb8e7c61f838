#pragma once
// A picture button that opens a web page in the user's browser (the control panel's
// "Home Page" and "Blog" buttons).

#include <QAbstractButton>
#include <QImage>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>

namespace tesk {

class HPJumpFrame : public QAbstractButton {
    Q_OBJECT
public:
    /// Opens an address; the default hands it to the desktop's handler for it.
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit HPJumpFrame(QWidget* parent = nullptr);

    /// Keeps a copy of width x height pixels (0xRRGGBB) and the address. False, changing
    /// nothing, when a side is 0 or less or above 10000 or `pixels` is null.
    bool setPicture(const QString& address, const uint32_t* pixels, int width, int height);
    /// The same from a picture such as one of the program's resources.
    bool setPicture(const QString& address, const QImage& picture);

    const QString& address() const { return m_address; }
    /// What is painted at the top-left corner; null without a picture.
    const QImage& picture() const { return m_picture; }

    /// Replaces the opener, so tests can see the address without starting a browser.
    void setUrlOpener(UrlOpener opener);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openAddress();

    QImage m_picture;
    QString m_address;
    UrlOpener m_opener;
};

} // namespace tesk
