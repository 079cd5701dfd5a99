// Touching and untouching one entry, on real files and on the in-memory platform.
#include "core/touchedfile.h"

#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/stamps.h"
#include "fake/entrysetup.h"
#include "fake/fakeplatform.h"
#include "fake/fakerecordeddate.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr FileTime kSecond = 10'000'000;
const double kMay6th2001 = 37017.0; // 2001-05-06
const double k131415 = (13 * 3600 + 14 * 60 + 15) / 86400.0;

TouchedFile listed(const std::string& path)
{
    const std::vector<FileEntry> found = currentPlatform().findFiles(path, 1).entries;
    EXPECT_EQ(found.size(), 1u) << path;
    const FileEntry& entry = found.at(0);
    return TouchedFile(entry.attrs, entry.modified, entry.created, path);
}

EntrySnapshot snapshot(const std::string& path)
{
    const std::optional<EntrySnapshot> taken = currentPlatform().snapshotEntry(path);
    EXPECT_TRUE(taken) << path;
    return taken.value_or(EntrySnapshot{});
}

void stamp(const std::string& path, FileTime created, FileTime modified)
{
    ASSERT_EQ(setStamps(path, created, modified), "");
}

std::uint32_t attrsOnDisk(const std::string& path)
{
    return currentPlatform().readEntry(path).value().attrs;
}

class RealFileTest : public ::testing::Test
{
protected:
    const DateTimeFormats formats = BuildDateTimeFormats();
    TempDir folder;
};

// A name swapped after it was listed, for a link to another file or for a FIFO a writer waits on: the touch fails on
// it and reaches neither the link's target nor the writer.
TEST_F(RealFileTest, ANameSwappedAfterListingIsNotFollowedNorRead)
{
    const std::string target = folder.makeFile("target.txt");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const std::string linked = folder.makeFile("linked.txt");
    const std::string piped = folder.makeFile("piped.txt");
    TouchedFile link = listed(linked);
    TouchedFile fifo = listed(piped);
    ASSERT_EQ(unlink(linked.c_str()) + symlink(target.c_str(), linked.c_str()), 0);
    ASSERT_EQ(unlink(piped.c_str()) + mkfifo(piped.c_str(), 0644), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
        _exit(open(piped.c_str(), O_WRONLY) >= 0 ? 0 : 1);
    usleep(100'000); // the writer now waits in its open for a reader

    for (TouchedFile* file : {&link, &fifo}) {
        file->SetNewAttrs(~0u, kAttrReadOnly | kAttrHidden);
        EXPECT_NE(file->Touch(formats), 0) << file->FileName;
    }
    struct stat status;
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(storedValue(target), std::vector<unsigned char>{});
    usleep(100'000);
    int ended = 0;
    EXPECT_EQ(waitpid(writer, &ended, WNOHANG), 0) << "the writer found a reader";
    kill(writer, SIGKILL);
    waitpid(writer, &ended, 0);
}

TEST_F(RealFileTest, ReadOnlyFileKeepsItsBitWhenStamped)
{
    const std::string path = folder.makeFile("ro.txt", "data");
    ASSERT_EQ(setAttributes(path, kAttrReadOnly | kAttrArchive), "");
    TouchedFile file = listed(path);
    ASSERT_EQ(file.CurAttrs, kAttrReadOnly | kAttrArchive);

    file.SetNewModified(kMay6th2001 + k131415);
    EXPECT_EQ(file.Touch(formats), 0);
    EXPECT_EQ(file.StatusText,
              "Modified date/time changed from original of " + StampText(formats, StampToLocal(file.OrigModified)));
    EXPECT_EQ(attrsOnDisk(path), kAttrReadOnly | kAttrArchive);
    EXPECT_EQ(file.CurModified, LocalToStamp(kMay6th2001 + k131415));

    // Asked to drop read-only as well, the attribute line names the first-known letters.
    file.SetNewModified(kMay6th2001);
    file.SetNewAttrs(~kAttrReadOnly, 0);
    EXPECT_EQ(file.Touch(formats), 0);
    EXPECT_NE(file.StatusText.find("\r\nAttributes changed from original of \"A  R \""), std::string::npos);
    EXPECT_EQ(attrsOnDisk(path), kAttrArchive);
    EXPECT_EQ(file.CurAttrs, kAttrArchive);
}

TEST_F(RealFileTest, BothStampsFromEachOtherSwap)
{
    const std::string path = folder.makeFile("swap.txt");
    const FileTime created = LocalToStamp(kMay6th2001);
    const FileTime modified = LocalToStamp(kMay6th2001 + k131415);
    stamp(path, created, modified);
    TouchedFile file = listed(path);
    file.NewModified = file.CurCreated;
    file.NewCreated = file.CurModified;
    EXPECT_EQ(file.Touch(formats), 0);

    const TouchedFile reread = listed(path);
    EXPECT_EQ(reread.CurModified, created);
    EXPECT_EQ(reread.CurCreated, modified);
    EXPECT_EQ(file.CurModified, created);
    EXPECT_EQ(file.NewModified, NoStamp);
    EXPECT_EQ(file.NewCreated, NoStamp);
}

TEST_F(RealFileTest, StampsWithinHalfASecondOfTheOriginalAreTheSame)
{
    const std::string path = folder.makeFile("same.txt");
    const FileTime original = LocalToStamp(kMay6th2001 + k131415);
    stamp(path, original, original);
    TouchedFile file = listed(path);
    file.NewModified = original + 3 * kSecond / 10;
    file.NewCreated = original + 2 * kSecond;
    EXPECT_EQ(file.Touch(formats), 0);
    const std::string when = StampText(formats, StampToLocal(original));
    EXPECT_EQ(file.StatusText, "Modified date/time same as original of " + when +
                                   "\r\nCreated date/time changed from original of " + when);
}

TEST_F(RealFileTest, PartsKeepTheEntrysOwnDateOrTime)
{
    const std::string path = folder.makeFile("parts.txt");
    const double own = kMay6th2001 + 100 + 0.25; // 06:00 on another day
    stamp(path, LocalToStamp(own), LocalToStamp(own));
    TouchedFile file = listed(path);

    file.SetNewModifiedParts(kNoDateTime, k131415);
    EXPECT_EQ(file.NewModified, LocalToStamp(kMay6th2001 + 100 + k131415));
    file.SetNewCreatedParts(kMay6th2001, kNoDateTime);
    EXPECT_EQ(file.NewCreated, LocalToStamp(kMay6th2001 + 0.25));
}

TEST_F(RealFileTest, UntouchGoesBackToTheFirstKnownState)
{
    const std::string path = folder.makeFile("undo.txt");
    const FileTime created = LocalToStamp(kMay6th2001);
    const FileTime modified = LocalToStamp(kMay6th2001 + k131415);
    stamp(path, created, modified);
    TouchedFile file = listed(path);
    const EntrySnapshot asListed = snapshot(path);

    for (int i = 1; i <= 3; ++i) {
        file.SetNewModified(kMay6th2001 + i);
        file.SetNewCreated(kMay6th2001 - i);
        file.SetNewAttrs(~0u, kAttrHidden | kAttrReadOnly);
        ASSERT_EQ(file.Touch(formats), 0) << file.StatusText;
    }
    EXPECT_EQ(file.Untouch(asListed), 0);
    EXPECT_EQ(file.StatusText, "");
    const TouchedFile reread = listed(path);
    EXPECT_EQ(reread.CurModified, modified);
    EXPECT_EQ(reread.CurCreated, created);
    EXPECT_EQ(reread.CurAttrs, file.OrigAttrs);

    // Nothing left to undo, and nothing pending to touch: both do nothing and report nothing.
    EXPECT_EQ(file.Untouch(asListed), 0);
    EXPECT_EQ(file.StatusText, "");
    EXPECT_EQ(file.Touch(formats), 0);
    EXPECT_EQ(file.StatusText, "");
}

// Both stamps take the date the file records; a file without one, and anything that is no regular file, keeps its
// stamps and says why, while its other changes still apply.
TEST_F(RealFileTest, StampsFromTheRecordedDate)
{
    FakeRecordedDateReader reader;
    const FileTime taken = LocalToStamp(kMay6th2001 + k131415);
    const std::string photo = folder.makeFile("photo.jpg", "data");
    const std::string plain = folder.makeFile("notes.txt", "data");
    const std::string fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {photo, fifo, folder.path()})
        reader.dates[path] = taken;

    TouchedFile file = listed(photo);
    file.ModifiedFromRecorded = file.CreatedFromRecorded = true;
    EXPECT_EQ(file.Touch(formats), 0);
    EXPECT_EQ(file.CurModified, taken);
    EXPECT_EQ(file.CurCreated, taken);
    EXPECT_EQ(currentPlatform().readEntry(photo)->created, taken);
    EXPECT_NE(file.StatusText.find("Created date/time changed from original of "), std::string::npos);

    for (const std::string& path : {plain, fifo, folder.path()}) {
        TouchedFile other = listed(path);
        const FileTime before = other.CurModified;
        other.CreatedFromRecorded = true;
        other.ModifiedFromRecorded = true;
        EXPECT_EQ(other.Touch(formats), kFailModified | kFailCreated) << path;
        EXPECT_EQ(other.StatusText, "No recorded date in the file") << path;
        EXPECT_EQ(currentPlatform().readEntry(path)->modified, before) << path;
    }
    TouchedFile hidden = listed(plain);
    hidden.ModifiedFromRecorded = true;
    hidden.SetNewAttrs(~kAttrHidden, kAttrHidden);
    EXPECT_EQ(hidden.Touch(formats), kFailModified);
    EXPECT_EQ(attrsOnDisk(plain) & kAttrHidden, kAttrHidden);
}

// A file that was read-only when listed is read-only again after undo, its mode bit for bit, when the touch took
// nothing else away.
TEST_F(RealFileTest, UntouchMakesAReadOnlyFileReadOnlyAgain)
{
    const std::string path = folder.makeFile("ro.txt");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    TouchedFile file = listed(path);
    const EntrySnapshot asListed = snapshot(path);
    file.SetNewAttrs(~kAttrReadOnly, 0);
    ASSERT_EQ(file.Touch(formats), 0) << file.StatusText;
    ASSERT_EQ(attrsOnDisk(path), 0u);

    EXPECT_EQ(file.Untouch(asListed), 0) << file.StatusText;
    EXPECT_EQ(attrsOnDisk(path), kAttrReadOnly);
    struct stat status
    {
    };
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0444u);
}

TEST_F(RealFileTest, FoldersAreStampedToo)
{
    const std::string path = folder.makeFolder("sub");
    TouchedFile dir = listed(path);
    EXPECT_TRUE(dir.CurAttrs & kAttrDirectory);
    dir.SetNewModified(kMay6th2001 + k131415);
    dir.SetNewCreated(kMay6th2001);
    EXPECT_EQ(dir.Touch(formats), 0) << dir.StatusText;
    EXPECT_EQ(listed(path).CurCreated, LocalToStamp(kMay6th2001));
}

// The partner a folder comparison found gives its stamps whatever the letter case of either name; a vanished partner
// gives nothing.
TEST_F(RealFileTest, MatchingFileTakesThePartnersStamps)
{
    const std::string partner = folder.makeFile("other/REPORT.DOC");
    stamp(partner, LocalToStamp(kMay6th2001), LocalToStamp(kMay6th2001 + k131415));
    TouchedFile file = listed(folder.makeFile("report.doc"));
    const std::string other = folder / "other";

    file.MatchKind = 2;
    file.SetFromMatchingFile(other, true, false);
    EXPECT_EQ(file.NewModified, LocalToStamp(kMay6th2001 + k131415));
    file.ClearPending();

    file.matchName = "REPORT.DOC";
    file.SetFromMatchingFile(other, false, false);
    EXPECT_EQ(file.NewModified, NoStamp);
    file.SetFromMatchingFile(other, true, true);
    EXPECT_EQ(file.NewModified, LocalToStamp(kMay6th2001 + k131415));
    EXPECT_EQ(file.NewCreated, LocalToStamp(kMay6th2001));

    file.ClearPending();
    file.MatchKind = 0;
    file.SetFromMatchingFile(other, true, true);
    EXPECT_EQ(file.NewModified, NoStamp);

    file.MatchKind = 1;
    ASSERT_EQ(std::remove(partner.c_str()), 0);
    file.SetFromMatchingFile(other, true, true);
    EXPECT_EQ(file.NewModified, NoStamp);
    EXPECT_EQ(file.NewCreated, NoStamp);
}

class FakeFileTest : public ::testing::Test
{
protected:
    FakeFileTest()
    {
        formats = BuildDateTimeFormats();
        platform.addEntry("/d/f.txt", kAttrArchive, 100 * kSecond, 200 * kSecond);
        platform.addEntry("/d/sub", kAttrDirectory, 100 * kSecond, 200 * kSecond);
    }
    FakePlatform platform;
    DateTimeFormats formats;
};

// Each failed step becomes its bits and one line carrying the platform's message; an entry that cannot be opened
// fails every step asked for, and a refused attribute step leaves the stamps set.
TEST_F(FakeFileTest, FailuresGiveBitsAndLines)
{
    TouchedFile file = listed("/d/f.txt");
    platform.fail(FakeCall::Open, "/d/f.txt");
    file.NewModified = 300 * kSecond;
    file.NewCreated = 300 * kSecond;
    file.SetNewAttrs(~0u, kAttrHidden);
    EXPECT_EQ(file.Touch(formats), kFailModified | kFailCreated | kFailAttributes);
    EXPECT_EQ(file.StatusText, "Unable to open file: \"Permission denied\"\r\n"
                               "Unable to set attributes: \"Permission denied\"");
    EXPECT_EQ(file.NewModified, 300 * kSecond);
    EXPECT_NE(file.NewAttrs, kNoAttrs);

    TouchedFile folder = listed("/d/sub");
    platform.fail(FakeCall::SetAttributes, "/d/sub");
    folder.NewModified = 300 * kSecond;
    folder.SetNewAttrs(~0u, kAttrHidden);
    // Attributes that fail take the new stamp back with them: no entry is left half changed.
    const FileTime before = platform.entries["/d/sub"].modified;
    EXPECT_EQ(folder.Touch(formats), kFailModified | kFailAttributes);
    EXPECT_EQ(folder.StatusText, "Unable to set file time: \"Permission denied\"\r\n"
                                 "Unable to set attributes: \"Permission denied\"");
    EXPECT_EQ(platform.entries["/d/sub"].modified, before);
}

TEST_F(FakeFileTest, RefusedSetTimeKeepsThePendingStamp)
{
    TouchedFile file = listed("/d/f.txt");
    platform.fail(FakeCall::SetTimes, "/d/f.txt");
    file.NewCreated = 300 * kSecond;
    EXPECT_EQ(file.Touch(formats), kFailCreated);
    EXPECT_EQ(file.StatusText, "Unable to set file time: \"Permission denied\"");
    EXPECT_EQ(file.NewCreated, 300 * kSecond);
    EXPECT_EQ(file.CurCreated, 100 * kSecond);
}

// A restore is whole or nothing: one that fails leaves every column as it was and says why; one that goes takes the
// entry's state as it now is and drops what was pending.
TEST_F(FakeFileTest, UntouchIsWholeOrNothing)
{
    TouchedFile file = listed("/d/f.txt");
    const EntrySnapshot asListed = snapshot("/d/f.txt");
    file.NewModified = 300 * kSecond;
    file.SetNewAttrs(~0u, kAttrHidden);
    ASSERT_EQ(file.Touch(formats), 0);
    platform.fail(FakeCall::SetTimes, "/d/f.txt");
    EXPECT_EQ(file.Untouch(asListed), kFailModified | kFailCreated | kFailAttributes);
    EXPECT_EQ(file.StatusText, "Unable to set file time: \"Permission denied\"");
    EXPECT_EQ(file.CurModified, 300 * kSecond);

    platform.addEntry("/d/g.txt", kAttrArchive, 100 * kSecond, 200 * kSecond);
    TouchedFile other = listed("/d/g.txt");
    const EntrySnapshot otherListed = snapshot("/d/g.txt");
    other.NewModified = 300 * kSecond;
    other.SetNewAttrs(~0u, kAttrHidden);
    ASSERT_EQ(other.Touch(formats), 0);
    other.NewCreated = 400 * kSecond;
    EXPECT_EQ(other.Untouch(otherListed), 0);
    EXPECT_EQ(other.StatusText, "");
    EXPECT_EQ(other.CurModified, 200 * kSecond);
    EXPECT_EQ(other.CurAttrs, kAttrArchive);
    EXPECT_EQ(other.NewCreated, NoStamp);
    EXPECT_EQ(platform.entries["/d/g.txt"].attrs, kAttrArchive);
}

TEST(AttrLetters, FixedPositions)
{
    EXPECT_EQ(AttrLetters(kAttrArchive | kAttrReadOnly), "A  R ");
    EXPECT_EQ(AttrLetters(kAttrArchive | kAttrSystem | kAttrHidden | kAttrReadOnly | kAttrDirectory), "ASHRD");
    EXPECT_EQ(AttrLetters(0), "     ");
    EXPECT_EQ(AttrLetters(kNoAttrs), "");
    EXPECT_EQ(StampText(DateTimeFormats{}, -1.0), "<empty>");
}

} // namespace
