// Changing one entry on a real file system: what each step leaves behind, also when it fails.
#include "platform/descriptor.h"
#include "platform/dosattrib.h"
#include "platform/entrychange.h"
#include "platform/filetime.h"
#include "platform/openentry.h"
#include "platform/systemplatform.h"

#include "fake/entrysetup.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr FileTime kSecond = kFileTimeUnitsPerSecond;
// 2001-05-06 13:14:15 UTC.
constexpr FileTime kCreated = 126336284550000000;
constexpr FileTime kModified = kCreated + 3600 * kSecond;
// 2500-01-01 00:00:00 UTC: past what ext4 keeps (2446), within what btrfs and XFS with big timestamps keep.
constexpr FileTime kYear2500 = (16'725'225'600 + kUnixEpochInFileTimeSeconds) * kSecond;

// Samba's version 5 value: archive, the creation time above.
const Bytes kSambaValue = {0x00, 0x00, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00,
                           0x20, 0x00, 0x00, 0x00, 0x80, 0x6D, 0xD8, 0x72, 0x2E, 0xD6, 0xC0, 0x01};

struct stat statusOf(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st;
}

FileTime modifiedOf(const std::string& path)
{
    return fileTimeFromTimespec(statusOf(path).st_mtim);
}

class EntryChangeTest : public ::testing::Test
{
protected:
    EntryChangeOutcome change(const std::string& path, std::optional<FileTime> modified,
                              std::optional<FileTime> created = {}, std::optional<AttributeMasks> attributes = {})
    {
        EntryChange request;
        request.modified = modified;
        request.created = created;
        request.attributes = attributes;
        return platform.changeEntry(path, request);
    }

    TempDir dir;
    SystemPlatform platform;
};

// Read-only is the absence of the owner's write bit; group and other keep theirs through stamp and value changes.
TEST_F(EntryChangeTest, ReadOnlyModeIsKeptBitForBit)
{
    const std::string file = dir.makeFile("ro.txt");
    ASSERT_EQ(chmod(file.c_str(), 0464), 0);

    const EntryChangeOutcome outcome = change(file, kModified, kCreated, AttributeMasks{~0u, kAttrArchive});
    EXPECT_EQ(outcome.stampsFailure + outcome.attributesFailure, "");
    EXPECT_EQ(statusOf(file).st_mode & 07777, 0464u);
    EXPECT_EQ(outcome.after.attrs, kAttrReadOnly | kAttrArchive);
    const std::optional<DosAttrib> stored = decodeDosAttrib(storedValue(file));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->attrib, kAttrReadOnly | kAttrArchive);
    EXPECT_EQ(stored->createTime, kCreated);
    EXPECT_EQ(modifiedOf(file), kModified);
}

// A failed step leaves the entry as it was: here only the owner may set times and the mode, but anyone may write the
// value of this file (mode 0666), so neither a new Created stamp nor read-only may reach it. Needs root to give the
// file to one user and run the changes as another.
TEST_F(EntryChangeTest, FailedStepsLeaveTheStoredValueAlone)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run the change as a user who does not own the file";
    const std::string file = dir.makeFile("theirs.txt");
    ASSERT_TRUE(storeValue(file, kSambaValue));
    ASSERT_EQ(setStamps(file, std::nullopt, kModified), "");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chown(file.c_str(), 65533, 65533), 0);
    ASSERT_EQ(chmod(file.c_str(), 0666), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const EntryChangeOutcome stamps = change(file, kCreated, kModified + kSecond);
        const EntryChangeOutcome readOnly =
            change(file, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrReadOnly});
        _exit(stamps.openFailure.empty() && !stamps.stampsFailure.empty() && !readOnly.attributesFailure.empty() ? 0
                                                                                                                 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the changes did not fail as expected";
    EXPECT_EQ(storedValue(file), kSambaValue);
    EXPECT_EQ(modifiedOf(file), kModified);
}

// A stamp the file system cannot keep is a failure, and the old one stays.
TEST_F(EntryChangeTest, AStampOutsideTheFileSystemsRangeFails)
{
    const std::string probe = dir.makeFile("probe.txt");
    const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(kYear2500)};
    ASSERT_EQ(utimensat(AT_FDCWD, probe.c_str(), times, 0), 0);
    if (modifiedOf(probe) == kYear2500)
        GTEST_SKIP() << "this file system keeps dates in 2500";

    const std::string file = dir.makeFile("far.txt");
    ASSERT_EQ(setStamps(file, std::nullopt, kModified), "");
    EntryChange request;
    request.modified = kYear2500;
    request.readBack = false;
    EXPECT_EQ(platform.changeEntry(file, request).stampsFailure, kStampOutOfRange);
    EXPECT_EQ(modifiedOf(file), kModified);

    // With a new Created stamp too, neither stamp changes.
    request.created = kCreated;
    EXPECT_EQ(platform.changeEntry(file, request).stampsFailure, kStampOutOfRange);
    EXPECT_EQ(storedValue(file), Bytes{});
    EXPECT_EQ(modifiedOf(file), kModified);
}

// A value the file system has no room for leaves the mode as it was: the read-only file that was to become writable
// and hidden stays read-only. The room is filled with other values first; a file system with room for any number of
// them cannot run this.
TEST_F(EntryChangeTest, AFailedValueWritePutsTheModeBack)
{
    const std::string file = dir.makeFile("full.txt");
    int filled = 0;
    for (const std::size_t size : {1024, 256, 64, 16, 4, 1}) {
        const std::string value(size, 'x');
        while (filled < 1000 &&
               setxattr(file.c_str(), ("user.f" + std::to_string(filled)).c_str(), value.data(), size, 0) == 0)
            ++filled;
    }
    if (filled >= 1000 || storeValue(file, Bytes{0}))
        GTEST_SKIP() << "this file system has room for every value";
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);

    const EntryChangeOutcome outcome =
        change(file, std::nullopt, std::nullopt, AttributeMasks{~kAttrReadOnly, kAttrHidden});
    EXPECT_NE(outcome.attributesFailure, "");
    EXPECT_EQ(statusOf(file).st_mode & 07777, 0444u);
    EXPECT_EQ(storedValue(file), Bytes{});
}

// The value is written only when what it tells changes: a Samba value stays byte for byte, none is made for nothing,
// and a rewrite keeps the itime that Samba derives file ids from.
TEST_F(EntryChangeTest, TheStoredValueChangesOnlyWithWhatItTells)
{
    const std::string plain = dir.makeFile("plain.txt");
    ASSERT_EQ(chmod(plain.c_str(), 0444), 0);
    const std::string samba = dir.makeFile("samba.txt");
    ASSERT_TRUE(storeValue(samba, kSambaValue));
    for (const std::string& path : {plain, samba}) {
        EXPECT_EQ(change(path, kModified).stampsFailure, "");
        EXPECT_EQ(change(path, std::nullopt, std::nullopt, AttributeMasks{~kAttrHidden, 0}).attributesFailure, "");
    }
    EXPECT_EQ(storedValue(plain), Bytes{});
    EXPECT_EQ(storedValue(samba), kSambaValue);

    const std::string withItime = dir.makeFile("itime.txt");
    Bytes value = kSambaValue;
    value[2] = value[4] = 0x04; // version 4: itime before the creation time
    value[8] = 0x51;
    const Bytes itime = {1, 2, 3, 4, 5, 6, 7, 8};
    value.insert(value.begin() + 16, itime.begin(), itime.end());
    ASSERT_TRUE(storeValue(withItime, value));
    EXPECT_EQ(change(withItime, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrHidden}).attributesFailure, "");
    const Bytes rewritten = storedValue(withItime);
    ASSERT_EQ(rewritten.size(), 32u);
    EXPECT_EQ(rewritten[8], 0x51);
    EXPECT_EQ(rewritten[12], kAttrArchive | kAttrHidden);
    EXPECT_EQ(Bytes(rewritten.begin() + 16, rewritten.begin() + 24), itime);
}

// A FIFO is held by path only: a change neither waits for a writer nor lets one waiting for a reader go on, and its
// stamp is set.
TEST_F(EntryChangeTest, SpecialFilesAreNeverOpenedForReading)
{
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
        _exit(open(fifo.c_str(), O_WRONLY) >= 0 ? 0 : 1);

    const EntryChangeOutcome outcome = change(fifo, kModified);
    EXPECT_EQ(outcome.openFailure + outcome.stampsFailure, "");
    EXPECT_EQ(modifiedOf(fifo), kModified);
    EXPECT_EQ(outcome.after.modified, kModified);
    usleep(100'000);
    int status = 0;
    EXPECT_EQ(waitpid(writer, &status, WNOHANG), 0) << "the writer found a reader";
    kill(writer, SIGKILL);
    waitpid(writer, &status, 0);
}

// Runs `body` in a child process and answers whether it exited 0: for a umask, a mount namespace or another user that
// must not reach the rest of the suite.
bool inChild(const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

timespec modifiedTimespecOf(const std::string& path)
{
    return statusOf(path).st_mtim;
}

// A link planted in a folder another user controls leads nowhere: neither the full change nor the stamp-only one
// reaches the file or device it names, also when the link is swapped in after the entry was listed.
TEST_F(EntryChangeTest, LinksAreNeverFollowed)
{
    const std::string target = dir.makeFile("target.txt");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(storeValue(target, kSambaValue));
    ASSERT_EQ(setStamps(target, std::nullopt, kModified), "");
    std::vector<std::string> targets = {target};
    const std::string device = dir / "null";
    if (geteuid() == 0 && mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        targets.push_back(device);
    const std::string theirs = dir.makeFolder("u");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    }

    for (const std::string& planted : targets) {
        const struct stat before = statusOf(planted);
        const std::string link = theirs + "/b.txt";
        ASSERT_EQ(symlink(planted.c_str(), link.c_str()), 0);
        EXPECT_EQ(change(link, kCreated, kCreated, AttributeMasks{~0u, kAttrReadOnly | kAttrHidden}).openFailure,
                  kLinkNotFollowed);
        EntryChange stampOnly;
        stampOnly.modified = kCreated;
        stampOnly.readBack = false;
        platform.changeEntry(link, stampOnly);
        const struct stat after = statusOf(planted);
        EXPECT_EQ(after.st_mode, before.st_mode) << planted;
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec) << planted;
        EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec) << planted;
        ASSERT_EQ(unlink(link.c_str()), 0);
    }
    EXPECT_EQ(storedValue(target), kSambaValue);
}

// No half change, and what is put back is exactly what was read: where the attributes cannot be set (a stored value
// this program does not know, here 300 bytes of someone else's), the new stamp goes back to the nanosecond and the
// value stays byte for byte; a run that changes only the stamp leaves the value alone and succeeds.
TEST_F(EntryChangeTest, AFailedAttributeStepPutsTheStampBackExactly)
{
    const std::string file = dir.makeFile("foreign.txt");
    const Bytes foreign(300, 'x');
    ASSERT_TRUE(storeValue(file, foreign));
    const timespec exact[2] = {{0, UTIME_OMIT}, {1'000'000'000, 123'456'789}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), exact, 0), 0);

    const EntryChangeOutcome failed = change(file, kModified, std::nullopt, AttributeMasks{~0u, kAttrHidden});
    EXPECT_EQ(failed.attributesFailure, kStoredValueUnknown);
    EXPECT_EQ(failed.stampsFailure, kStoredValueUnknown);
    EXPECT_EQ(modifiedTimespecOf(file).tv_sec, 1'000'000'000);
    EXPECT_EQ(modifiedTimespecOf(file).tv_nsec, 123'456'789);
    EXPECT_EQ(storedValue(file), foreign);

    EXPECT_EQ(change(file, kModified).stampsFailure, "");
    EXPECT_EQ(modifiedOf(file), kModified);
    EXPECT_EQ(storedValue(file), foreign);
}

// On a file system without extended attributes, a change that needs the stored value keeps the old Modified stamp.
// Needs root for a ramfs mount in a private mount namespace.
TEST_F(EntryChangeTest, NoStoredValuesMeansNoNewStampEither)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to mount a ramfs";
    const std::string mountPoint = dir.makeFolder("ram");
    EXPECT_TRUE(inChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("none", mountPoint.c_str(), "ramfs", 0, nullptr) != 0)
            return false;
        const std::string file = mountPoint + "/f.txt";
        close(open(file.c_str(), O_CREAT | O_WRONLY, 0644));
        const timespec exact[2] = {{0, UTIME_OMIT}, {1'000'000'000, 123'456'789}};
        utimensat(AT_FDCWD, file.c_str(), exact, 0);
        const EntryChangeOutcome outcome = change(file, kModified, std::nullopt, AttributeMasks{~0u, kAttrArchive});
        const timespec after = modifiedTimespecOf(file);
        return !outcome.attributesFailure.empty() && after.tv_sec == 1'000'000'000 && after.tv_nsec == 123'456'789;
    }));
}

// An owner outside the file's group loses its set-group-id bit on every chmod, so the lift that writing the value
// needs would end at another mode: the change fails instead and the mode stays. Needs root to make such an owner.
TEST_F(EntryChangeTest, ALiftThatWouldDropSetGroupIdFails)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file to a user outside its group";
    const std::string file = dir.makeFile("sgid.txt");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chown(file.c_str(), 65534, 0), 0);
    ASSERT_EQ(chmod(file.c_str(), 02444), 0);
    EXPECT_TRUE(inChild([&] {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            return false;
        return change(file, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrHidden}).attributesFailure ==
               std::strerror(EPERM);
    }));
    EXPECT_EQ(statusOf(file).st_mode & 07777, 02444u);
    EXPECT_EQ(storedValue(file), Bytes{});
}

// A Created stamp the entry already has writes nothing: an ordinary user may set it on a file of root's that it can
// read but not write. Needs root to make such a file.
TEST_F(EntryChangeTest, CreatedAsItIsWritesNothing)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to own the file";
    const std::string file = dir.makeFile("roots.txt");
    ASSERT_TRUE(storeValue(file, kSambaValue));
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(file.c_str(), 0644), 0);
    EXPECT_TRUE(inChild([&] {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            return false;
        const EntryChangeOutcome outcome = change(file, std::nullopt, kCreated);
        return outcome.openFailure.empty() && outcome.stampsFailure.empty() && outcome.after.created == kCreated;
    }));
    EXPECT_EQ(storedValue(file), kSambaValue);
}

// Clearing read-only adds the write bits that `chmod +w` adds under the process's umask, so a round trip gives the
// usual mode back.
TEST_F(EntryChangeTest, ClearingReadOnlyFollowsTheUmask)
{
    for (const auto& [umaskBits, expected] : {std::pair{002u, 0664u}, std::pair{022u, 0644u}}) {
        const std::string file = dir.makeFile("rw" + std::to_string(umaskBits));
        ASSERT_EQ(chmod(file.c_str(), 0664), 0);
        EXPECT_TRUE(inChild([&] {
            umask(umaskBits);
            return change(file, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrReadOnly})
                       .attributesFailure.empty() &&
                   change(file, std::nullopt, std::nullopt, AttributeMasks{~kAttrReadOnly, 0})
                       .attributesFailure.empty();
        }));
        EXPECT_EQ(statusOf(file).st_mode & 07777, expected) << "umask " << umaskBits;
    }
}

// A forked child reaches its entries through its own descriptors, never through the table of the process it was forked
// from: here the child's entry gets the number under which the parent holds another file.
TEST_F(EntryChangeTest, AForkedChildChangesItsOwnEntries)
{
    const std::string parentFile = dir.makeFile("parent.txt");
    const std::string childFile = dir.makeFile("child.txt");
    ASSERT_EQ(change(parentFile, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrArchive}).attributesFailure, "");
    const Descriptor held(open(parentFile.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(held);

    EXPECT_TRUE(inChild([&] {
        close(held.get());
        return change(childFile, std::nullopt, std::nullopt, AttributeMasks{~0u, kAttrHidden})
            .attributesFailure.empty();
    }));
    const std::optional<DosAttrib> child = decodeDosAttrib(storedValue(childFile));
    const std::optional<DosAttrib> parent = decodeDosAttrib(storedValue(parentFile));
    ASSERT_TRUE(child && parent);
    EXPECT_EQ(child->attrib, kAttrHidden);
    EXPECT_EQ(parent->attrib, kAttrArchive);
}

} // namespace
