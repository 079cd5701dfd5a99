// The date/time formats built from the locale and dates and times as text in them.
#include "core/datetimeformats.h"

#include "fake/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

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
    DateTimeFormats formats = BuildDateTimeFormats();
    EXPECT_EQ(formats.DisplayFormat, "mm/dd/yyyy hh:mm:ss tt");
    EXPECT_EQ(formats.PickerDateFormat, "MM/dd/yyyy");
    EXPECT_EQ(formats.PickerTimeFormat, "hh:mm:ss tt");
    EXPECT_EQ(formats.shortDateFormat, "M/d/yyyy");
    EXPECT_EQ(formats.longTimeFormat, "h:mm:ss tt");

    platform.timeFormat = "h:mm:ss AMPM";
    formats = BuildDateTimeFormats();
    EXPECT_EQ(formats.DisplayFormat, "mm/dd/yyyy hh:mm:ss ampm");
    EXPECT_EQ(formats.PickerTimeFormat, "hh:mm:ss tt");

    platform.dateFormat = "dd.MM.yyyy";
    platform.timeFormat = "HH:mm:ss";
    formats = BuildDateTimeFormats();
    EXPECT_EQ(formats.DisplayFormat, "dd.mm.yyyy hh:mm:ss");
    EXPECT_EQ(formats.PickerDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(formats.PickerTimeFormat, "HH:mm:ss");
}

TEST(DateTimeText, RoundTripsInTheLocaleFormats)
{
    FakePlatform platform;
    platform.dateFormat = "dd.MM.yyyy";
    platform.timeFormat = "HH:mm:ss";
    const DateTimeFormats formats = BuildDateTimeFormats();
    const double stamp = 37017.0 + (13 * 3600 + 14 * 60 + 15) / 86400.0; // 2001-05-06 13:14:15
    EXPECT_EQ(dateToText(formats, stamp), "06.05.2001");
    EXPECT_EQ(timeToText(formats, stamp), "13:14:15");
    double date = 0;
    double time = 0;
    ASSERT_TRUE(textToDate(formats, "06.05.2001", date));
    ASSERT_TRUE(textToTime(formats, "13:14:15", time));
    EXPECT_NEAR(date + time, stamp, 1e-9);
}

// Each value keeps the locale it was built from: building another one changes nothing in it.
TEST(DateTimeText, EachValueKeepsItsOwnLocale)
{
    FakePlatform platform;
    platform.dateFormat = "dd.MM.yyyy";
    const DateTimeFormats dayFirst = BuildDateTimeFormats();
    platform.dateFormat = "M/d/yyyy";
    const DateTimeFormats monthFirst = BuildDateTimeFormats();

    EXPECT_EQ(dateToText(dayFirst, 37017.0), "06.05.2001");
    EXPECT_EQ(dateToText(monthFirst, 37017.0), "5/6/2001");
    double date = 0;
    ASSERT_TRUE(textToDate(dayFirst, "6.5.2001", date));
    EXPECT_EQ(date, 37017.0);
    ASSERT_TRUE(textToDate(monthFirst, "6/5/2001", date));
    EXPECT_EQ(date, 37047.0); // June 5th
}

// Two digits would bring 1949 back as 2049: the year is written in full, and the reader takes it.
TEST(DateTimeText, TwoDigitYearFormatsWriteTheWholeYear)
{
    FakePlatform platform;
    platform.dateFormat = "MM/dd/yy";
    const DateTimeFormats formats = BuildDateTimeFormats();
    for (const double day : {17899.0, 18264.0, 54788.0, 54789.0}) { // 1949-01-01, 1950-01-01, 2049-12-31, 2050-01-01
        double read = 0;
        ASSERT_TRUE(textToDate(formats, dateToText(formats, day), read)) << dateToText(formats, day);
        EXPECT_EQ(read, day);
    }
    EXPECT_EQ(dateToText(formats, 17899.0), "01/01/1949");
    double read = 0;
    ASSERT_TRUE(textToDate(formats, "01/01/49", read));
    EXPECT_EQ(read, 54424.0); // typed with two digits, 2049
}

} // namespace
