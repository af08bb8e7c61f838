#include "HPJumpFrame.h"
#include "WidgetPixels.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using tesk::HPJumpFrame;
using tesk::test::at;
using tesk::test::paintWidget;

TEST(HPJumpFrame, SetPictureRefusesBadSizesAndKeepsTheOldPicture) {
    HPJumpFrame button;
    const uint32_t red = 0xff0000u;
    ASSERT_TRUE(button.setPicture(QStringLiteral("https://a.example/"), &red, 1, 1));
    std::vector<uint32_t> row(10001, 0x00ff00u);
    EXPECT_FALSE(button.setPicture(QStringLiteral("https://b.example/"), row.data(), 10001, 1));
    EXPECT_FALSE(button.setPicture(QStringLiteral("https://b.example/"), row.data(), 1, 10001));
    EXPECT_FALSE(button.setPicture(QStringLiteral("https://b.example/"), row.data(), 0, 1));
    EXPECT_FALSE(button.setPicture(QStringLiteral("https://b.example/"), nullptr, 1, 1));
    EXPECT_FALSE(button.setPicture(QStringLiteral("https://b.example/"), QImage()));
    EXPECT_EQ(button.address(), QStringLiteral("https://a.example/"));
    EXPECT_EQ(button.picture().size(), QSize(1, 1));
    EXPECT_EQ(button.picture().pixel(0, 0), 0xffff0000u);

    EXPECT_TRUE(button.setPicture(QStringLiteral("https://b.example/"), row.data(), 10000, 1));
    EXPECT_EQ(button.picture().size(), QSize(10000, 1));
}

TEST(HPJumpFrame, PaintsThePictureUnscaledAtTheTopLeftOnBlack) {
    HPJumpFrame button;
    EXPECT_EQ(at(paintWidget(button, QSize(20, 10)), 5, 5), QColor(Qt::black));

    // 3 x 2: red, green, blue over white, grey, yellow.
    const uint32_t pixels[] = {0xff0000u, 0x00ff00u, 0x0000ffu, 0xffffffu, 0x808080u, 0xffff00u};
    ASSERT_TRUE(button.setPicture(QStringLiteral("https://a.example/"), pixels, 3, 2));
    const QImage shown = paintWidget(button, QSize(20, 10));
    EXPECT_EQ(at(shown, 0, 0), QColor(255, 0, 0));
    EXPECT_EQ(at(shown, 1, 0), QColor(0, 255, 0));
    EXPECT_EQ(at(shown, 2, 0), QColor(0, 0, 255));
    EXPECT_EQ(at(shown, 1, 1), QColor(128, 128, 128));
    EXPECT_EQ(at(shown, 2, 1), QColor(255, 255, 0));
    EXPECT_EQ(at(shown, 3, 0), QColor(Qt::black));
    EXPECT_EQ(at(shown, 0, 2), QColor(Qt::black));
}

TEST(HPJumpFrame, ClickOpensTheAddressOnce) {
    HPJumpFrame button;
    std::vector<QUrl> opened;
    button.setUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    button.resize(84, 39);

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(opened.empty()) << "nothing to open before an address is set";

    const uint32_t pixel = 0;
    ASSERT_TRUE(button.setPicture(QStringLiteral("https://brenmold.example/blog/"), &pixel, 1, 1));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(40, 20));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://brenmold.example/blog/")));

    // Pressing inside and releasing outside is no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(40, 20));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(opened.size(), 1u);
}
