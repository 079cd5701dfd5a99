// The console tool's work list: sorted without regard to case, each path once.
#include "console/worklist.h"

#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

std::vector<std::string> fileNames(WorkList& list)
{
    std::vector<std::string> names;
    for (std::size_t position = 0; position < list.size(); ++position)
        names.emplace_back(list.path(position));
    return names;
}

TEST(WorkList, SortedWithoutRegardToCaseAndFreeOfDuplicates)
{
    FakePlatform platform;
    platform.workingDirectory = "/w";
    for (const char* path : {"/w/b.txt", "/w/A.txt", "/w/a.txt", "/w/C.doc", "/w/sub", "/w/.", "/w/.."})
        platform.addEntry(path, 0, 1, 1);

    WorkList list;
    list.ExpandSpec("*.txt");
    list.ExpandSpec("a.txt");
    list.ExpandSpec("/w/*");
    list.ExpandSpec("nothing*");
    list.finish();
    // Names that differ only in letter case are two files, kept in a fixed order.
    EXPECT_EQ(fileNames(list), (std::vector<std::string>{"/w/A.txt", "/w/a.txt", "/w/b.txt", "/w/C.doc", "/w/sub"}));
}

TEST(WorkList, ListInOrderLosesOnlyItsRepeats)
{
    FakePlatform platform;
    platform.workingDirectory = "/w";
    for (const char* path : {"/w/a.txt", "/w/B.txt", "/w/c.txt"})
        platform.addEntry(path, 0, 1, 1);

    WorkList list;
    for (const char* spec : {"a.txt", "a.txt", "B.txt", "/w/B.txt", "c.txt", "c.txt"})
        list.ExpandSpec(spec);
    list.finish();
    EXPECT_EQ(fileNames(list), (std::vector<std::string>{"/w/a.txt", "/w/B.txt", "/w/c.txt"}));
}

// Letter case is set aside character by character, not byte by byte; bytes that are no text still get a place.
TEST(WorkList, NonAsciiNamesOrderedByTheirCharacters)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "C.UTF-8"))
        GTEST_SKIP() << "no C.UTF-8 locale";
    const std::string capitalEAcute = "/w/\xC3\x89z.txt"; // sorts before the small letter by its bytes
    const std::string smallEAcute = "/w/\xC3\xA9t.txt";
    const std::string notText = "/w/\xFF.txt";
    FakePlatform platform;
    platform.workingDirectory = "/w";
    for (const std::string& path : {capitalEAcute, smallEAcute, notText, std::string("/w/b.txt")})
        platform.addEntry(path, 0, 1, 1);

    WorkList list;
    list.ExpandSpec("*");
    list.finish();
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(fileNames(list), (std::vector<std::string>{"/w/b.txt", smallEAcute, capitalEAcute, notText}));
}

} // namespace
