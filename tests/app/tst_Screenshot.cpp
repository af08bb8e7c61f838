#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

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

// A project that cannot be used still gives the picture, and the exit status says it failed.
// The project here is a FIFO, which must be refused at once rather than waited on.
TEST(Screenshot, AProjectThatCannotBeLoadedExitsTwoAfterThePicture) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const fs::path dir = fs::temp_directory_path() / "tesk_screenshot_fifo";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path fifo = dir / "waiting.tsk";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path shot = dir / "shot.png";
    const fs::path err = dir / "err.txt";
    const std::string command = "timeout -k 5 120 '" + std::string(TESK_EDITOR) +
                                "' --screenshot '" + shot.string() + "' '" + fifo.string() +
                                "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_FALSE(QImage(QString::fromStdString(shot.string())).isNull());
    std::ifstream in(err);
    const std::string printed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(printed.find("ファイルが開けませんでした。"), std::string::npos) << printed;
    fs::remove_all(dir);
}
