#include "FileNames.h"

#include <gtest/gtest.h>

using namespace tesk;

// Qt's text turns a byte that is not UTF-8 into U+FFFD, so such a name cannot come back from
// a dialog as text alone.
TEST(FileNames, ADialogsAnswerKeepsTheBytesOfWhatItWasOffered) {
    const std::string folder = "/home/jos\xe9/shapes";
    const std::string file = folder + "/caf\xe9.tsk";
    ASSERT_NE(systemFileName(shownFileName(file)), file);

    EXPECT_EQ(systemFileName(shownFileName(file), file), file);
    EXPECT_EQ(systemFileName(shownFileName(folder) + "/vase.tsk", file), folder + "/vase.tsk");
    EXPECT_EQ(systemFileName(shownFileName(folder) + "/effect/rings.png", folder),
              folder + "/effect/rings.png");
    EXPECT_EQ(systemFileName(QStringLiteral("/tmp/é.tsk"), file), "/tmp/\xc3\xa9.tsk");
    // A name that only begins like the folder is somewhere else; its parent still matches.
    EXPECT_EQ(systemFileName(shownFileName(folder) + "2/a.tsk", folder),
              "/home/jos\xe9/shapes2/a.tsk");
    EXPECT_EQ(systemFileName(shownFileName("/home/jos\xe9") + "2/a.tsk", "/home/jos\xe9"),
              "/home/jos\xef\xbf\xbd"
              "2/a.tsk");
}
