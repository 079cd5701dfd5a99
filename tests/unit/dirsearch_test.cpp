// The directory search on a real folder: wildcards, plain names, order, limits and what each result carries.
#include "platform/dirsearch.h"

#include "platform/entryinfo.h"
#include "platform/listedfolders.h"

#include "fake/entrysetup.h"
#include "fake/tempdir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>
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
        for (const FileEntry& entry : searchDirectory(dir / pattern, limit).entries)
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
    EXPECT_EQ(find("readme*"), Names{"README"}) << "letter case is not compared";
    EXPECT_EQ(find("?"), Names{"."});
    EXPECT_EQ(find("??"), Names{".."});
    EXPECT_EQ(find(".*"), (Names{".", "..", ".hidden"}));
}

TEST_F(DirSearchTest, PlainNamesFindOneEntry)
{
    const std::vector<FileEntry> file = searchDirectory(dir / "a.txt", Platform::kNoLimit).entries;
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0].name, "a.txt");
    EXPECT_EQ(file[0].attrs & kAttrDirectory, 0u);

    const std::vector<FileEntry> folder = searchDirectory(dir / "sub", Platform::kNoLimit).entries;
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
    EXPECT_TRUE(directoryHasMatch(dir / "what?.txt").found);
}

// A search that finds nothing says so with the system's reason, whatever the kind of pattern; "no match" is no
// failure, whatever an earlier call left in errno, and a folder that cannot be searched is one.
TEST_F(DirSearchTest, NothingMatches)
{
    for (const std::string pattern : {"missing.txt", "nothing*", "*.doc", "missing/*", "missing/a.txt"}) {
        errno = EACCES;
        const FoundEntries found = searchDirectory(dir / pattern, Platform::kNoLimit);
        EXPECT_TRUE(found.entries.empty()) << pattern;
        EXPECT_EQ(found.failure, "") << pattern;
        errno = EACCES;
        const SearchOutcome outcome = directoryHasMatch(dir / pattern);
        EXPECT_FALSE(outcome.found) << pattern;
        EXPECT_EQ(outcome.failure, "") << pattern;
    }
    for (const std::string pattern : {"a.txt", "sub", "*.log", "?", "sub/*", "sub/"})
        EXPECT_TRUE(directoryHasMatch(dir / pattern).found) << pattern;
    EXPECT_EQ(directoryHasMatch(dir / "a.txt/*").failure, std::strerror(ENOTDIR));
    EXPECT_EQ(searchTree(dir / "a.txt/*", EntryDetail::ModeAndTimes, {}).failure, std::strerror(ENOTDIR));
}

// A trailing `/` names a folder, as tab completion writes it: the folder itself, never a file of that name; `/` alone
// is the root folder.
TEST_F(DirSearchTest, TrailingSlashNamesAFolder)
{
    EXPECT_EQ(find("sub/"), Names{"sub"});
    EXPECT_EQ(find("s*/"), Names{"sub"});
    const FoundEntries file = searchDirectory(dir / "a.txt/", Platform::kNoLimit);
    EXPECT_TRUE(file.entries.empty());
    EXPECT_EQ(file.failure, std::strerror(ENOTDIR));
    const std::vector<FileEntry> root = searchDirectory("/", Platform::kNoLimit).entries;
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
    const std::vector<FileEntry> found = searchDirectory(dir / "?.txt", Platform::kNoLimit).entries;
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
    const std::vector<FileEntry> found = searchDirectory("*.log", Platform::kNoLimit).entries;
    const bool plain = directoryHasMatch("README").found;
    ASSERT_EQ(chdir(previous.c_str()), 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "ab.log");
    EXPECT_TRUE(plain);
}

// Letters of UTF-8 names fold as the C.UTF-8 locale folds them, whatever the process's own locale; bytes that are not
// UTF-8 equal only themselves; a name that is there exactly as written is that entry alone.
TEST_F(DirSearchTest, LetterCaseIsFoldedTheSameEverywhere)
{
    dir.makeFile("B.TXT");
    dir.makeFile("caf\xE9.jpg");
    EXPECT_EQ(find("\xC3\x89T\xC3\x89.TXT"), Names{"\xC3\xA9t\xC3\xA9.txt"});
    EXPECT_EQ(find("*.TXT"), (Names{"B.TXT", "a.txt", "b.txt", "x[1].txt", "\xC3\xA9t\xC3\xA9.txt"}));
    EXPECT_EQ(find("CAF\xE9.*"), Names{"caf\xE9.jpg"});
    EXPECT_EQ(find("caf\xC9.*"), Names{});
    EXPECT_EQ(find("b.txt"), Names{"b.txt"}) << "the exact name alone";
    EXPECT_EQ(find("readme"), Names{"README"});
}

// A link a search meets is not followed: it comes marked, with nothing read through it. A link named as it stands is
// followed, its target resolved once; a dangling one names nothing that could be stamped.
TEST_F(DirSearchTest, LinksAreFollowedOnlyWhenNamed)
{
    ASSERT_EQ(symlink((dir / "a.txt").c_str(), (dir / "c.txt").c_str()), 0);
    ASSERT_EQ(symlink((dir / "gone").c_str(), (dir / "d.txt").c_str()), 0);
    const std::vector<FileEntry> found = searchDirectory(dir / "?.txt", Platform::kNoLimit).entries;
    ASSERT_EQ(found.size(), 4u);
    EXPECT_FALSE(found[0].symbolicLink);
    EXPECT_TRUE(found[2].symbolicLink && found[3].symbolicLink);
    EXPECT_EQ(found[2].modified, 0u);

    const std::vector<FileEntry> named = searchDirectory(dir / "c.txt", Platform::kNoLimit).entries;
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].name, "c.txt");
    EXPECT_EQ(named[0].target, std::filesystem::canonical(dir / "a.txt").string());
    EXPECT_FALSE(named[0].symbolicLink);
    EXPECT_TRUE(searchDirectory(dir / "d.txt", Platform::kNoLimit).entries.empty());
}

// A walk finds matches at every depth, in one call per folder, and does not enter a link to a folder; a folder it
// cannot read is told and the rest is searched.
TEST_F(DirSearchTest, TreeWalkBelowThePatternsFolder)
{
    dir.makeFile("sub/deep/C.TXT");
    dir.makeFile("sub/d.txt");
    dir.makeFolder("sub/closed");
    ASSERT_EQ(symlink((dir / "sub").c_str(), (dir / "loop").c_str()), 0);
    ASSERT_EQ(chmod((dir / "sub/closed").c_str(), 0), 0);
    Names found;
    Names unreadable;
    SubfolderWalk walk;
    walk.found = [&](const std::string& folder, std::vector<FileEntry>& matches) {
        for (const FileEntry& entry : matches)
            found.push_back(folder.substr(dir.path().size() + 1) + entry.name);
    };
    walk.cannotSearch = [&](const std::string& folder, const std::string&) { unreadable.push_back(folder); };
    const SearchOutcome outcome = searchTree(dir / "?.txt", EntryDetail::ModeAndTimes, walk);
    EXPECT_TRUE(outcome.found && outcome.failure.empty());
    chmod((dir / "sub/closed").c_str(), 0755);
    EXPECT_EQ(found, (Names{"a.txt", "b.txt", "sub/d.txt", "sub/deep/C.TXT"}));
    // Root reads every folder.
    EXPECT_EQ(unreadable, geteuid() == 0 ? Names{} : Names{dir / "sub/closed/"});
}

// A long command line's names in one folder: after the first few, each is found in the folder's listing, read once,
// instead of by a call of its own. The listing tells only what it holds: a link named is still followed, a folder is
// a folder, a name it does not hold is looked up (made since, or in another letter case), and an entry removed since
// the folder was read is still listed, as one removed after listing is.
TEST_F(DirSearchTest, ManyNamesOfAFolderAreFoundInItsListing)
{
    ListedFolders listed;
    const auto named = [&](const std::string& name) {
        return searchDirectory(dir / name, Platform::kNoLimit, EntryDetail::NameAndKind, &listed).entries;
    };
    ASSERT_EQ(symlink((dir / "a.txt").c_str(), (dir / "link.txt").c_str()), 0);
    for (int i = 0; i < 100; ++i)
        dir.makeFile("many" + std::to_string(i));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(named("many" + std::to_string(i)).size(), 1u) << i;

    ASSERT_EQ(unlink((dir / "many0").c_str()), 0);
    EXPECT_EQ(named("many0").size(), 1u) << "the listing answers";
    const std::vector<FileEntry> link = named("link.txt");
    ASSERT_EQ(link.size(), 1u);
    EXPECT_EQ(link[0].target, std::filesystem::canonical(dir / "a.txt").string());
    const std::vector<FileEntry> folder = named("sub");
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].attrs, kAttrDirectory);
    dir.makeFile("made.later");
    EXPECT_EQ(named("made.later").size(), 1u);
    EXPECT_EQ(named("MANY1").size(), 1u);
    EXPECT_TRUE(named("never").empty());

    EXPECT_TRUE(searchDirectory(dir / "many0", Platform::kNoLimit, EntryDetail::ModeAndTimes, &listed).entries.empty())
        << "stamps and attributes are always read from the entry";
}

} // namespace
