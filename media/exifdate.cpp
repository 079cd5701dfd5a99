// The recorded date as EXIF writes it: the date and time, the fraction of a second and the offset from UTC.
#include "media/exifdate.h"

#include "platform/filetime.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number written by `count` digits at `at`; nothing unless every one is a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY:MM:DD HH:MM:SS": the separators where they belong and digits everywhere else.
std::optional<CalendarTime> readDate(std::string_view text)
{
    constexpr std::string_view kShape = "dddd:dd:dd dd:dd:dd";
    if (text.size() != kShape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i)
        if (kShape[i] != 'd' ? text[i] != kShape[i] : !isDigit(text[i]))
            return std::nullopt;
    return CalendarTime{*digitsAt(text, 0, 4),
                        *digitsAt(text, 5, 2),
                        *digitsAt(text, 8, 2),
                        *digitsAt(text, 11, 2),
                        *digitsAt(text, 14, 2),
                        *digitsAt(text, 17, 2),
                        0};
}

// The fraction in 100 ns units; digits beyond the seventh are below that and dropped.
FileTime fractionUnits(std::string_view text)
{
    const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    if (digits == 0 || text.find_first_not_of(' ', digits) != std::string_view::npos)
        return 0;
    FileTime units = 0;
    FileTime scale = kFileTimeUnitsPerSecond;
    for (std::size_t i = 0; i < digits && scale > 1; ++i) {
        scale /= 10;
        units += static_cast<FileTime>(text[i] - '0') * scale;
    }
    return units;
}

// Minutes east of UTC for "+HH:MM" or "-HH:MM"; nothing otherwise, blank included.
std::optional<int> offsetMinutes(std::string_view text)
{
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    const std::optional<int> hours = digitsAt(text, 1, 2);
    const std::optional<int> minutes = digitsAt(text, 4, 2);
    if (!hours || !minutes || *hours > 23 || *minutes > 59)
        return std::nullopt;
    const int east = *hours * 60 + *minutes;
    return text[0] == '-' ? -east : east;
}

} // namespace

std::optional<FileTime> exifDateToFileTime(std::string_view date, std::string_view subSeconds, std::string_view offset)
{
    const std::optional<CalendarTime> fields = readDate(date);
    if (!fields)
        return std::nullopt;
    FileTime utc = 0;
    const std::optional<int> east = offsetMinutes(offset);
    if (east ? !offsetTimeToFileTime(*fields, *east, utc) : !localToFileTime(*fields, utc))
        return std::nullopt;
    return utc + fractionUnits(subSeconds);
}
