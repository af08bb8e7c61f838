// Draws the editor's own pictures (link buttons, shape-type button faces, level badges and
// scissors of the 2-D editor, application icon at each size given and as SVG) into the res/
// folder given as the first argument.
// Run it through the tesk_pictures target after changing a design here; the PNGs are committed.

#include "UiFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

// Link pictures are 84 x 63; the control panel shows their top 84 x 36 or so.
constexpr int kLinkWidth = 84;
constexpr int kLinkHeight = 63;
constexpr int kLinkVisibleHeight = 36;

enum class Glyph { House, Pen };

QImage linkPicture(const QString& caption, Glyph glyph) {
    QImage image(kLinkWidth, kLinkHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, kLinkVisibleHeight);
    ground.setColorAt(0, QColor(52, 84, 140));
    ground.setColorAt(1, QColor(22, 40, 78));
    p.fillRect(image.rect(), QColor(22, 40, 78));
    p.fillRect(0, 0, kLinkWidth, kLinkVisibleHeight, ground);
    p.setPen(QColor(110, 150, 210));
    p.drawLine(QPointF(0.5, 0.5), QPointF(kLinkWidth - 0.5, 0.5));

    const QColor ink(250, 250, 250);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (glyph == Glyph::House) {
        QPainterPath house;
        house.moveTo(3, 18);
        house.lineTo(10, 11);
        house.lineTo(17, 18);
        p.drawPath(house);
        p.drawRect(QRectF(5.5, 17, 9, 8));
        p.fillRect(QRectF(8.8, 20.5, 2.6, 4.5), ink);
    } else {
        p.save();
        p.translate(10, 18);
        p.rotate(-45);
        p.drawRect(QRectF(-8, -2.2, 13, 4.4));
        QPainterPath tip;
        tip.moveTo(5, -2.2);
        tip.lineTo(9, 0);
        tip.lineTo(5, 2.2);
        p.drawPath(tip);
        p.restore();
        p.drawLine(QPointF(4, 25.5), QPointF(16, 25.5));
    }

    p.setFont(tesk::gdiFont(QStringLiteral("MS UI Gothic"), -11));
    p.setPen(ink);
    p.drawText(QRect(21, 0, kLinkWidth - 21, kLinkVisibleHeight),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, caption);
    return image;
}

// The shape-type faces, tinted by family: closed linear, closed smooth, linear sheet, smooth
// sheet, tube and ring. The caption is drawn by the button itself.
enum class Family { Linear, Smooth, LinearSheet, SmoothSheet, Tube, Ring };

struct Face {
    const char* file;
    Family family;
};

constexpr Face kFaces[] = {
    {"L1", Family::Linear},       {"L2", Family::Linear},       {"S1", Family::Smooth},
    {"S2", Family::Smooth},       {"S3", Family::Smooth},       {"S4", Family::Smooth},
    {"PL1", Family::LinearSheet}, {"PS2", Family::SmoothSheet}, {"PS4", Family::SmoothSheet},
    {"C1", Family::Tube},         {"C4", Family::Tube},         {"T1", Family::Ring},
    {"T4", Family::Ring},
};

struct Tint {
    QColor light;
    QColor dark;
};

Tint tintOf(Family family) {
    switch (family) {
    case Family::Linear:
        return {QColor(206, 212, 228), QColor(58, 72, 118)};
    case Family::Smooth:
        return {QColor(204, 226, 210), QColor(44, 98, 64)};
    case Family::LinearSheet:
        return {QColor(228, 218, 198), QColor(112, 86, 44)};
    case Family::SmoothSheet:
        return {QColor(230, 206, 218), QColor(108, 52, 80)};
    case Family::Tube:
        return {QColor(198, 224, 230), QColor(34, 92, 108)};
    case Family::Ring:
        return {QColor(226, 222, 196), QColor(96, 96, 30)};
    }
    return {};
}

QImage facePicture(Family family) {
    const Tint tint = tintOf(family);
    QImage image(48, 36, QImage::Format_RGB32);
    QPainter p(&image);

    // Normal half: raised, light.
    QLinearGradient raised(0, 0, 0, 18);
    raised.setColorAt(0, tint.light.lighter(112));
    raised.setColorAt(1, tint.light.darker(108));
    p.fillRect(0, 0, 48, 18, raised);
    p.fillRect(0, 0, 48, 1, QColor(250, 250, 250));
    p.fillRect(0, 0, 1, 18, QColor(250, 250, 250));
    p.fillRect(0, 17, 48, 1, QColor(96, 96, 104));
    p.fillRect(47, 0, 1, 18, QColor(96, 96, 104));

    // Chosen half: pressed in, dark, so the white caption stands out.
    QLinearGradient pressed(0, 18, 0, 36);
    pressed.setColorAt(0, tint.dark.darker(130));
    pressed.setColorAt(1, tint.dark);
    p.fillRect(0, 18, 48, 18, pressed);
    p.fillRect(0, 18, 48, 2, QColor(20, 20, 24));
    p.fillRect(0, 18, 2, 18, QColor(20, 20, 24));
    p.fillRect(0, 35, 48, 1, tint.dark.lighter(150));
    return image;
}

// The application icon on a 256-unit square: a sculpt map of a sphere (red = X, green = Y,
// blue = Z) behind the lit sphere it encodes. Drawn with shapes only, no clipping or pictures,
// so that the same strokes make the scalable SVG and every PNG size.
void paintAppIcon(QPainter& p) {
    constexpr int kCells = 16;
    constexpr double kTileStart = 8;
    constexpr double kCell = (256 - 2 * kTileStart) / kCells;
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(kTileStart, kTileStart, kCells * kCell, kCells * kCell), 36, 36);
    p.setPen(Qt::NoPen);
    for (int v = 0; v < kCells; ++v) {
        const double lat = std::numbers::pi * (v + 0.5) / kCells;
        for (int u = 0; u < kCells; ++u) {
            const double lon = 2 * std::numbers::pi * (u + 0.5) / kCells;
            const double x = std::sin(lat) * std::cos(lon);
            const double y = std::sin(lat) * std::sin(lon);
            const double z = std::cos(lat);
            QPainterPath cell;
            // A hair of overlap, so that neighbouring cells leave no seam when smoothed.
            cell.addRect(
                QRectF(kTileStart + u * kCell, kTileStart + v * kCell, kCell + 0.3, kCell + 0.3));
            p.setBrush(QColor(static_cast<int>((x + 1) * 127.5), static_cast<int>((y + 1) * 127.5),
                              static_cast<int>((z + 1) * 127.5)));
            p.drawPath(cell.intersected(tile));
        }
    }
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(tile);
    p.setPen(QPen(QColor(30, 30, 40), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tile);

    const QPointF centre(128, 132);
    constexpr double kRadius = 84;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(centre + QPointF(6, 8), kRadius, kRadius);
    QRadialGradient shade(centre + QPointF(-30, -34), kRadius * 1.5);
    shade.setColorAt(0, QColor(250, 250, 250));
    shade.setColorAt(0.55, QColor(170, 172, 180));
    shade.setColorAt(1, QColor(60, 62, 72));
    p.setBrush(shade);
    p.drawEllipse(centre, kRadius, kRadius);

    // Meridians and parallels, as the preview's wireframe shows them.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 44, 60, 150), 2));
    for (int i = 1; i < 4; ++i) {
        const double rx = kRadius * std::cos(std::numbers::pi * i / 8);
        p.drawEllipse(centre, rx, kRadius);
        const double y = kRadius * std::sin(std::numbers::pi * (i - 2) / 8);
        const double half = std::sqrt(kRadius * kRadius - y * y);
        p.drawEllipse(QPointF(centre.x(), centre.y() + y), half, half * 0.22);
    }
    p.drawEllipse(centre, kRadius, kRadius);
}

// The icon drawn afresh at `size` pixels, sharper at small sizes than a scaled-down picture.
QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(size / 256.0, size / 256.0);
    paintAppIcon(p);
    return image;
}

bool saveScalableIcon(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(QStringLiteral("TESK"));
    svg.setDescription(QStringLiteral("SPDX-License-Identifier: MIT"));
    QPainter p;
    if (!p.begin(&svg)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    paintAppIcon(p);
    return p.end();
}

// The level badges of the 2-D editor, 24 x 24 on the net's white: a sun-burst, red with a
// "1" for an important line or column, yellow with a "2" for a secondary one, plain grey for
// an ordinary one.
struct Badge {
    const char* file;
    QColor rays;
    QColor disc;
    const char* digit;
    QColor ink;
};

constexpr int kBadgeSize = 24;

const Badge kBadges[] = {
    {"level3", QColor(150, 150, 156), QColor(206, 206, 212), "", QColor()},
    {"level1", QColor(214, 36, 28), QColor(236, 58, 44), "1", QColor(255, 255, 255)},
    {"level2", QColor(232, 176, 0), QColor(252, 212, 40), "2", QColor(70, 52, 0)},
};

QImage badgePicture(const Badge& badge) {
    QImage image(kBadgeSize, kBadgeSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kBadgeSize / 2.0, kBadgeSize / 2.0);
    constexpr int kRays = 12;
    QPainterPath burst;
    for (int i = 0; i < 2 * kRays; ++i) {
        const double angle = std::numbers::pi * i / kRays - std::numbers::pi / 2;
        const double radius = i % 2 == 0 ? 11.5 : 7.5;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0) {
            burst.moveTo(point);
        } else {
            burst.lineTo(point);
        }
    }
    burst.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(badge.rays);
    p.drawPath(burst);
    p.setBrush(badge.disc);
    p.setPen(QPen(badge.rays.darker(120), 1));
    p.drawEllipse(centre, 7, 7);
    if (badge.digit[0] != '\0') {
        p.setFont(tesk::gdiFont(QStringLiteral("MS UI Gothic"), -12, 0, 700));
        p.setPen(badge.ink);
        p.drawText(QRectF(0, 0, kBadgeSize, kBadgeSize), Qt::AlignCenter,
                   QString::fromLatin1(badge.digit));
    }
    return image;
}

// The scissors shown on a hovered segment in divide mode, 32 x 32. The view draws the picture
// colour-inverted, so it is stored as the complement of dark blades and red handles on white.
QImage scissorsPicture() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor steel(60, 64, 76);
    p.setPen(QPen(steel, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 3), QPointF(21, 22));
    p.drawLine(QPointF(24, 3), QPointF(11, 22));
    p.setBrush(steel);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 14.5), 1.6, 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(208, 30, 30), 2.6));
    p.drawEllipse(QPointF(9, 25.5), 4.2, 4.2);
    p.drawEllipse(QPointF(23, 25.5), 4.2, 4.2);
    p.end();
    image.invertPixels();
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RES_FOLDER [ICON_SIZE]...\n", argv[0]);
        return 64;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok =
        save(linkPicture(QStringLiteral("Home Page"), Glyph::House), out + "/link/homepage.png");
    ok = save(linkPicture(QStringLiteral("Blog"), Glyph::Pen), out + "/link/blog.png") && ok;
    for (const Face& face : kFaces) {
        ok = save(facePicture(face.family), out + "/faces/" + face.file + ".png") && ok;
    }
    for (const Badge& badge : kBadges) {
        ok = save(badgePicture(badge), out + "/net/" + badge.file + ".png") && ok;
    }
    ok = save(scissorsPicture(), out + "/net/scissors.png") && ok;
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        ok = save(appIcon(size), out + "/icons/" + QString::number(size) + ".png") && ok;
    }
    ok = saveScalableIcon(out + "/icons/scalable.svg") && ok;
    return ok ? 0 : 1;
}
