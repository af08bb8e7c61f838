#include "CellFlags.h"
#include "Ctesk001Doc.h"
#include "DialogUnits.h"
#include "Messages.h"
#include "PEToolDialog.h"
#include "PEView.h"
#include "TeskResources.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace tesk;

namespace {

class PEViewTest : public ::testing::Test {
protected:
    PEViewTest() {
        resources::init();
        doc.newShape();
        view = std::make_unique<PEView>(doc);
        view->resize(400, 460);
        view->show();
    }

    QPushButton* button(const char* id) const {
        return view->toolBar()->findChild<QPushButton*>(QString::fromLatin1(id));
    }
    void click(const char* id) const { QTest::mouseClick(button(id), Qt::LeftButton); }
    QImage shot() const { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    /// Pixels of one colour inside a rectangle of the view.
    static int count(const QImage& image, const QRect& area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += image.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }
    static QRect rectOf(const NetRect& r) {
        return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    QPoint centre(size_t cell) const {
        const NetRect& r = view->net().cells.at(cell).rect;
        return {r.centreX(), r.centreY()};
    }

    RecordingMessages messages;
    Ctesk001Doc doc{messages, "/opt/tesk/"};
    std::unique_ptr<PEView> view;
};

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kSegmentGrey = 0xFFDCDCDC;

} // namespace

TEST_F(PEViewTest, TheModeBarIsLaidOutFromItsTemplateAndWorksAsTwoRadioGroups) {
    PEToolDialog* bar = view->toolBar();
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 400, PEToolDialog::kHeight));
    const DialogUnits du(bar->font());
    const QLabel* label = bar->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("選択 ＆ 分割"));
    EXPECT_EQ(label->geometry(), du.rect(0, 0, 55, 8));
    struct Expected {
        const char* id;
        QString caption;
        QRect geometry;
        bool checked;
        bool shown;
    };
    const Expected buttons[] = {
        {"1037", QStringLiteral("選択 モード"), du.rect(60, 0, 51, 12), true, true},
        {"1038", QStringLiteral("分割 モード"), du.rect(114, 0, 51, 12), false, true},
        {"1040", QStringLiteral("追加"), du.rect(168, 0, 24, 12), true, false},
        {"1041", QStringLiteral("削除"), du.rect(192, 0, 24, 12), false, false},
    };
    for (const Expected& e : buttons) {
        const QPushButton* b = button(e.id);
        ASSERT_NE(b, nullptr) << e.id;
        EXPECT_EQ(b->text(), e.caption);
        EXPECT_EQ(b->geometry(), e.geometry) << e.id;
        EXPECT_EQ(b->isChecked(), e.checked) << e.id;
        EXPECT_EQ(b->isVisible(), e.shown) << e.id;
        EXPECT_EQ(b->isEnabled(), e.shown) << e.id;
    }
    EXPECT_EQ(view->mouse().mode(), MODE_SELECT);
    EXPECT_EQ(shot().pixel(395, 10), qRgb(140, 140, 150));

    click("1038");
    EXPECT_EQ(view->mouse().mode(), MODE_DIVIDE_ADD);
    EXPECT_TRUE(button("1040")->isVisible());
    EXPECT_TRUE(button("1041")->isEnabled());
    EXPECT_FALSE(button("1037")->isChecked());
    click("1041");
    EXPECT_EQ(view->mouse().mode(), MODE_DIVIDE_DELETE);
    EXPECT_FALSE(button("1040")->isChecked());
    EXPECT_TRUE(button("1038")->isChecked()) << "the groups are separate";
    click("1037");
    EXPECT_EQ(view->mouse().mode(), 0x21);
    EXPECT_FALSE(button("1041")->isVisible());
    click("1038");
    EXPECT_EQ(view->mouse().mode(), MODE_DIVIDE_DELETE) << "delete stayed checked";
}

TEST_F(PEViewTest, PaintsSegmentsPointsTheSelectionAndTheBadges) {
    std::vector<uint32_t> flags(8, 0);
    flags[0] = CELL_SELECTED;
    doc.setHandles(flags);
    QImage image = shot();
    EXPECT_EQ(image.pixel(2, 150), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(67, 180), kSegmentGrey) << "middle of the first ring segment";
    EXPECT_GT(count(image, rectOf(view->net().cells[0].rect), kRed), 4);
    EXPECT_EQ(count(image, rectOf(view->net().cells[1].rect), kRed), 0);

    const auto picture = [](const char* path) {
        return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_RGB32);
    };
    const auto badgeAt = [&image, this](size_t marker) {
        const NetRect& r = view->net().markers.at(marker).rect;
        return image.copy(r.left, r.top, kBadgeSize, kBadgeSize);
    };
    EXPECT_EQ(badgeAt(0), picture(resources::kNormalBadge));
    ASSERT_TRUE(doc.toggleColumnLevel(0));
    image = shot();
    EXPECT_EQ(badgeAt(0), picture(resources::kImportantBadge));
    EXPECT_EQ(badgeAt(5), picture(resources::kNormalBadge));
}

TEST_F(PEViewTest, DivideModeShowsTheCutAndTheScissorsOnAHoveredSegment) {
    click("1038");
    QTest::mouseMove(view.get(), QPoint(67, 180));
    ASSERT_EQ(view->net().hoveredSegment(), 0);
    const QImage image = shot();
    EXPECT_GT(count(image, QRect(24, 174, 20, 12), kGreen), 40) << "the hovered segment";
    EXPECT_GT(count(image, QRect(67, 44, 1, 100), kRed), 30) << "where the column would go";

    QImage scissors(QString::fromLatin1(resources::kScissors));
    ASSERT_EQ(scissors.size(), QSize(32, 32));
    scissors = scissors.convertToFormat(QImage::Format_RGB32);
    scissors.invertPixels();
    EXPECT_EQ(image.copy(67 - 16, 180 - 16, 32, 32), scissors);

    click("1037"); // select mode: the segment stays lit but there is nothing to cut
    const QImage plain = shot();
    EXPECT_EQ(count(plain, QRect(67, 44, 1, 100), kRed), 0);
    EXPECT_NE(plain.copy(67 - 16, 180 - 16, 32, 32), scissors);
}

TEST_F(PEViewTest, ADoubleClickIsOneClickAndNotTwoAndReachesTheViewer) {
    QSignalSpy told(view.get(), &PEView::doubleClicked);
    // On X a double click comes as press, release, double click, release.
    QTest::mouseMove(view.get(), centre(2));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, centre(2));
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, centre(2));
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, centre(2));
    EXPECT_EQ(doc.handles()[2], CELL_SELECTED | CELL_HOVER);
    EXPECT_EQ(told.count(), 1);
    QTest::mouseDClick(view.get(), Qt::RightButton, {}, centre(2));
    EXPECT_EQ(told.count(), 1) << "only the left button";
}

TEST_F(PEViewTest, ARebuildRepaintsTheNetOnlyWhenItsDimensionsOrLevelsChanged) {
    struct PaintCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
        int paints = 0;
    } counter;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QTest::qWait(20);
    view->installEventFilter(&counter);

    // A transform slider's step: working points move, the net stays as drawn.
    ASSERT_TRUE(doc.setWorkPoints(std::vector<CellPoint>{{0, {5, 5, 5}}}));
    QTest::qWait(20);
    EXPECT_EQ(counter.paints, 0);

    ASSERT_TRUE(doc.toggleColumnLevel(1));
    QTest::qWait(20);
    EXPECT_GT(counter.paints, 0) << "a new badge";
    counter.paints = 0;
    ASSERT_TRUE(doc.insertLine(1));
    QTest::qWait(20);
    EXPECT_GT(counter.paints, 0) << "a new row";
}

namespace {
/// Stands in for a message box: it takes the release of the press that showed it.
struct ReleaseTakingMessages : RecordingMessages {
    void inform(const std::string& text) override {
        RecordingMessages::inform(text);
        QTest::mouseRelease(&box, Qt::LeftButton);
    }
    QWidget box;
};
} // namespace

TEST(PEViewMessage, AMessageThatTookTheReleaseLeavesNoBandBehind) {
    resources::init();
    ReleaseTakingMessages boxes;
    boxes.box.show();
    Ctesk001Doc doc(boxes, "/opt/tesk/");
    doc.newShape();
    ASSERT_TRUE(doc.insertColumn(0));
    ASSERT_TRUE(doc.insertColumn(0));
    for (int column = 0; column < 5; ++column) {
        ASSERT_TRUE(doc.toggleColumnLevel(column));
    }
    PEView view(doc);
    view.resize(400, 460);
    view.show();
    const NetRect& sixth = view.net().markers[5].rect;
    const QPoint at(sixth.centreX(), sixth.centreY());
    QTest::mouseMove(&view, at);
    QTest::mousePress(&view, Qt::LeftButton, {}, at);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], kTooManyImportantMessage);
    EXPECT_FALSE(view.mouse().banding());
    EXPECT_FALSE(view.mouse().captured());
    QTest::mouseMove(&view, QPoint(390, 300));
    for (uint32_t f : doc.handles()) {
        EXPECT_EQ(f & (CELL_IN_BAND | CELL_SELECTED), 0u);
    }
}
