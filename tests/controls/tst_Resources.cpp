#include "ShapeTypes.h"
#include "TeskResources.h"

#include <QImage>
#include <gtest/gtest.h>

namespace res = tesk::resources;

namespace {

double meanLuminance(const QImage& image, const QRect& area) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sum += 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
        }
    }
    return sum / (area.width() * area.height());
}

} // namespace

TEST(Resources, PicturesHaveTheSizesTheControlsExpect) {
    res::init();
    EXPECT_EQ(QImage(QString::fromLatin1(res::kIcon)).size(), QSize(256, 256));
    EXPECT_EQ(QImage(QString::fromLatin1(res::kHomePageButton)).size(), QSize(84, 63));
    EXPECT_EQ(QImage(QString::fromLatin1(res::kBlogButton)).size(), QSize(84, 63));
    for (const tesk::ShapeTypeInfo& type : tesk::kShapeTypes) {
        const QString path = res::shapeTypeFace(type.face);
        EXPECT_EQ(QImage(path).size(), QSize(48, 36)) << path.toStdString();
    }
}

TEST(Resources, ShapeFacesAreLightWhenNormalAndDarkWhenChosen) {
    // The button writes a black caption on the top half and a white one on the bottom half.
    res::init();
    for (const tesk::ShapeTypeInfo& type : tesk::kShapeTypes) {
        const QImage face(res::shapeTypeFace(type.face));
        ASSERT_FALSE(face.isNull()) << type.face;
        EXPECT_GT(meanLuminance(face, QRect(0, 0, 48, 18)), 170) << type.face;
        EXPECT_LT(meanLuminance(face, QRect(0, 18, 48, 18)), 90) << type.face;
    }
}
