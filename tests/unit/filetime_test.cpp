// Conversions of file times: to and from `timespec`, and between UTC and local calendar time.
#include "platform/filetime.h"

#include "fake/scopedzone.h"
#include "fake/unixtime.h"

#include <gtest/gtest.h>

namespace {

TEST(FileTimeTest, TimespecConversionsKeep100NanosecondUnits)
{
    EXPECT_EQ(fileTimeFromTimespec({0, 0}), fromUnix(0));
    // 2001-05-06 13:14:15 UTC, and the nanoseconds below 100 dropped.
    EXPECT_EQ(fileTimeFromTimespec({989154855, 123456789}), 126336284551234567u);

    const timespec back = timespecFromFileTime(126336284551234567u);
    EXPECT_EQ(back.tv_sec, 989154855);
    EXPECT_EQ(back.tv_nsec, 123456700);

    EXPECT_EQ(fileTimeFromTimespec({-86400, 0}), fromUnix(-86400));
    EXPECT_EQ(timespecFromFileTime(fromUnix(-86400)).tv_sec, -86400);
}

// Berlin is one hour ahead of UTC in January and two in July: each conversion must use the rule of its own date.
TEST(FileTimeTest, LocalTimeFollowsTheRulesOfTheConvertedDate)
{
    const ScopedZone zone("Europe/Berlin");
    const FileTime januaryUtc = fromUnix(1610712855); // 2021-01-15 12:14:15 UTC
    const FileTime julyUtc = fromUnix(1626347655);    // 2021-07-15 11:14:15 UTC

    FileTime utc = 0;
    ASSERT_TRUE(localToFileTime({2021, 1, 15, 13, 14, 15, 0}, utc));
    EXPECT_EQ(utc, januaryUtc);
    ASSERT_TRUE(localToFileTime({2021, 7, 15, 13, 14, 15, 0}, utc));
    EXPECT_EQ(utc, julyUtc);

    for (const FileTime moment : {januaryUtc, julyUtc}) {
        CalendarTime local;
        ASSERT_TRUE(fileTimeToLocal(moment, local));
        EXPECT_EQ(local.hour, 13);
        EXPECT_EQ(local.minute, 14);
        EXPECT_EQ(local.second, 15);
        EXPECT_EQ(local.day, 15);
    }
}

// On the days the clocks change: the times of that day after the change, the hour that is shown twice (its
// earlier moment is taken) and the hour that is skipped (moved forward).
TEST(FileTimeTest, LocalTimeOnTheDaysTheClocksChange)
{
    const ScopedZone zone("Europe/Berlin");
    FileTime utc = 0;
    ASSERT_TRUE(localToFileTime({2021, 10, 31, 12, 0, 0, 0}, utc));
    EXPECT_EQ(utc, fromUnix(1635678000)); // 11:00 UTC, winter time already
    ASSERT_TRUE(localToFileTime({2021, 10, 31, 2, 30, 0, 0}, utc));
    EXPECT_EQ(utc, fromUnix(1635640200)); // 00:30 UTC, the first of the two 02:30
    ASSERT_TRUE(localToFileTime({2021, 3, 28, 2, 30, 0, 0}, utc));
    EXPECT_EQ(utc, fromUnix(1616895000)); // 01:30 UTC, shown as 03:30
    ASSERT_TRUE(localToFileTime({2021, 3, 28, 1, 59, 59, 0}, utc));
    EXPECT_EQ(utc, fromUnix(1616893199));
}

TEST(FileTimeTest, MillisecondsAreCarriedBothWays)
{
    const ScopedZone zone("UTC");
    FileTime utc = 0;
    ASSERT_TRUE(localToFileTime({2001, 5, 6, 13, 14, 15, 789}, utc));
    EXPECT_EQ(utc, 126336284557890000u);

    CalendarTime local;
    ASSERT_TRUE(fileTimeToLocal(126336284557899999u, local));
    EXPECT_EQ(local.year, 2001);
    EXPECT_EQ(local.month, 5);
    EXPECT_EQ(local.millisecond, 789);
}

// Fields that name no moment, and moments outside what a file time can hold, fail instead of wrapping.
TEST(FileTimeTest, RefusesInvalidFieldsAndTimesOutOfRange)
{
    const ScopedZone zone("UTC");
    FileTime utc = 42;
    for (const CalendarTime& invalid :
         {CalendarTime{2021, 2, 29, 0, 0, 0, 0}, CalendarTime{2021, 13, 1, 0, 0, 0, 0},
          CalendarTime{2021, 1, 1, 24, 0, 0, 0}, CalendarTime{2021, 1, 1, 0, 60, 0, 0},
          CalendarTime{2021, 1, 1, 0, 0, 0, 1000}, CalendarTime{1600, 12, 31, 0, 0, 0, 0}})
        EXPECT_FALSE(localToFileTime(invalid, utc));
    EXPECT_EQ(utc, 42u);

    ASSERT_TRUE(localToFileTime({2020, 2, 29, 0, 0, 0, 0}, utc));
    ASSERT_TRUE(localToFileTime({1601, 1, 1, 0, 0, 0, 0}, utc));
    EXPECT_EQ(utc, 0u);

    CalendarTime local;
    EXPECT_FALSE(fileTimeToLocal(0x8000000000000000u, local));
    EXPECT_FALSE(fileTimeToLocal(~FileTime{0}, local));
}

// A fixed offset wins over the zone's rules, on either side of UTC and on the day the clocks change.
TEST(FileTimeTest, FieldsAtAFixedOffset)
{
    const ScopedZone zone("Europe/Berlin");
    FileTime utc = 0;
    ASSERT_TRUE(offsetTimeToFileTime({2001, 5, 6, 13, 14, 15, 250}, 120, utc));
    EXPECT_EQ(utc, fromUnix(989147655) + 2'500'000); // 11:14:15.25 UTC
    ASSERT_TRUE(offsetTimeToFileTime({2001, 5, 6, 13, 14, 15, 0}, -330, utc));
    EXPECT_EQ(utc, fromUnix(989174655)); // 18:44:15 UTC
    ASSERT_TRUE(offsetTimeToFileTime({2021, 3, 28, 2, 30, 0, 0}, 0, utc));
    EXPECT_EQ(utc, fromUnix(1616898600)); // 02:30 UTC, though Berlin skips that hour

    utc = 42;
    EXPECT_FALSE(offsetTimeToFileTime({2021, 13, 1, 0, 0, 0, 0}, 0, utc));
    EXPECT_FALSE(offsetTimeToFileTime({2021, 1, 1, 0, 0, 0, 0}, 24 * 60, utc));
    EXPECT_FALSE(offsetTimeToFileTime({1601, 1, 1, 0, 0, 0, 0}, 60, utc));
    EXPECT_EQ(utc, 42u);
    ASSERT_TRUE(offsetTimeToFileTime({1601, 1, 1, 0, 0, 0, 0}, -60, utc));
    EXPECT_EQ(utc, 3600 * kFileTimeUnitsPerSecond);
}

TEST(FileTimeTest, EarliestMomentEastOfUtcHasNoFileTime)
{
    const ScopedZone zone("Europe/Berlin");
    FileTime utc = 0;
    EXPECT_FALSE(localToFileTime({1601, 1, 1, 0, 0, 0, 0}, utc));
}

} // namespace
