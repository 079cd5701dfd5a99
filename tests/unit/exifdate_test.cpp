// The recorded date as EXIF writes it: the date and time, the fraction of a second and the offset from UTC.
#include "media/exifdate.h"

#include "fake/scopedzone.h"
#include "fake/unixtime.h"

#include <gtest/gtest.h>

namespace {

constexpr FileTime kUnitsPerMillisecond = 10'000;
constexpr const char* kDate = "2001:05:06 13:14:15";
constexpr FileTime kAtPlusTwo = fromUnix(989147655);         // 2001-05-06 11:14:15 UTC
constexpr FileTime kAtMinusFiveThirty = fromUnix(989174655); // 2001-05-06 18:44:15 UTC

// With an offset the zone's rules play no part; the fraction is decimal, kept to 100 ns.
TEST(ExifDateTest, DateWithItsFractionAndOffset)
{
    const ScopedZone zone("Europe/Berlin");
    EXPECT_EQ(exifDateToFileTime(kDate, "", "+02:00"), kAtPlusTwo);
    EXPECT_EQ(exifDateToFileTime(kDate, "", "-05:30"), kAtMinusFiveThirty);
    EXPECT_EQ(exifDateToFileTime(kDate, "", "+00:00"), fromUnix(989154855));
    EXPECT_EQ(exifDateToFileTime(kDate, "5", "+02:00"), kAtPlusTwo + 500 * kUnitsPerMillisecond);
    EXPECT_EQ(exifDateToFileTime(kDate, "123", "+02:00"), kAtPlusTwo + 123 * kUnitsPerMillisecond);
    EXPECT_EQ(exifDateToFileTime(kDate, "05", "+02:00"), kAtPlusTwo + 50 * kUnitsPerMillisecond);
    EXPECT_EQ(exifDateToFileTime(kDate, "1234567", "+02:00"), kAtPlusTwo + 1234567);
    EXPECT_EQ(exifDateToFileTime(kDate, "123456789", "+02:00"), kAtPlusTwo + 1234567);
    EXPECT_EQ(exifDateToFileTime(kDate, "25  ", "+02:00"), kAtPlusTwo + 250 * kUnitsPerMillisecond);
    // Sub-seconds that are no decimal fraction are left out, the date kept.
    for (const char* unreadable : {"abc", "5x", " 5", "-5", "   "})
        EXPECT_EQ(exifDateToFileTime(kDate, unreadable, "+02:00"), kAtPlusTwo) << unreadable;
}

// Without an offset, or with a blank or unreadable one, the date is Berlin's local time on that date: summer time in
// July, the earlier of the twice-shown 02:30 in October, and the skipped 02:30 in March moved forward.
TEST(ExifDateTest, DateWithoutOffsetIsLocalTimeOnItsDate)
{
    const ScopedZone zone("Europe/Berlin");
    for (const char* noOffset : {"", "      ", "   :  ", "02:00", "+2:00", "+24:00", "+02:60", "+02:00x"})
        EXPECT_EQ(exifDateToFileTime("2021:07:15 13:14:15", "", noOffset), fromUnix(1626347655)) << noOffset;
    EXPECT_EQ(exifDateToFileTime("2021:01:15 13:14:15", "", ""), fromUnix(1610712855));
    EXPECT_EQ(exifDateToFileTime("2021:10:31 02:30:00", "5", ""), fromUnix(1635640200) + 500 * kUnitsPerMillisecond);
    EXPECT_EQ(exifDateToFileTime("2021:03:28 02:30:00", "", ""), fromUnix(1616895000));
}

// A text that names no moment is no date, whatever the other tags say.
TEST(ExifDateTest, ImpossibleDatesAreNoDate)
{
    const ScopedZone zone("UTC");
    for (const char* impossible :
         {"", "                   ", "    :  :     :  :  ", "0000:00:00 00:00:00", "2001:13:06 13:14:15",
          "2001:02:29 13:14:15", "2001:05:06 24:00:00", "2001:05:06 13:60:15", "2001:05:06 13:14:60",
          "2001-05-06 13:14:15", "2001:05:06T13:14:15", "2001:05:06 13:14", "2001:05:06 13:14:15.5",
          "1600:12:31 23:59:59", "+001:05:06 13:14:15", "2001:5:6 13:14:15  "}) {
        EXPECT_EQ(exifDateToFileTime(impossible, "5", "+02:00"), std::nullopt) << impossible;
        EXPECT_EQ(exifDateToFileTime(impossible, "", ""), std::nullopt) << impossible;
    }
}

} // namespace
