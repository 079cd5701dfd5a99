// The directory search on a real folder: wildcards, plain names, order, limits and what each result carries.
#include "platform/dirsearch.h"

#include "platform/entryinfo.h"

#include "fake/entrysetup.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

class DirSearchTest : public ::testing::Test
{
protected:
    DirSearchTest()
    {
        for (const char* name : {"a.txt", "b.txt", "ab.log", "README", ".hidden", "x[1].txt", "\xC3\xA9t\xC3\xA9.txt"})
            dir.makeFile(name);
        dir.makeFolder("sub");
    }

    Names find(const std::string& pattern, std::size_t limit = Platform::kNoLimit)
    {
        Names names;
        for (const FileEntry& entry : searchDirectory(dir / pattern, limit))
            names.push_back(entry.name);
        return names;
    }

    TempDir dir;
};

// `*` and `*.*` find every name, dot names and `.`/`..` included, sorted by bytes (upper case before lower, UTF-8
// after ASCII).
TEST_F(DirSearchTest, StarFindsEveryNameInByteOrder)
{
    const Names all = {".",      "..",    ".hidden", "README",   "a.txt",
                       "ab.log", "b.txt", "sub",     "x[1].txt", "\xC3\xA9t\xC3\xA9.txt"};
    EXPECT_EQ(find("*"), all);
    EXPECT_EQ(find("*.*"), all);
}

TEST_F(DirSearchTest, WildcardsMatchLikeWindows)
{
    EXPECT_EQ(find("?.txt"), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(find("*.txt"), (Names{"a.txt", "b.txt", "x[1].txt", "\xC3\xA9t\xC3\xA9.txt"}));
    EXPECT_EQ(find("a*"), (Names{"a.txt", "ab.log"}));
    EXPECT_EQ(find("x[1].*"), Names{"x[1].txt"}) << "brackets are no wildcard";
    EXPECT_EQ(find("README.*"), Names{"README"}) << "a trailing .* also matches no extension";
    EXPECT_EQ(find("a.*"), Names{"a.txt"});
    EXPECT_EQ(find("a.txt.*"), Names{"a.txt"});
    EXPECT_EQ(find("readme*"), Names{}) << "matching is case-sensitive";
    EXPECT_EQ(find("?"), Names{"."});
    EXPECT_EQ(find("??"), Names{".."});
    EXPECT_EQ(find(".*"), (Names{".", "..", ".hidden"}));
}

TEST_F(DirSearchTest, PlainNamesFindOneEntry)
{
    const std::vector<FileEntry> file = searchDirectory(dir / "a.txt", Platform::kNoLimit);
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0].name, "a.txt");
    EXPECT_EQ(file[0].attrs & kAttrDirectory, 0u);

    const std::vector<FileEntry> folder = searchDirectory(dir / "sub", Platform::kNoLimit);
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].name, "sub");
    EXPECT_EQ(folder[0].attrs & kAttrDirectory, kAttrDirectory);

    EXPECT_EQ(find("sub/."), Names{"."});
    EXPECT_EQ(find("sub/.."), Names{".."});

    // A name that holds a wildcard and exists as it stands (a shell has expanded the pattern) is that entry alone.
    dir.makeFile("what?.txt");
    dir.makeFile("whatA.txt");
    EXPECT_EQ(find("what?.txt"), Names{"what?.txt"});
    EXPECT_EQ(find("wha??.txt"), (Names{"what?.txt", "whatA.txt"}));
    EXPECT_TRUE(directoryHasMatch(dir / "what?.txt"));
}

// A search that finds nothing says so with the system's reason, whatever the kind of pattern.
TEST_F(DirSearchTest, NothingMatches)
{
    for (const std::string pattern : {"missing.txt", "nothing*", "*.doc", "missing/*", "missing/a.txt"}) {
        errno = 0;
        EXPECT_TRUE(searchDirectory(dir / pattern, Platform::kNoLimit).empty()) << pattern;
        EXPECT_EQ(errno, ENOENT) << pattern;
        EXPECT_FALSE(directoryHasMatch(dir / pattern)) << pattern;
    }
    for (const std::string pattern : {"a.txt", "sub", "*.log", "?", "sub/*", "sub/"})
        EXPECT_TRUE(directoryHasMatch(dir / pattern)) << pattern;
}

// A trailing `/` names a folder, as tab completion writes it: the folder itself, never a file of that name; `/` alone
// is the root folder.
TEST_F(DirSearchTest, TrailingSlashNamesAFolder)
{
    EXPECT_EQ(find("sub/"), Names{"sub"});
    EXPECT_EQ(find("s*/"), Names{"sub"});
    errno = 0;
    EXPECT_TRUE(searchDirectory(dir / "a.txt/", Platform::kNoLimit).empty());
    EXPECT_EQ(errno, ENOTDIR);
    const std::vector<FileEntry> root = searchDirectory("/", Platform::kNoLimit);
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(root[0].name, "");
    EXPECT_TRUE(root[0].attrs & kAttrDirectory);
}

TEST_F(DirSearchTest, LimitStopsAtTheFirstEntriesInOrder)
{
    EXPECT_EQ(find("*.txt", 1), Names{"a.txt"});
    EXPECT_EQ(find("*", 3), (Names{".", "..", ".hidden"}));
}

// Each result carries the same attributes and stamps as reading the entry itself.
TEST_F(DirSearchTest, ResultsCarryAttributesAndStamps)
{
    ASSERT_EQ(setAttributes(dir / "b.txt", kAttrHidden | kAttrReadOnly), "");
    const std::vector<FileEntry> found = searchDirectory(dir / "?.txt", Platform::kNoLimit);
    ASSERT_EQ(found.size(), 2u);
    for (const FileEntry& entry : found) {
        const std::optional<EntryInfo> info = readEntryInfo(dir / entry.name);
        ASSERT_TRUE(info);
        EXPECT_EQ(entry.attrs, info->attrs);
        EXPECT_EQ(entry.created, info->created);
        EXPECT_EQ(entry.modified, info->modified);
    }
    EXPECT_EQ(found[1].attrs, kAttrHidden | kAttrReadOnly);
}

// A pattern without a folder searches the current one.
TEST_F(DirSearchTest, RelativePatternsSearchTheCurrentFolder)
{
    const std::string previous = std::filesystem::current_path();
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const std::vector<FileEntry> found = searchDirectory("*.log", Platform::kNoLimit);
    const bool plain = directoryHasMatch("README");
    ASSERT_EQ(chdir(previous.c_str()), 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "ab.log");
    EXPECT_TRUE(plain);
}

// Dangling links name nothing that could be stamped.
TEST_F(DirSearchTest, DanglingLinksAreLeftOut)
{
    ASSERT_EQ(symlink((dir / "gone").c_str(), (dir / "c.txt").c_str()), 0);
    EXPECT_EQ(find("?.txt"), (Names{"a.txt", "b.txt"}));
}

} // namespace
