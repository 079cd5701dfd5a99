// Where the running Stampkeep can be reached: the runtime folder, or a private folder of the user's own.
#include "platform/runtimefolder.h"

#include "fake/scopedvariable.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

// A folder of another user that only its owner may enter: made for `nobody` when we are root, else one of root's.
std::optional<std::string> othersPrivateFolder(const TempDir& temporary)
{
    if (geteuid() == 0) {
        const std::string folder = temporary.makeFolder("nobody's");
        if (chmod(folder.c_str(), 0700) != 0 || chown(folder.c_str(), kNobody, kNobody) != 0)
            return std::nullopt;
        return folder;
    }
    for (const char* folder : {"/root", "/proc/1/fd"}) {
        struct stat st;
        if (lstat(folder, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid != getuid() && (st.st_mode & 077) == 0)
            return folder;
    }
    return std::nullopt;
}

// Without an absolute XDG_RUNTIME_DIR, a folder of the user's own in the temporary folder is made private, and one
// that others may enter is refused.
TEST(RuntimeFolder, FallbackIsPrivateOrNothing)
{
    TempDir temporary;
    const ScopedVariable runtime("XDG_RUNTIME_DIR", "relative/run");
    const ScopedVariable tmpdir("TMPDIR", temporary.path().c_str());
    std::string error;
    const std::optional<std::string> folder = runtimeFolder(error);
    ASSERT_TRUE(folder) << error;
    EXPECT_EQ(*folder, temporary / ("stampkeep-" + std::to_string(getuid())));
    struct stat st;
    ASSERT_EQ(stat(folder->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_EQ(chmod(folder->c_str(), 0755), 0);
    EXPECT_FALSE(runtimeFolder(error));
    EXPECT_NE(error.find("not a private folder"), std::string::npos);
}

// XDG_RUNTIME_DIR is taken only as a private folder of the user's own; another user's (as after `su` or `sudo -E`),
// one that others may enter, and a link to a private one all give way to the fallback.
TEST(RuntimeFolder, XdgRuntimeDirOnlyWhenPrivateAndOurs)
{
    TempDir temporary;
    const ScopedVariable tmpdir("TMPDIR", temporary.path().c_str());
    const std::string fallback = temporary / ("stampkeep-" + std::to_string(getuid()));
    const std::string own = temporary.makeFolder("own");
    ASSERT_EQ(chmod(own.c_str(), 0700), 0);
    const std::string open = temporary.makeFolder("open");
    ASSERT_EQ(chmod(open.c_str(), 0755), 0);
    const std::string link = temporary / "link";
    ASSERT_EQ(symlink(own.c_str(), link.c_str()), 0);
    const std::optional<std::string> others = othersPrivateFolder(temporary);
    ASSERT_TRUE(others) << "no folder of another user that only its owner may enter";

    std::string error;
    for (const std::string& refused : {*others, open, link}) {
        const ScopedVariable runtime("XDG_RUNTIME_DIR", refused.c_str());
        EXPECT_EQ(runtimeFolder(error), fallback) << refused << ": " << error;
    }
    const ScopedVariable runtime("XDG_RUNTIME_DIR", own.c_str());
    EXPECT_EQ(runtimeFolder(error), own) << error;
}

} // namespace
