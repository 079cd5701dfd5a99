// Attributes and stamps on a real file system: the mode, the times and `user.DOSATTRIB`, read and written back.
#include "platform/dosattrib.h"
#include "platform/entryinfo.h"
#include "platform/filetime.h"
#include "platform/openentry.h"
#include "platform/systemplatform.h"

#include "fake/entrysetup.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// 2001-05-06 13:14:15 UTC, the worked example's creation time.
constexpr FileTime kCreated = 126336284550000000;
// A modification time with every 100 ns digit in use.
constexpr FileTime kModified = 132000000001234567;

const Bytes kWorkedExample = {0x00, 0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00,
                              0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01};

mode_t modeOf(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

timespec accessTimeOf(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_atim;
}

FileTime birthTimeOf(const std::string& path)
{
    struct statx stx
    {
    };
    EXPECT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &stx), 0);
    EXPECT_TRUE(stx.stx_mask & STATX_BTIME) << "the test folder's file system keeps no birth times";
    return fileTimeFromTimespec({static_cast<time_t>(stx.stx_btime.tv_sec), stx.stx_btime.tv_nsec});
}

std::uint32_t attrsOf(const std::string& path)
{
    const std::optional<EntryInfo> info = readEntryInfo(path);
    EXPECT_TRUE(info) << path;
    return info ? info->attrs : 0xFFFFFFFF;
}

class EntryInfoTest : public ::testing::Test
{
protected:
    void setTimes(const std::string& path, std::optional<FileTime> created, std::optional<FileTime> modified)
    {
        ASSERT_EQ(setStamps(path, created, modified), "");
    }

    TempDir dir;
    SystemPlatform platform;
};

// Files and folders alike take both stamps to the 100 ns, leave the access time alone, and a stamp not given stays.
TEST_F(EntryInfoTest, StampsRoundTripForFilesAndFolders)
{
    for (const std::string& path : {dir.makeFile("file.txt", "x"), dir.makeFolder("folder")}) {
        const timespec accessed{1000000000, 123456789};
        const timespec times[2] = {accessed, {0, UTIME_OMIT}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

        setTimes(path, kCreated + 1234567, kModified);
        const std::optional<EntryInfo> info = platform.readEntry(path);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->created, kCreated + 1234567) << path;
        EXPECT_EQ(info->modified, kModified) << path;
        EXPECT_EQ(accessTimeOf(path).tv_sec, accessed.tv_sec);
        EXPECT_EQ(accessTimeOf(path).tv_nsec, accessed.tv_nsec);

        setTimes(path, std::nullopt, kModified + 10);
        EXPECT_EQ(readEntryInfo(path)->created, kCreated + 1234567);
        setTimes(path, kCreated, std::nullopt);
        EXPECT_EQ(readEntryInfo(path)->modified, kModified + 10);
        EXPECT_EQ(readEntryInfo(path)->created, kCreated);
    }
}

// The value written is the version 4 layout byte for byte, and what is written reads back.
TEST_F(EntryInfoTest, CreationTimeAndAttributesGoToDosAttrib)
{
    const std::string file = dir.makeFile("a.txt");
    setTimes(file, kCreated, std::nullopt);
    ASSERT_EQ(setAttributes(file, kAttrArchive), "");
    EXPECT_EQ(storedValue(file), kWorkedExample);
    EXPECT_EQ(attrsOf(file), kAttrArchive);

    ASSERT_EQ(setAttributes(file, kAttrHidden | kAttrSystem | kAttrArchive), "");
    EXPECT_EQ(attrsOf(file), kAttrHidden | kAttrSystem | kAttrArchive);
    EXPECT_EQ(readEntryInfo(file)->created, kCreated);
    ASSERT_EQ(setAttributes(file, 0), "");
    EXPECT_EQ(attrsOf(file), 0u);
    EXPECT_EQ(decodeDosAttrib(storedValue(file))->attrib, 0u);

    const std::string folder = dir.makeFolder("sub");
    ASSERT_EQ(setAttributes(folder, kAttrDirectory | kAttrHidden), "");
    EXPECT_EQ(attrsOf(folder), kAttrDirectory | kAttrHidden);
    EXPECT_EQ(decodeDosAttrib(storedValue(folder))->attrib, kAttrDirectory | kAttrHidden);
}

// Without a stored value an entry has none of archive, system and hidden, and its creation time is the birth time;
// the first value written holds that time, so that Samba shows the same one.
TEST_F(EntryInfoTest, WithoutAStoredValueTheFileSystemAnswers)
{
    const std::string file = dir.makeFile("plain.txt");
    const std::optional<EntryInfo> info = readEntryInfo(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->attrs, 0u);
    EXPECT_EQ(info->created, birthTimeOf(file));

    ASSERT_EQ(setAttributes(file, kAttrHidden), "");
    const std::optional<DosAttrib> stored = decodeDosAttrib(storedValue(file));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->attrib, kAttrHidden);
    EXPECT_EQ(stored->createTime, info->created);
}

// A read of the mode and times alone sees what the file system says; adding the stored value then gives exactly what
// a full read gives, for files and folders, with and without a stored value.
TEST_F(EntryInfoTest, StoredValueAddedLaterEqualsAFullRead)
{
    const std::string stored = dir.makeFile("stored.txt");
    setTimes(stored, kCreated, kModified);
    ASSERT_EQ(setAttributes(stored, kAttrReadOnly | kAttrHidden | kAttrArchive), "");
    const std::string folder = dir.makeFolder("folder");
    ASSERT_EQ(setAttributes(folder, kAttrDirectory | kAttrSystem), "");
    const std::string plain = dir.makeFile("plain.txt");

    for (const std::string& path : {stored, folder, plain}) {
        std::optional<EntryInfo> partial = readEntryInfo(path, EntryDetail::ModeAndTimes);
        const std::optional<EntryInfo> full = readEntryInfo(path);
        ASSERT_TRUE(partial && full) << path;
        EXPECT_EQ(partial->attrs, full->attrs & (kAttrReadOnly | kAttrDirectory)) << path;
        EXPECT_EQ(partial->modified, full->modified) << path;
        addStoredInfo(path, *partial);
        EXPECT_EQ(partial->attrs, full->attrs) << path;
        EXPECT_EQ(partial->created, full->created) << path;
    }
    EXPECT_EQ(readEntryInfo(stored, EntryDetail::ModeAndTimes)->created, birthTimeOf(stored));
    EXPECT_EQ(readEntryInfo(stored)->created, kCreated);
}

// Samba's own values are read, damaged ones count as absent, and the next write replaces either with a sound value.
TEST_F(EntryInfoTest, ForeignAndDamagedValues)
{
    const std::string file = dir.makeFile("samba.txt");
    ASSERT_TRUE(storeValue(file, {0x00, 0x00, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00,
                                  0x22, 0x12, 0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01}));
    EXPECT_EQ(attrsOf(file), 0x1222u);
    EXPECT_EQ(readEntryInfo(file)->created, kCreated);
    // Sparse (0x200) and offline (0x1000) are not ours: they stay whatever is asked.
    ASSERT_EQ(setAttributes(file, kAttrSystem), "");
    const std::optional<DosAttrib> rewritten = decodeDosAttrib(storedValue(file));
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->attrib, 0x1204u);
    EXPECT_EQ(rewritten->createTime, kCreated);
    EXPECT_EQ(storedValue(file).size(), 32u);

    for (const Bytes& damaged : {Bytes{0x00, 0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x11, 0x00},
                                 Bytes{0x00, 0x00, 0x09, 0x00, 0x09, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00,
                                       0x20, 0x00, 0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01},
                                 Bytes{'g', 'a', 'r', 'b', 'a', 'g', 'e'}, Bytes(300, 0x20)}) {
        const std::string path = dir.makeFile("damaged.txt");
        ASSERT_TRUE(storeValue(path, damaged));
        EXPECT_EQ(attrsOf(path), 0u);
        EXPECT_EQ(readEntryInfo(path)->created, birthTimeOf(path));

        // A value this program cannot read is someone else's: it is neither replaced nor removed.
        EXPECT_EQ(setAttributes(path, kAttrArchive), kStoredValueUnknown);
        EXPECT_EQ(storedValue(path), damaged);
        ASSERT_EQ(removexattr(path.c_str(), kDosAttribName), 0);
    }
}

// Read-only is the owner's write permission: setting it removes every write bit, clearing it gives the owner's back.
TEST_F(EntryInfoTest, ReadOnlyLivesInTheMode)
{
    const std::string file = dir.makeFile("ro.txt");
    ASSERT_EQ(chmod(file.c_str(), 0666), 0);
    ASSERT_EQ(setAttributes(file, kAttrReadOnly | kAttrArchive), "");
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_EQ(attrsOf(file), kAttrReadOnly | kAttrArchive);
    EXPECT_EQ(decodeDosAttrib(storedValue(file))->attrib, kAttrReadOnly | kAttrArchive);

    // Hidden changes and the creation time changes while the entry stays read-only.
    ASSERT_EQ(setAttributes(file, kAttrReadOnly | kAttrHidden), "");
    setTimes(file, kCreated, std::nullopt);
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_EQ(attrsOf(file), kAttrReadOnly | kAttrHidden);
    EXPECT_EQ(readEntryInfo(file)->created, kCreated);

    ASSERT_EQ(setAttributes(file, kAttrHidden), "");
    EXPECT_EQ(modeOf(file), 0644u);
    EXPECT_EQ(attrsOf(file), kAttrHidden);
    EXPECT_EQ(decodeDosAttrib(storedValue(file))->attrib, kAttrHidden);

    // A folder loses its write bits the same way; its search bits stay.
    const std::string folder = dir.makeFolder("rofolder");
    ASSERT_EQ(chmod(folder.c_str(), 0775), 0);
    ASSERT_EQ(setAttributes(folder, kAttrDirectory | kAttrReadOnly), "");
    EXPECT_EQ(modeOf(folder), 0555u);
    ASSERT_EQ(setAttributes(folder, kAttrDirectory), "");
    EXPECT_EQ(modeOf(folder), 0755u);
}

TEST_F(EntryInfoTest, ReadOnlyFileRefusesWriting)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write to any file, whatever its mode";
    const std::string file = dir.makeFile("locked.txt");
    ASSERT_EQ(setAttributes(file, kAttrReadOnly), "");
    errno = 0;
    const int fd = open(file.c_str(), O_WRONLY);
    if (fd >= 0)
        close(fd);
    EXPECT_LT(fd, 0);
    EXPECT_EQ(errno, EACCES);
}

// Reading follows a link, as a listing of a named link does; a change never goes through one.
TEST_F(EntryInfoTest, LinksAreReadButNeverChangedThrough)
{
    const std::string target = dir.makeFile("target.txt");
    const std::string link = dir / "link";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    setTimes(target, kCreated, kModified);
    EXPECT_EQ(readEntryInfo(link)->modified, kModified);
    EXPECT_EQ(setAttributes(link, kAttrReadOnly | kAttrSystem), kLinkNotFollowed);
    EXPECT_EQ(setStamps(link, kCreated + 10, kModified + 10), kLinkNotFollowed);
    EXPECT_EQ(attrsOf(target), 0u);
    EXPECT_EQ(readEntryInfo(target)->modified, kModified);
}

TEST_F(EntryInfoTest, MissingEntriesFailWithTheSystemsMessage)
{
    const std::string missing = dir / "missing.txt";
    errno = 0;
    EXPECT_FALSE(readEntryInfo(missing));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(setAttributes(missing, kAttrHidden), std::strerror(ENOENT));
    EXPECT_EQ(setStamps(missing, kCreated, kModified), std::strerror(ENOENT));
    EXPECT_FALSE(platform.readEntry(missing));
}

} // namespace
