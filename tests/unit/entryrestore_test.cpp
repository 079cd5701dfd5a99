// Taking an entry's exact state and putting it back on a real file system.
#include "platform/dosattrib.h"
#include "platform/systemplatform.h"

#include "fake/entrysetup.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statusOf(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st;
}

// A file of mode 0664 without a stored value and a set-group-id folder of mode 2775 come back exactly after read-only,
// hidden and new stamps: every mode bit, Modified to the nanosecond, and no value where there was none. A restore of
// what is already as listed writes nothing (the change time stays).
TEST(EntryRestoreTest, PutsBackExactlyWhatWasListed)
{
    TempDir dir;
    SystemPlatform platform;
    const std::string file = dir.makeFile("g1");
    ASSERT_EQ(chmod(file.c_str(), 0664), 0);
    const std::string folder = dir.makeFolder("g2");
    ASSERT_EQ(chmod(folder.c_str(), 02775), 0);
    const std::string samba = dir.makeFile("samba");
    const std::vector<unsigned char> value = {'0', 'x', '2', '0'}; // archive, in the legacy text form
    ASSERT_TRUE(storeValue(samba, value));
    for (const std::string& path : {file, folder, samba}) {
        const timespec exact[2] = {{0, UTIME_OMIT}, {1'000'000'000, 798'992'382}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), exact, 0), 0);
        const std::optional<EntrySnapshot> listed = platform.snapshotEntry(path);
        ASSERT_TRUE(listed);
        const struct stat before = statusOf(path);

        EntryChange change;
        change.modified = 132'000'000'000'000'000;
        change.created = 131'000'000'000'000'000;
        change.attributes = AttributeMasks{~kAttrArchive, kAttrReadOnly | kAttrHidden};
        ASSERT_EQ(platform.changeEntry(path, change).attributesFailure, "") << path;
        const EntryChangeOutcome restored = platform.restoreEntry(path, *listed);
        EXPECT_EQ(restored.openFailure + restored.stampsFailure + restored.attributesFailure, "") << path;

        const struct stat after = statusOf(path);
        EXPECT_EQ(after.st_mode, before.st_mode) << path;
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec) << path;
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << path;
        EXPECT_EQ(storedValue(path), path == samba ? value : std::vector<unsigned char>{}) << path;
        EXPECT_EQ(restored.after.attrs, listed->info.attrs) << path;
        EXPECT_EQ(restored.after.created, listed->info.created) << path;

        platform.restoreEntry(path, *listed);
        EXPECT_EQ(statusOf(path).st_ctim.tv_nsec, after.st_ctim.tv_nsec) << path << " was written again";
    }
}

} // namespace
