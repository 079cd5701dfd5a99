#include "core/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

namespace {

CalendarTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0)
{
    CalendarTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = millisecond;
    return t;
}

std::string text(const CalendarTime& t)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, t.millisecond);
    return buffer;
}

double serialOf(const CalendarTime& t)
{
    double serial = kNoDateTime;
    EXPECT_TRUE(calendarToSerial(t, serial)) << text(t);
    return serial;
}

std::string decoded(double serial)
{
    CalendarTime t;
    return serialToCalendar(serial, t) ? text(t) : "refused";
}

const CalendarTime kSample = at(2001, 5, 6, 13, 14, 15);

} // namespace

// Day numbers other code and stored values depend on, and each moment reading back as the fields it came from.
TEST(DateTimeSerial, KnownDaysAndRoundTrips)
{
    EXPECT_EQ(serialOf(at(1899, 12, 30)), 0.0);
    EXPECT_EQ(serialOf(at(2001, 1, 1)), 36892.0);
    EXPECT_EQ(serialOf(at(1980, 1, 1)), 29221.0);
    EXPECT_EQ(serialOf(at(2000, 2, 29)), 36585.0);
    EXPECT_EQ(serialOf(at(2104, 2, 29)), 74570.0);
    EXPECT_EQ(serialOf(at(9999, 12, 31)), 2958465.0);
    EXPECT_DOUBLE_EQ(serialOf(kSample), 37017.0 + 47655.0 / 86400.0);

    for (const CalendarTime& t :
         {at(1899, 12, 30), at(1980, 1, 1), kSample, at(2105, 12, 31, 23, 59, 59), at(2000, 2, 29, 6, 0, 0, 1),
          at(2104, 2, 29, 12), at(9999, 12, 31, 23, 59, 59, 999)}) {
        EXPECT_EQ(decoded(serialOf(t)), text(t));
    }
}

// A fraction a hair below a whole millisecond is that millisecond, even where it carries into the next day.
TEST(DateTimeSerial, DecodingRoundsToTheNearestMillisecond)
{
    EXPECT_EQ(decoded(37017.0 + 47655.0 / 86400.0 - 1e-10), "2001-05-06 13:14:15.000");
    EXPECT_EQ(decoded(0.9999999999), "1899-12-31 00:00:00.000");
    EXPECT_EQ(decoded(0.5), "1899-12-30 12:00:00.000");
}

TEST(DateTimeSerial, RefusesWhatIsNotACalendarMoment)
{
    // Serials before the epoch, not numbers, or in year 10000 (also by rounding).
    for (const double serial : {kNoDateTime, -0.5, std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(), 2958466.0, 2958466.0 - 1e-9}) {
        EXPECT_EQ(decoded(serial), "refused") << serial;
    }
    // Fields outside their ranges, including days that only exist in other years or months.
    for (const CalendarTime& t :
         {at(0, 1, 1), at(10000, 1, 1), at(2001, 0, 1), at(2001, 13, 1), at(2001, 1, 0), at(2001, 2, 29),
          at(1900, 2, 29), at(2000, 2, 30), at(2001, 4, 31), at(2001, 1, 1, 24), at(2001, 1, 1, -1),
          at(2001, 1, 1, 0, 60), at(2001, 1, 1, 0, 0, 60), at(2001, 1, 1, 0, 0, 0, 1000)}) {
        double serial = kNoDateTime;
        EXPECT_FALSE(calendarToSerial(t, serial)) << text(t);
        EXPECT_EQ(serial, kNoDateTime);
    }
}

// The display formats built from locales, and the rules for which m is a minute and when the clock is 12-hour.
TEST(FormatDateTime, DisplayFormats)
{
    const double sample = serialOf(kSample);
    EXPECT_EQ(formatDateTime("mm/dd/yyyy hh:mm:ss ampm", sample), "05/06/2001 01:14:15 PM");
    EXPECT_EQ(formatDateTime("dd.mm.yyyy hh:mm:ss", sample), "06.05.2001 13:14:15");
    EXPECT_EQ(formatDateTime("M/d/yyyy h:mm:ss tt", sample), "5/6/2001 1:14:15 PM");
    EXPECT_EQ(formatDateTime("DD.MM.YYYY HH:MM", sample), "06.05.2001 13:14");
    EXPECT_EQ(formatDateTime("d/m/yy y", sample), "6/5/01 01");
    EXPECT_EQ(formatDateTime("h:nn:ss mm", sample), "13:14:15 05");
    EXPECT_EQ(formatDateTime("tt h:mm", sample), "PM 1:14");
    EXPECT_EQ(formatDateTime("'hh' hh\"h\"mm '", sample), "hh 13h14 ");
    EXPECT_EQ(formatDateTime("hh:nn:ss.zzz s.z", serialOf(at(2001, 5, 6, 9, 8, 7, 6))), "09:08:07.006 7.6");
    EXPECT_EQ(formatDateTime("dd", kNoDateTime), "");
}

// Hour 0 and hour 12 both show as 12; the split markers keep the format's own case.
TEST(FormatDateTime, TwelveHourClockAtMidnightAndNoon)
{
    EXPECT_EQ(formatDateTime("h:mm AM/PM", serialOf(at(2001, 5, 6, 0, 5))), "12:05 AM");
    EXPECT_EQ(formatDateTime("hh:mm am/pm", serialOf(at(2001, 5, 6, 12))), "12:00 pm");
    EXPECT_EQ(formatDateTime("h:mm ampm", serialOf(at(2001, 5, 6, 11, 59))), "11:59 AM");
    EXPECT_EQ(formatDateTime("h:mm a/p", serialOf(at(2001, 5, 6, 13))), "1:00 p");
    EXPECT_EQ(formatDateTime("h:mm A/P", serialOf(at(2001, 5, 6, 9))), "9:00 A");
}

namespace {

std::string parsedDate(const std::string& input, const std::string& format)
{
    double serial = kNoDateTime;
    if (!parseDate(input, format, serial)) {
        return "invalid";
    }
    EXPECT_EQ(serial, std::floor(serial)) << input;
    return decoded(serial).substr(0, 10);
}

double parsedSeconds(const std::string& input, const std::string& format = "h:mm:ss tt")
{
    double fraction = kNoDateTime;
    return parseTime(input, format, fraction) ? fraction * 86400.0 : -1.0;
}

} // namespace

// Field order and separator come from the format; two-digit years fall in 1950..2049.
TEST(ParseDate, ReadsInTheOrderOfTheFormat)
{
    EXPECT_EQ(parsedDate("5/6/2001", "M/d/yyyy"), "2001-05-06");
    EXPECT_EQ(parsedDate(" 05/06/2001\t", "M/d/yyyy"), "2001-05-06");
    EXPECT_EQ(parsedDate("6.5.2001", "dd.MM.yyyy"), "2001-05-06");
    EXPECT_EQ(parsedDate("2001-5-06", "yyyy-MM-dd"), "2001-05-06");
    EXPECT_EQ(parsedDate("6/2/1999", "dd/MM/yyyy"), "1999-02-06");
    EXPECT_EQ(parsedDate("29.02.2000", "dd.MM.yyyy"), "2000-02-29");
    EXPECT_EQ(parsedDate("1/1/49", "M/d/yyyy"), "2049-01-01");
    EXPECT_EQ(parsedDate("1/1/50", "M/d/yy"), "1950-01-01");
    EXPECT_EQ(parsedDate("1/1/5", "M/d/yyyy"), "2005-01-01");
    EXPECT_EQ(parsedDate("1/1/1949", "M/d/yyyy"), "1949-01-01");
    EXPECT_EQ(parsedDate("12/30/1899", "M/d/yyyy"), "1899-12-30");
}

// Locales write blanks after the separators, different separators, a closing literal, or words between the numbers;
// what the formatter writes in such a format reads back, and the blanks and the closing literal may be left out.
TEST(ParseDate, ReadsTheLiteralsOfLocaleFormats)
{
    const CalendarTime day = at(2001, 5, 6);
    for (const char* format :
         {"dd. MM. yyyy", "dd.MM.yyyy.", "yyyy.MM.dd.", "dd/MM-yyyy", "yyyy年MM月dd日", "yyyy년 MM월 dd일", "d-M-yy"}) {
        EXPECT_EQ(parsedDate(formatDateTime(format, serialOf(day)), format), "2001-05-06") << format;
    }
    EXPECT_EQ(parsedDate("06.05.2001", "dd. MM. yyyy"), "2001-05-06");
    EXPECT_EQ(parsedDate("06.05.2001", "dd.MM.yyyy."), "2001-05-06");
    EXPECT_EQ(parsedDate("2001年5月6", "yyyy年MM月dd日"), "2001-05-06");
    EXPECT_EQ(parsedDate("06-05-2001", "dd/MM-yyyy"), "invalid");
    EXPECT_EQ(parsedDate("2001年5日6月", "yyyy年MM月dd日"), "invalid");
    EXPECT_EQ(parsedDate("06.05.2001!", "dd.MM.yyyy."), "invalid");
}

TEST(ParseDate, RefusesWhatIsNotADate)
{
    for (const auto& [input, format] :
         std::initializer_list<std::pair<const char*, const char*>>{{"31.02.2001", "dd.MM.yyyy"},
                                                                    {"29.02.2001", "dd.MM.yyyy"},
                                                                    {"13/1/2001", "M/d/yyyy"},
                                                                    {"abc", "M/d/yyyy"},
                                                                    {"", "M/d/yyyy"},
                                                                    {"1/2/3/4", "M/d/yyyy"},
                                                                    {"1/2", "M/d/yyyy"},
                                                                    {"1//2001", "M/d/yyyy"},
                                                                    {"1/2/123", "M/d/yyyy"},
                                                                    {"1/2/2001x", "M/d/yyyy"},
                                                                    {"1.2.2001", "M/d/yyyy"},
                                                                    {"00001/2/2001", "M/d/yyyy"},
                                                                    {"1/1/0000", "M/d/yyyy"},
                                                                    // before the first day a serial can carry; the
                                                                    // day before it would read as "no date"
                                                                    {"1/1/0099", "M/d/yyyy"},
                                                                    {"12/29/1899", "M/d/yyyy"},
                                                                    {"5/6/2001", "M/d/h"},
                                                                    {"5/6/2001", "M/d/yyyy/d"},
                                                                    {"1/+2/2001", "M/d/yyyy"},
                                                                    {"1/2", "MM/dd"}}) {
        EXPECT_EQ(parsedDate(input, format), "invalid") << input << " as " << format;
    }
}

// 12 AM is midnight and 12 PM noon; the marker may follow with or without a blank.
TEST(ParseTime, ReadsTwentyFourAndTwelveHourTimes)
{
    EXPECT_DOUBLE_EQ(parsedSeconds("13:14:15"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("1:14:15 PM"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds(" 1:14:15PM "), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("12:00:00 AM"), 0.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("12:30 pm"), 45000.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("12:30 am"), 1800.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("9:05 a"), 32700.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("11:59:59 P"), 86399.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("0:00"), 0.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("13.14.15", "HH.mm.ss"), 47655.0);
}

// Markers in front, words between the numbers and a literal before the marker, as locales write them.
TEST(ParseTime, ReadsTheLiteralsOfLocaleFormats)
{
    EXPECT_DOUBLE_EQ(parsedSeconds("PM 01:14:15", "tt hh:mm:ss"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("a 9:05", "tt hh:mm:ss"), 32700.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("13時14分15秒", "HH時mm分ss秒"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("13時14分", "HH時mm分ss秒"), 47640.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("13시 14분 15초", "HH시 mm분 ss초"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("1:14:15፡PM", "h:mm:ss፡tt"), 47655.0);
    EXPECT_DOUBLE_EQ(parsedSeconds("13:14:15", "HH:mm"), 47655.0);
    EXPECT_EQ(parsedSeconds("13時14:15", "HH時mm分ss秒"), -1.0);
    EXPECT_EQ(parsedSeconds("PM 1:14:15 PM", "tt hh:mm:ss"), -1.0);
}

TEST(ParseTime, RefusesWhatIsNotATime)
{
    for (const char* input : {"24:00:00", "13:00 PM", "0:30 AM", "10:61", "10:30:60", "10", "10:30:00:00", "123:00",
                              "abc", "", "PM", "10:30 XM", "10:30 PM AM", "10:-3"}) {
        EXPECT_EQ(parsedSeconds(input), -1.0) << input;
    }
    EXPECT_EQ(parsedSeconds("13:14:15", "HH.mm.ss"), -1.0);
}
