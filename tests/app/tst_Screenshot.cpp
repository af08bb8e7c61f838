#include "ScratchDir.h"

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
#include <unistd.h>

extern bool g_haveDisplay;

namespace fs = std::filesystem;

namespace {
struct EditorRun {
    int status = -1;
    std::string err;
};

// A screenshot run of the editor on `project` with the settings in `config`. The time limit
// only keeps a hanging run from holding up the suite.
EditorRun screenshotRun(const fs::path& config, const fs::path& shot, const fs::path& project) {
    const fs::path err = config / "err.txt";
    const std::string command = "XDG_CONFIG_HOME='" + config.string() + "' timeout -k 5 120 '" +
                                TESK_EDITOR + "' --screenshot '" + shot.string() + "' '" +
                                project.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    std::ifstream in(err);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
}

QImage pictureAt(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
}

const fs::path kSphere = fs::path(TESK_SOURCE_DIR) / "examples" / "sphere.tsk";
} // namespace

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

// A FIFO where a settings file belongs would stall the start until something wrote to it; so
// would a link to one. The editor starts without the recent-file list instead.
TEST(Screenshot, SettingsFilesThatAreNotRegularFilesAreIgnoredWithAWarning) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const tesk::testing::ScratchDir dir("tesk_screenshot_settings");
    const fs::path folder = dir.path() / "Brenmold TESK";
    fs::create_directories(folder);
    const fs::path own = folder / "TESK ( Brenmold ).conf";
    ASSERT_EQ(::mkfifo(own.c_str(), 0600), 0);
    const EditorRun first = screenshotRun(dir.path(), dir.path() / "first.png", kSphere);
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.err.find(own.string() + " is not a regular file"), std::string::npos)
        << first.err;
    EXPECT_FALSE(pictureAt(dir.path() / "first.png").isNull());

    fs::remove(own);
    const fs::path pipe = dir.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path shared = dir.path() / "Brenmold TESK.conf";
    fs::create_symlink(pipe, shared);
    const EditorRun second = screenshotRun(dir.path(), dir.path() / "second.png", kSphere);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.err.find(shared.string() + " is not a regular file"), std::string::npos)
        << second.err;
    EXPECT_FALSE(fs::exists(own)) << "no settings are written beside a FIFO";
}

// Linux file names are bytes: a Latin-1 name (not UTF-8) is opened and written as given.
TEST(Screenshot, NamesThatAreNotUtf8AreOpenedAndWrittenAsGiven) {
    if (!g_haveDisplay) {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const tesk::testing::ScratchDir dir("tesk_screenshot_latin1");
    const fs::path project = dir.path() / "caf\xe9.tsk";
    fs::copy_file(kSphere, project);
    const fs::path shot = dir.path() / "\xe9"
                                       "cran.png";
    const EditorRun run = screenshotRun(dir.path(), shot, project);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("ファイルが開けませんでした。"), std::string::npos) << run.err;
    EXPECT_FALSE(pictureAt(shot).isNull());
}
