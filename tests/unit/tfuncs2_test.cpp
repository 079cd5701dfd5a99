// Stamp comparison, file lookups, drive checks and the formats built from the locale.
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

TEST(SetFormatRun, RunsTakeTheLengthAsked)
{
    EXPECT_EQ(SetFormatRun('m', 2, "M/d/yyyy"), "mm/d/yyyy");
    EXPECT_EQ(SetFormatRun('y', 4, "dd.MM.yy"), "dd.mm.yyyy");
    EXPECT_EQ(SetFormatRun('d', 2, "yyyy-MM-dd"), "yyyy-mm-dd");
    EXPECT_EQ(SetFormatRun('y', 2, "yyyy/yyyy"), "yy/yy");
    EXPECT_EQ(SetFormatRun('h', 2, "HH:mm"), "hh:mm");
    EXPECT_EQ(SetFormatRun('q', 2, "MM/DD"), "mm/dd");
}

TEST(BuildDateTimeFormats, TwelveAndTwentyFourHourLocales)
{
    FakePlatform platform;
    platform.dateFormat = "M/d/yyyy";
    platform.timeFormat = "h:mm:ss tt";
    BuildDateTimeFormats();
    EXPECT_EQ(DisplayFormat, "mm/dd/yyyy hh:mm:ss tt");
    EXPECT_EQ(PickerDateFormat, "MM/dd/yyyy");
    EXPECT_EQ(PickerTimeFormat, "hh:mm:ss tt");

    platform.timeFormat = "h:mm:ss AMPM";
    BuildDateTimeFormats();
    EXPECT_EQ(DisplayFormat, "mm/dd/yyyy hh:mm:ss ampm");
    EXPECT_EQ(PickerTimeFormat, "hh:mm:ss tt");

    platform.dateFormat = "dd.MM.yyyy";
    platform.timeFormat = "HH:mm:ss";
    BuildDateTimeFormats();
    EXPECT_EQ(DisplayFormat, "dd.mm.yyyy hh:mm:ss");
    EXPECT_EQ(PickerDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(PickerTimeFormat, "HH:mm:ss");
}

TEST(DateTimeText, RoundTripsInTheLocaleFormats)
{
    FakePlatform platform;
    platform.dateFormat = "dd.MM.yyyy";
    platform.timeFormat = "HH:mm:ss";
    BuildDateTimeFormats();
    const double stamp = 37017.0 + (13 * 3600 + 14 * 60 + 15) / 86400.0; // 2001-05-06 13:14:15
    EXPECT_EQ(dateToText(stamp), "06.05.2001");
    EXPECT_EQ(timeToText(stamp), "13:14:15");
    double date = 0;
    double time = 0;
    ASSERT_TRUE(textToDate("06.05.2001", date));
    ASSERT_TRUE(textToTime("13:14:15", time));
    EXPECT_NEAR(date + time, stamp, 1e-9);
}

// Two digits would bring 1949 back as 2049: the year is written in full, and the reader takes it.
TEST(DateTimeText, TwoDigitYearFormatsWriteTheWholeYear)
{
    FakePlatform platform;
    platform.dateFormat = "MM/dd/yy";
    BuildDateTimeFormats();
    for (const double day : {17899.0, 18264.0, 54788.0, 54789.0}) { // 1949-01-01, 1950-01-01, 2049-12-31, 2050-01-01
        double read = 0;
        ASSERT_TRUE(textToDate(dateToText(day), read)) << dateToText(day);
        EXPECT_EQ(read, day);
    }
    EXPECT_EQ(dateToText(17899.0), "01/01/1949");
    double read = 0;
    ASSERT_TRUE(textToDate("01/01/49", read));
    EXPECT_EQ(read, 54424.0); // typed with two digits, 2049
}

} // namespace
