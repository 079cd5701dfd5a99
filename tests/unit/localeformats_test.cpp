// The user's date and time formats turned from strftime into picture notation.
#include "platform/localeformats.h"

#include <gtest/gtest.h>

namespace {

TEST(LocaleFormatsTest, ConvertsCommonDateFormats)
{
    EXPECT_EQ(ShortDatePicture("%m/%d/%Y"), "MM/dd/yyyy");
    EXPECT_EQ(ShortDatePicture("%d.%m.%Y"), "dd.MM.yyyy");
    EXPECT_EQ(ShortDatePicture("%D"), "MM/dd/yy");
    EXPECT_EQ(ShortDatePicture("%F"), "yyyy-MM-dd");
    EXPECT_EQ(ShortDatePicture("%e/%-m/%y"), "d/M/yy");
    EXPECT_EQ(ShortDatePicture("%Y年%m月%d日"), "yyyy年MM月dd日");
}

TEST(LocaleFormatsTest, ConvertsCommonTimeFormats)
{
    EXPECT_EQ(LongTimePicture("%I:%M:%S %p", ""), "hh:mm:ss tt");
    EXPECT_EQ(LongTimePicture("%H:%M:%S", ""), "HH:mm:ss");
    EXPECT_EQ(LongTimePicture("%r", ""), "hh:mm:ss tt");
    EXPECT_EQ(LongTimePicture("%T", ""), "HH:mm:ss");
    EXPECT_EQ(LongTimePicture("%R", ""), "HH:mm");
    EXPECT_EQ(LongTimePicture("%OH.%OM", ""), "HH.mm");
}

// Locales with only a 12-hour clock leave T_FMT empty.
TEST(LocaleFormatsTest, EmptyTimeFormatTakesTheAmPmOne)
{
    EXPECT_EQ(LongTimePicture("", "%l:%M:%S %p"), "h:mm:ss tt");
}

// Percent signs, literal letters and conversions without a picture cannot be shown faithfully: the fallback is used.
TEST(LocaleFormatsTest, MalformedFormatsFallBack)
{
    for (const char* format : {"", "%", "%d.%m.%", "%a %d %b", "%Q", "day %d", "%d.%m.%Y %Z"})
        EXPECT_EQ(ShortDatePicture(format), "MM/dd/yyyy") << format;
    EXPECT_EQ(LongTimePicture("%H:%M:%S %Z", ""), "HH:mm:ss");
    EXPECT_EQ(LongTimePicture("", ""), "HH:mm:ss");
    EXPECT_EQ(LongTimePicture("%I h %M", ""), "HH:mm:ss");
}

// A doubled percent sign is a literal percent, not the start of a composite.
TEST(LocaleFormatsTest, DoubledPercentIsLiteral)
{
    EXPECT_EQ(PictureFromStrftime("%H%%%M"), "HH%mm");
    EXPECT_EQ(PictureFromStrftime("%%D"), std::nullopt);
}

TEST(LocaleFormatsTest, CLocaleGivesItsOwnFormats)
{
    // The test process never calls setlocale, so LC_TIME is "C": %m/%d/%y and %H:%M:%S.
    EXPECT_EQ(LocaleShortDateFormat(), "MM/dd/yy");
    EXPECT_EQ(LocaleLongTimeFormat(), "HH:mm:ss");
}

} // namespace
