#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

extern bool g_haveDisplay;

namespace fs = std::filesystem;

// Starts the editor as a user would, on an example, and looks at the picture it saves.
TEST(Screenshot, EditorDrawsTheWholeWindowWithTheShapeLit) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const fs::path shot = fs::temp_directory_path() / "tesk_screenshot_test.png";
    fs::remove(shot);
    const std::string command = std::string("'") + TESK_EDITOR + "' --screenshot '" +
                                shot.string() + "' '" + TESK_SOURCE_DIR +
                                "/examples/sphere.tsk' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    QImage image(QString::fromStdString(shot.string()));
    ASSERT_FALSE(image.isNull());
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_EQ(image.size(), screen);

    // Not blank: many colours overall, and in the preview (right third) pixels brighter than
    // its dark grey background, where the lit mesh is.
    std::set<QRgb> colours;
    int lit = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            colours.insert(c);
            if (x > image.width() * 2 / 3 && y > 60 && qGray(c) > 90 && qRed(c) == qBlue(c)) {
                ++lit;
            }
        }
    }
    EXPECT_GT(colours.size(), 50u);
    EXPECT_GT(lit, 500);
}
