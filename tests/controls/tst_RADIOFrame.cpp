#include "PaintCounter.h"
#include "RADIOFrame.h"
#include "WidgetPixels.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using tesk::RADIOFrame;
using tesk::test::at;
using tesk::test::boundsOf;
using tesk::test::nearBlack;
using tesk::test::nearWhite;
using tesk::test::paintWidget;
using tesk::testing::PaintCounter;

namespace {

const char* const kCaptions[9] = {"L [1]", "L [2]",  "S [1]",  "S [2]", "S [3]",
                                  "S [4]", "PL [1]", "PS [2]", "PS [4]"};

struct Ring {
    Ring() {
        for (int i = 0; i < 9; ++i) {
            buttons.push_back(new RADIOFrame(QString::fromUtf8(kCaptions[i]), i, &parent));
        }
        RADIOFrame::linkRing(buttons);
    }
    std::vector<int> selectedStates() const {
        std::vector<int> states;
        for (const RADIOFrame* b : buttons) {
            states.push_back(b->selected());
        }
        return states;
    }
    QWidget parent;
    QList<RADIOFrame*> buttons;
};

std::vector<int> onlyChosen(int index) {
    std::vector<int> states(9, 0);
    states[static_cast<size_t>(index)] = 1;
    return states;
}

} // namespace

TEST(RADIOFrame, SelectingOneClearsTheOtherEightWhicheverWasChosen) {
    Ring ring;
    for (int first = 0; first < 9; ++first) {
        for (int second = 0; second < 9; ++second) {
            ring.buttons[first]->select(1);
            ring.buttons[second]->select(1);
            ASSERT_EQ(ring.selectedStates(), onlyChosen(second)) << first << " then " << second;
            ASSERT_EQ(RADIOFrame::lastSelectedIndex(), second);
        }
    }
    ring.buttons[4]->select(0);
    EXPECT_EQ(ring.selectedStates(), std::vector<int>(9, 0));
}

TEST(RADIOFrame, ButtonsSharingTheIndexAreNotCleared) {
    Ring ring;
    ring.buttons[3]->setGroupIndex(7);
    ring.buttons[3]->select(1);
    ring.buttons[7]->select(1);
    EXPECT_EQ(ring.buttons[3]->selected(), 1);
    EXPECT_EQ(ring.buttons[0]->selected(), 0);
}

TEST(RADIOFrame, BrokenRingsEndTheWalk) {
    QWidget parent;
    auto* a = new RADIOFrame(QStringLiteral("a"), 0, &parent);
    auto* b = new RADIOFrame(QStringLiteral("b"), 1, &parent);
    auto* c = new RADIOFrame(QStringLiteral("c"), 2, &parent);
    b->select(1);
    c->select(1);
    // An open chain a -> b, and a loop b -> c -> b that never comes back to a.
    a->setNext(b);
    b->setNext(c);
    c->setNext(b);
    a->select(1);
    EXPECT_EQ(a->selected(), 1);
    EXPECT_EQ(b->selected(), 0);
    EXPECT_EQ(c->selected(), 0);
    c->setNext(nullptr);
    b->select(1);
    EXPECT_EQ(c->selected(), 0);
}

TEST(RADIOFrame, ClickChoosesTheButtonAndReportsItsIndex) {
    Ring ring;
    ring.buttons[0]->select(1);
    QSignalSpy picked(ring.buttons[5], &RADIOFrame::picked);
    ring.buttons[5]->resize(42, 20);
    QTest::mouseClick(ring.buttons[5], Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 5);
    EXPECT_EQ(ring.selectedStates(), onlyChosen(5));
}

TEST(RADIOFrame, PlainFacesShowTheStateAndTheCaptionColours) {
    RADIOFrame button(QStringLiteral("PS [4]"), 8);
    const QImage normal = paintWidget(button, QSize(42, 20));
    EXPECT_EQ(at(normal, 0, 0), QColor(200, 200, 200));
    EXPECT_EQ(at(normal, 41, 19), QColor(200, 200, 200));
    const QRect blackText = boundsOf(normal, nearBlack);
    ASSERT_FALSE(blackText.isEmpty());
    EXPECT_TRUE(boundsOf(normal, nearWhite).isEmpty());
    // The caption box runs from x 2 to 4 beyond the right edge of a 48-wide face, so the text
    // sits a little right of the middle once the face is squeezed to 42.
    EXPECT_NEAR(blackText.center().x(), 21, 3);

    button.select(1);
    const QImage chosen = paintWidget(button, QSize(42, 20));
    EXPECT_EQ(at(chosen, 0, 0), QColor(100, 100, 100));
    EXPECT_EQ(at(chosen, 41, 19), QColor(100, 100, 100));
    EXPECT_FALSE(boundsOf(chosen, nearWhite).isEmpty());
    EXPECT_TRUE(boundsOf(chosen, nearBlack).isEmpty());
}

TEST(RADIOFrame, FacePictureHalvesFollowTheState) {
    QImage face(RADIOFrame::kFaceWidth, RADIOFrame::kFaceHeight, QImage::Format_RGB32);
    face.fill(QColor(0, 160, 0));
    for (int y = RADIOFrame::kHalfHeight; y < RADIOFrame::kFaceHeight; ++y) {
        for (int x = 0; x < RADIOFrame::kFaceWidth; ++x) {
            face.setPixelColor(x, y, QColor(0, 0, 160));
        }
    }
    RADIOFrame button(QString(), 0);
    EXPECT_FALSE(button.setFace(face.copy(0, 0, 48, 18)));
    ASSERT_TRUE(button.setFace(face));
    EXPECT_EQ(at(paintWidget(button, QSize(84, 40)), 40, 20), QColor(0, 160, 0));
    button.select(1);
    EXPECT_EQ(at(paintWidget(button, QSize(84, 40)), 40, 20), QColor(0, 0, 160));
    ASSERT_TRUE(button.setFace(QImage()));
    EXPECT_EQ(at(paintWidget(button, QSize(84, 40)), 40, 20), QColor(100, 100, 100));
}

// Every rebuild shows the shape's type again: only the buttons whose state changes repaint.
TEST(RADIOFrame, ShowingTheChosenButtonAgainRepaintsNothing) {
    Ring ring;
    for (int i = 0; i < 9; ++i) {
        ring.buttons[i]->setGeometry(42 * i, 0, 42, 20);
    }
    ring.parent.resize(42 * 9, 20);
    ring.buttons[2]->select(1);
    ring.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ring.parent));
    QTest::qWait(20);

    PaintCounter paints;
    ring.buttons[2]->select(1);
    QTest::qWait(50);
    for (const RADIOFrame* button : ring.buttons) {
        EXPECT_EQ(paints.count(button), 0) << button->text().toStdString();
    }

    ring.buttons[6]->select(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count(ring.buttons[6]) == 1; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count(ring.buttons[2]) == 1; }));
    QTest::qWait(20);
    for (int i : {0, 1, 3, 4, 5, 7, 8}) {
        EXPECT_EQ(paints.count(ring.buttons[i]), 0) << i;
    }
}
