// Where the running Stampkeep can be reached: the runtime folder, or a private folder of the user's own.
#include "platform/runtimefolder.h"

#include "fake/scopedvariable.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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

TEST(RuntimeFolder, AbsoluteXdgRuntimeDirIsTaken)
{
    const ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/4242");
    std::string error;
    EXPECT_EQ(runtimeFolder(error), std::optional<std::string>("/run/user/4242"));
}

} // namespace
