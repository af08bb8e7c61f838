// main() of the widget test programs: GoogleTest inside a QApplication on the offscreen
// platform, which draws these widgets without a display.

#include "UiLanguage.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The designed Japanese, whatever the machine's locale; tests of English switch to it.
    tesk::useLanguage(tesk::UiLanguage::Japanese);
    return RUN_ALL_TESTS();
}
