#include "LinkNames.h"
#include "LinkProtocol.h"
#include "MessageTransport.h"
#include "OtherUser.h"
#include "ScratchDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace tesk;
using tesk::testing::ScratchDir;

namespace {

const std::string kUid = std::to_string(::getuid());

/// Sets XDG_RUNTIME_DIR, or takes it away, for the life of the object.
class RuntimeDir {
public:
    explicit RuntimeDir(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            m_old = old;
        }
        if (value != nullptr) {
            ::setenv("XDG_RUNTIME_DIR", value, 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    ~RuntimeDir() {
        if (m_old) {
            ::setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    RuntimeDir(const RuntimeDir&) = delete;
    RuntimeDir& operator=(const RuntimeDir&) = delete;

private:
    std::optional<std::string> m_old;
};

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void makeFolder(const std::string& path, mode_t mode) {
    ASSERT_EQ(::mkdir(path.c_str(), mode), 0) << path;
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

} // namespace

// These names are what other viewers must follow.
TEST(LinkNamesTest, TheSocketsLiveInTheUsersRuntimeFolderOrTheirOwnInTmp) {
    const ScratchDir scratch("tesk_names");
    const std::string runtime = scratch.file("run");
    makeFolder(runtime, 0700);
    {
        const RuntimeDir env(runtime.c_str());
        // Made private whatever the umask would leave of the mode.
        const mode_t oldMask = ::umask(0277);
        const LinkNames names = LinkNames::forUser();
        ::umask(oldMask);
        EXPECT_EQ(names.block, "/KOB_APP-" + kUid);
        EXPECT_EQ(names.endpoint(4660), runtime + "/tesk/endpoint-4660");
        EXPECT_EQ(names.windowClass(kEditorClassName), runtime + "/tesk/class-CTeskMainFrame");
        EXPECT_EQ(names.windowClass(kViewerClassName), runtime + "/tesk/class-REVIDareRarud");
        EXPECT_EQ(modeOf(runtime + "/tesk"), 0700u);

        const LinkNames tagged = LinkNames::forUser("t1");
        EXPECT_EQ(tagged.block, "/KOB_APP-" + kUid + "-t1");
        EXPECT_EQ(tagged.endpoint(7), runtime + "/tesk/t1-endpoint-7");
    }
    {
        const RuntimeDir env(nullptr);
        EXPECT_EQ(LinkNames::forUser().endpoint(7), "/tmp/tesk-" + kUid + "/endpoint-7");
    }
    EXPECT_EQ(linkFolder(nullptr, scratch.path().string()), scratch.file("tesk-" + kUid));
    EXPECT_EQ(modeOf(scratch.file("tesk-" + kUid)), 0700u);
    EXPECT_EQ(linkFolder("relative/run", scratch.path().string()), scratch.file("tesk-" + kUid))
        << "a runtime folder that is no absolute path is none";
}

TEST(LinkNamesTest, AFolderOthersCouldEnterOrSwapIsRefused) {
    const ScratchDir scratch("tesk_names");
    const std::string tmp = scratch.path().string();
    const std::string own = scratch.file("tesk-" + kUid);
    const std::string elsewhere = scratch.file("elsewhere");
    makeFolder(elsewhere, 0700);

    makeFolder(own, 0755);
    EXPECT_EQ(linkFolder(nullptr, tmp), "") << "open to others";
    ASSERT_EQ(::rmdir(own.c_str()), 0);
    ASSERT_EQ(::symlink(elsewhere.c_str(), own.c_str()), 0);
    EXPECT_EQ(linkFolder(nullptr, tmp), "") << "a link to a private folder";
    ASSERT_EQ(::unlink(own.c_str()), 0);

    const std::string runtime = scratch.file("run");
    makeFolder(runtime, 0777);
    EXPECT_EQ(linkFolder(runtime.c_str(), tmp), "") << "a runtime folder others may write in";
    ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
    const std::string runLink = scratch.file("run-link");
    ASSERT_EQ(::symlink(runtime.c_str(), runLink.c_str()), 0);
    EXPECT_EQ(linkFolder(runLink.c_str(), tmp), "") << "a runtime folder that is a link";
    makeFolder(runtime + "/tesk", 0750);
    EXPECT_EQ(linkFolder(runtime.c_str(), tmp), "") << "its tesk folder open to the group";

    // A folder private when the window was bound but opened since reaches nobody.
    ASSERT_EQ(::chmod((runtime + "/tesk").c_str(), 0700), 0);
    const RuntimeDir env(runtime.c_str());
    const LinkNames names = LinkNames::forUser();
    auto box = Mailbox::bind(names.endpoint(1));
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(::chmod(names.folder.c_str(), 0755), 0);
    EXPECT_EQ(postMessage(names.endpoint(1), {kMsgLoad, 0, 0}), PostResult::Refused);
    EXPECT_EQ(Mailbox::bind(names.endpoint(2)), nullptr);
    ASSERT_EQ(::chmod(names.folder.c_str(), 0700), 0);
    EXPECT_EQ(postMessage(names.endpoint(1), {kMsgLoad, 0, 0}), PostResult::Posted);
}

TEST(LinkNamesTest, AnotherUsersFolderIsRefused) {
    if (!tesk::testing::canSwitchUser()) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    using tesk::testing::kOtherUser;
    const ScratchDir scratch("tesk_names");
    const std::string tmp = scratch.path().string();
    const std::string own = scratch.file("tesk-" + kUid);
    // The neighbour makes the user's folder in the shared temporary folder first.
    ASSERT_EQ(::chmod(tmp.c_str(), 01777), 0);
    EXPECT_EQ(tesk::testing::runAsUser(kOtherUser, [&] { return ::mkdir(own.c_str(), 0700); }), 0);
    EXPECT_EQ(linkFolder(nullptr, tmp), "");

    const std::string runtime = scratch.file("run");
    makeFolder(runtime, 0700);
    makeFolder(runtime + "/tesk", 0700);
    ASSERT_EQ(::chown((runtime + "/tesk").c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(linkFolder(runtime.c_str(), tmp), "") << "a tesk folder of another user";
    ASSERT_EQ(::chown((runtime + "/tesk").c_str(), ::getuid(), ::getgid()), 0);
    ASSERT_EQ(::chown(runtime.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(linkFolder(runtime.c_str(), tmp), "") << "a runtime folder of another user";
}
