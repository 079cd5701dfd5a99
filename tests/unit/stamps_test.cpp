// Stamp comparison and lookup.
#include "core/stamps.h"

#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

constexpr FileTime kSecond = 10'000'000;

TEST(CompareStamps, HalfSecondToleranceWithinEqualHighHalves)
{
    const FileTime base = (FileTime{0x01C0D62E} << 32) | 0x10000000;
    EXPECT_EQ(CompareStamps(base, base + 4 * kSecond / 10), 0);
    EXPECT_EQ(CompareStamps(base + 4 * kSecond / 10, base), 0);
    EXPECT_EQ(CompareStamps(base, base + 6 * kSecond / 10), -1);
    EXPECT_EQ(CompareStamps(base + 6 * kSecond / 10, base), 1);
    // Half a second apart is apart.
    EXPECT_EQ(CompareStamps(base, base + kSecond / 2), -1);

    // Close stamps on either side of a change of the high half compare exactly.
    const FileTime edge = FileTime{0x01C0D62F} << 32;
    EXPECT_EQ(CompareStamps(edge - 1, edge), -1);
    EXPECT_EQ(CompareStamps(edge, edge - 1), 1);
}

TEST(CompareStamps, NoStampSortsFirst)
{
    EXPECT_EQ(CompareStamps(NoStamp, NoStamp), 0);
    EXPECT_EQ(CompareStamps(NoStamp, 0), -1);
    EXPECT_EQ(CompareStamps(5 * kSecond, NoStamp), 1);
}

TEST(GetFileStamps, FirstMatchingEntry)
{
    FakePlatform platform;
    platform.addEntry("/d/b.txt", kAttrHidden, 10, 20);
    platform.addEntry("/d/c.txt", kAttrArchive, 30, 40);
    FileTime created = 0;
    FileTime modified = 0;
    std::uint32_t attrs = 0;
    ASSERT_TRUE(GetFileStamps("/d/*.txt", created, modified, attrs));
    EXPECT_EQ(created, 10u);
    EXPECT_EQ(modified, 20u);
    EXPECT_EQ(attrs, kAttrHidden);
    EXPECT_FALSE(GetFileStamps("/d/*.doc", created, modified));
}

} // namespace
