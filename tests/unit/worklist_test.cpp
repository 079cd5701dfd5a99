// The console tool's work list: sorted without regard to case, each path once.
#include "console/worklist.h"

#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> fileNames(WorkList& list)
{
    std::vector<std::string> names;
    for (const TskObj& entry : list.entries())
        names.push_back(entry.FileName);
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

} // namespace
