// The user's date and time formats turned from strftime into picture notation.
#include "platform/localeformats.h"

#include <gtest/gtest.h>

namespace {

TEST(LocaleFormatsTest, ConvertsCommonDateFormats)
{
    EXPECT_EQ(shortDatePicture("%m/%d/%Y"), "MM/dd/yyyy");
    EXPECT_EQ(shortDatePicture("%d.%m.%Y"), "dd.MM.yyyy");
    EXPECT_EQ(shortDatePicture("%D"), "MM/dd/yy");
    EXPECT_EQ(shortDatePicture("%F"), "yyyy-MM-dd");
    EXPECT_EQ(shortDatePicture("%e/%-m/%y"), "d/M/yy");
    EXPECT_EQ(shortDatePicture("%Y年%m月%d日"), "yyyy年MM月dd日");
}

TEST(LocaleFormatsTest, ConvertsCommonTimeFormats)
{
    EXPECT_EQ(longTimePicture("%I:%M:%S %p", ""), "hh:mm:ss tt");
    EXPECT_EQ(longTimePicture("%H:%M:%S", ""), "HH:mm:ss");
    EXPECT_EQ(longTimePicture("%r", ""), "hh:mm:ss tt");
    EXPECT_EQ(longTimePicture("%T", ""), "HH:mm:ss");
    EXPECT_EQ(longTimePicture("%R", ""), "HH:mm");
    EXPECT_EQ(longTimePicture("%OH.%OM", ""), "HH.mm");
}

// Locales with only a 12-hour clock leave T_FMT empty.
TEST(LocaleFormatsTest, EmptyTimeFormatTakesTheAmPmOne)
{
    EXPECT_EQ(longTimePicture("", "%l:%M:%S %p"), "h:mm:ss tt");
}

// Percent signs, literal letters and conversions without a picture cannot be shown faithfully: the fallback is used.
TEST(LocaleFormatsTest, MalformedFormatsFallBack)
{
    for (const char* format : {"", "%", "%d.%m.%", "%a %d %b", "%Q", "day %d", "%d.%m.%Y %Z"})
        EXPECT_EQ(shortDatePicture(format), "MM/dd/yyyy") << format;
    EXPECT_EQ(longTimePicture("%H:%M:%S %Z", ""), "HH:mm:ss");
    EXPECT_EQ(longTimePicture("", ""), "HH:mm:ss");
    EXPECT_EQ(longTimePicture("%I h %M", ""), "HH:mm:ss");
}

// A doubled percent sign is a literal percent, not the start of a composite.
TEST(LocaleFormatsTest, DoubledPercentIsLiteral)
{
    EXPECT_EQ(pictureFromStrftime("%H%%%M"), "HH%mm");
    EXPECT_EQ(pictureFromStrftime("%%D"), std::nullopt);
}

TEST(LocaleFormatsTest, CLocaleGivesItsOwnFormats)
{
    // The test process never calls setlocale, so LC_TIME is "C": %m/%d/%y and %H:%M:%S.
    EXPECT_EQ(localeShortDateFormat(), "MM/dd/yy");
    EXPECT_EQ(localeLongTimeFormat(), "HH:mm:ss");
}

} // namespace
