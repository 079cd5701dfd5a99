// A folder's names as the bytes the file system holds.
#include "platform/foldernames.h"

#include "fake/tempdir.h"

#include <gtest/gtest.h>

namespace {

// Byte order puts upper case before lower and bytes that are no text last; a missing folder gives nothing.
TEST(FolderNamesTest, NamesAsTheirBytesInByteOrder)
{
    TempDir dir;
    for (const char* name : {"b", "a\xFF\xFE", "A"})
        dir.makeFile(name);
    EXPECT_EQ(folderNames(dir.path()), (std::vector<std::string>{".", "..", "A", "a\xFF\xFE", "b"}));
    EXPECT_EQ(folderNames(dir / "missing"), std::nullopt);
}

} // namespace
