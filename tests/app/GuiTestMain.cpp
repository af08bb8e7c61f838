// main() of the tests that show the 3-D preview: GoogleTest inside a QApplication on a real
// X display (xvfb-run), since the offscreen platform has no OpenGL. Without a display every
// test is skipped.

#include "GLView.h"
#include "UiLanguage.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

bool g_haveDisplay = false;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_haveDisplay = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!g_haveDisplay) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    tesk::GLView::setDefaultSurfaceFormat();
    QApplication app(argc, argv);
    // The designed Japanese, whatever the machine's locale; tests of English switch to it.
    tesk::useLanguage(tesk::UiLanguage::Japanese);
    // Keep the recent-file list of test runs out of the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    return RUN_ALL_TESTS();
}
