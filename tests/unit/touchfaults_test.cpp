// Touching real files that changed between listing and touch: each such file reports its own failure bits and lines,
// and the files around it are touched all the same.
#include "core/touchedfile.h"

#include "core/datetimeformats.h"
#include "fake/entrysetup.h"
#include "fake/tempdir.h"
#include "platform/filetime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// 2001-05-06 13:14:15 UTC.
constexpr FileTime kNewStamp = 126336284550000000;

TouchedFile listed(const FileEntry& entry, const std::string& folder)
{
    return TouchedFile(entry.attrs, entry.modified, entry.created, folder + "/" + entry.name);
}

FileTime modifiedOnDisk(const std::string& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return fileTimeFromTimespec(info.st_mtim);
}

// 1999-06-02 23:45:01 UTC, kept in the file's stored attribute value.
constexpr FileTime kStoredCreation = 125728407010000000;

void storeCreation(const std::string& path, FileTime created)
{
    ASSERT_EQ(setStamps(path, created, std::nullopt), "") << path;
}

FileTime createdOnDisk(const std::string& path)
{
    const std::vector<FileEntry> found = currentPlatform().findFiles(path, 1).entries;
    EXPECT_EQ(found.size(), 1u) << path;
    return found.empty() ? 0 : found.front().created;
}

} // namespace

TEST(TouchFaults, EntriesChangedAfterListingFailAlone)
{
    const DateTimeFormats formats = BuildDateTimeFormats();
    TempDir dir;
    for (const char* name : {"a.txt", "deleted.txt", "unreadable.txt", "folder.txt", "z.txt"})
        dir.makeFile(name, "data");

    std::vector<TouchedFile> files;
    for (const FileEntry& entry : currentPlatform().findFiles(dir / "*.txt").entries)
        files.push_back(listed(entry, dir.path()));
    ASSERT_EQ(files.size(), 5u);

    fs::remove(dir / "deleted.txt");
    storeCreation(dir / "unreadable.txt", kStoredCreation);
    fs::permissions(dir / "unreadable.txt", fs::perms::none);
    fs::remove(dir / "folder.txt");
    fs::create_directory(dir / "folder.txt");

    std::map<std::string, int> results;
    for (TouchedFile& file : files) {
        file.NewModified = kNewStamp;
        file.SetNewAttrs(~0u, kAttrArchive);
        results[fs::path(file.FileName).filename().string()] = file.Touch(formats);
    }
    const auto statusOf = [&](const std::string& name) {
        return std::ranges::find(files, dir / name, &TouchedFile::FileName)->StatusText;
    };

    EXPECT_EQ(results["deleted.txt"], kFailModified | kFailAttributes);
    EXPECT_EQ(statusOf("deleted.txt"), "Unable to open file: \"No such file or directory\"\r\n"
                                       "Unable to set attributes: \"No such file or directory\"");

    // A file its owner may not read is stamped all the same, keeps its mode and the creation time stored in it: its
    // value is read and written with the owner's bits lifted for just those calls.
    EXPECT_EQ(results["unreadable.txt"], 0) << statusOf("unreadable.txt");
    EXPECT_EQ(fs::status(dir / "unreadable.txt").permissions(), fs::perms::none);
    fs::permissions(dir / "unreadable.txt", fs::perms::owner_read);
    EXPECT_EQ(modifiedOnDisk(dir / "unreadable.txt"), kNewStamp);
    EXPECT_EQ(createdOnDisk(dir / "unreadable.txt"), kStoredCreation);

    // Entries are opened for their stamps the same way whether they are files or folders, so the folder that took
    // the file's place gets the stamps and attributes, and is known as a folder from then on.
    EXPECT_EQ(results["folder.txt"], 0);
    EXPECT_EQ(modifiedOnDisk(dir / "folder.txt"), kNewStamp);
    EXPECT_EQ(std::ranges::find(files, dir / "folder.txt", &TouchedFile::FileName)->CurAttrs,
              kAttrArchive | kAttrDirectory);

    for (const char* name : {"a.txt", "z.txt"}) {
        EXPECT_EQ(results[name], 0) << name;
        EXPECT_EQ(modifiedOnDisk(dir / name), kNewStamp) << name;
        EXPECT_EQ(currentPlatform().readEntry(dir / name)->attrs, kAttrArchive) << name;
    }
}
