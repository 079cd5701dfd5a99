// Stamp comparison, file lookups and drive checks.
#include "core/tfuncs2.h"

#include "core/sharedu.h"
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

TEST(AddFileSpec, DriveChecks)
{
    FakePlatform platform;
    platform.setDrive("/mnt/mapped/", DriveType::Network, "server:/export");
    platform.setDrive("/mnt/plain/", DriveType::Network);
    platform.addEntry("/mnt/mapped/a", 0, 1, 1);
    platform.addEntry("/mnt/plain/a", 0, 1, 1);
    platform.addEntry("/data/sub", kAttrDirectory, 1, 1);

    TTouchSettings settings{};
    std::vector<std::string> lines;
    const auto report = [&](const std::string& line) { lines.push_back(line); };
    EXPECT_FALSE(AddFileSpec(settings, "/mnt/mapped/a", "/", true, report));
    EXPECT_FALSE(AddFileSpec(settings, "/mnt/plain/a", "/", true, report));
    EXPECT_FALSE(AddFileSpec(settings, "/data/none", "/", false, report)); // unmatched: silent in window mode
    EXPECT_TRUE(AddFileSpec(settings, "/data/s*", "/", true, report));     // matching only a folder is enough
    EXPECT_EQ(lines, (std::vector<std::string>{"Network drives not supported (server:/export, mapped to /mnt/mapped/)",
                                               "Network drives not supported (/mnt/plain/)"}));
    EXPECT_EQ(settings.FileSpecs.str(), "/data/s*\r\n");

    // A search that could not be made says why, in the window too.
    lines.clear();
    platform.searchFails = true;
    platform.errorText = "File name too long";
    EXPECT_FALSE(AddFileSpec(settings, "/data/none", "/", false, report));
    EXPECT_EQ(lines, std::vector<std::string>{"Cannot search \"/data/none\": File name too long"});
}

} // namespace
