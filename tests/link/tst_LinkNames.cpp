#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "OtherUser.h"
#include "ScratchDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tesk;

namespace {

const std::string kUid = std::to_string(::getuid());

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

LinkNames namesUnder(const char* runtimeDir, std::string_view tag = {}) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old != nullptr ? old : "";
    runtimeDir ? ::setenv("XDG_RUNTIME_DIR", runtimeDir, 1) : ::unsetenv("XDG_RUNTIME_DIR");
    LinkNames names = LinkNames::forUser(tag);
    old ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    return names;
}

} // namespace

// These names are what other viewers must follow.
TEST(LinkNamesTest, TheSocketsLiveInTheRuntimeFolderOrTheUsersOwnInTmp) {
    const tesk::testing::ScratchDir scratch("tesk_names");
    const std::string run = scratch.file("run");
    ASSERT_EQ(::mkdir(run.c_str(), 0700), 0);
    const mode_t oldMask = ::umask(0277);
    const LinkNames names = namesUnder(run.c_str());
    ::umask(oldMask);
    EXPECT_EQ(modeOf(run + "/tesk"), 0700u) << "private whatever the umask";
    EXPECT_EQ(names.block, "/KOB_APP-" + kUid);
    EXPECT_EQ(names.endpoint(4660), run + "/tesk/endpoint-4660");
    EXPECT_EQ(names.windowClass(kEditorClassName), run + "/tesk/class-CTeskMainFrame");
    EXPECT_EQ(names.windowClass(kViewerClassName), run + "/tesk/class-REVIDareRarud");
    EXPECT_EQ(namesUnder(run.c_str(), "t1").endpoint(7), run + "/tesk/t1-endpoint-7");
    EXPECT_EQ(namesUnder(nullptr).endpoint(7), "/tmp/tesk-" + kUid + "/endpoint-7");
    EXPECT_EQ(namesUnder("relative").endpoint(7), "/tmp/tesk-" + kUid + "/endpoint-7");
}

TEST(LinkNamesTest, AFolderAnotherUserCouldEnterTakeOrSwapIsRefused) {
    const tesk::testing::ScratchDir scratch("tesk_names");
    const std::string tmp = scratch.path().string();
    const std::string own = tmp + "/tesk-" + kUid;
    const std::string run = tmp + "/run";
    ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(own.c_str(), 0755), 0);
    EXPECT_EQ(linkFolder(nullptr, tmp), "") << "others may enter";
    ASSERT_EQ(::rename(own.c_str(), run.c_str()), 0);
    ASSERT_EQ(::chmod(run.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(run.c_str(), own.c_str()), 0);
    EXPECT_EQ(linkFolder(nullptr, tmp), "") << "a link";
    EXPECT_EQ(linkFolder(own.c_str(), tmp), "") << "a runtime folder that is a link";
    ASSERT_EQ(::chmod(run.c_str(), 0777), 0);
    EXPECT_EQ(linkFolder(run.c_str(), tmp), "") << "a runtime folder others may write in";
    ASSERT_EQ(::chmod(run.c_str(), 0700), 0);

    // Opened after a window was bound, the folder reaches nobody.
    const LinkNames names = namesUnder(run.c_str());
    const auto box = Mailbox::bind(names.endpoint(1));
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(::chmod(names.folder.c_str(), 0755), 0);
    EXPECT_EQ(postMessage(names.endpoint(1), {kMsgLoad, 0, 0}), PostResult::Refused);
    EXPECT_EQ(Mailbox::bind(names.endpoint(2)), nullptr);

    if (::geteuid() == 0) {
        using tesk::testing::kOtherUser;
        ASSERT_EQ(::chown(names.folder.c_str(), kOtherUser, kOtherUser), 0);
        ASSERT_EQ(::chmod(names.folder.c_str(), 0700), 0);
        EXPECT_EQ(linkFolder(run.c_str(), tmp), "") << "a tesk folder of another user";
        ASSERT_EQ(::chown(run.c_str(), kOtherUser, kOtherUser), 0);
        EXPECT_EQ(linkFolder(run.c_str(), tmp), "") << "a runtime folder of another user";
        // The neighbour makes the user's folder in the shared temporary folder first.
        ASSERT_EQ(::unlink(own.c_str()), 0);
        ASSERT_EQ(::chmod(tmp.c_str(), 01777), 0);
        EXPECT_EQ(tesk::testing::runAsUser(kOtherUser, [&] { return ::mkdir(own.c_str(), 0700); }),
                  0);
        EXPECT_EQ(linkFolder(nullptr, tmp), "") << "made by another user";
    }
}
