// The date and time readers and the formatter under the formats that the system's locales give, and under arbitrary
// formats. Input: one byte choosing the date format, one the time format, then a date text, a time text and a free
// format, each ended by a NUL, and eight bytes for a moment to write.
#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "fuzzsupport.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

// The short date pictures of the system's locales (LC_TIME d_fmt turned into picture notation).
constexpr std::array<const char*, 30> kDateFormats = {
    "M/d/yyyy",   "M/d/yy",      "MM/dd/yy",     "MM/dd/yyyy", "d-M-yy",         "d-MM-yy",
    "d-MM-yyyy",  "d.M.yy",      "d.M.yyyy",     "d.MM.yyyy",  "d/M/yy",         "dd-MM-yy",
    "dd-MM-yyyy", "dd. MM. yy",  "dd. MM. yyyy", "dd.MM.yy",   "dd.MM.yyyy",     "dd.MM.yyyy.",
    "dd/MM-yyyy", "dd/MM/yy",    "dd/MM/yyyy",   "yy/M/d",     "yy/MM/dd",       "yyyy-MM-dd",
    "yyyy.MM.dd", "yyyy.MM.dd.", "yyyy.dd.MM",   "yyyy/MM/dd", "yyyy年MM月dd日", "yyyy년 MM월 dd일"};

// Their long time pictures (t_fmt, or t_fmt_ampm where t_fmt is empty).
constexpr std::array<const char*, 12> kTimeFormats = {"h:mm:ss tt", "H:mm:ss",      "HH.mm.ss",       "HH:mm",
                                                      "HH:mm:ss",   "HH:mm:ss tt",  "hh.mm.ss tt",    "hh:mm:ss tt",
                                                      "h:mm:ss፡tt", "HH时mm分ss秒", "HH시 mm분 ss초", "tt hh:mm:ss"};

constexpr double kFirstDayAfterYear9999 = 2958466;
constexpr int kSecondsPerDay = 86'400;

bool hasTwoDigitYear(const std::string& format)
{
    return format.find("yyyy") == std::string::npos;
}

bool carriesYear(const std::string& format, double day)
{
    CalendarTime fields;
    return serialToCalendar(day, fields) && (!hasTwoDigitYear(format) || (fields.year >= 1950 && fields.year < 2050));
}

// What the reader accepts is a day that the formatter writes and the reader reads back as that day, where the format
// has room for its year; the program's own writer, which widens a two-digit year, always has.
void checkDate(const std::string& text, const std::string& format)
{
    double day = -2;
    if (!parseDate(text, format, day))
        return;
    require(day >= 0 && day < kFirstDayAfterYear9999 && day == std::floor(day), "a date read is a day from 1899 on");
    double again = -2;
    if (carriesYear(format, day))
        require(parseDate(formatDateTime(format, day), format, again) && again == day, "a date read is written back");
    DateTimeFormats formats;
    formats.shortDateFormat = format;
    require(textToDate(formats, dateToText(formats, day), again) && again == day,
            "a date read is stored and read back");
}

bool hasSeconds(const std::string& format)
{
    return format.find('s') != std::string::npos;
}

// The moment a format can show: without seconds in it, the minute.
double shownMoment(const std::string& format, double time)
{
    return hasSeconds(format) ? time : std::floor(time * 1440 + 1e-9) / 1440;
}

void checkTime(const std::string& text, const std::string& format)
{
    double time = -2;
    if (!parseTime(text, format, time))
        return;
    require(time >= 0 && time < 1, "a time read is a fraction of a day");
    double again = -2;
    require(parseTime(formatDateTime(format, time), format, again) && again == shownMoment(format, time),
            "a time read is written back");
}

// What the formatter writes in a locale's format, the reader reads as the same day and second.
void checkWritten(std::uint64_t bits, const std::string& dateFormat, const std::string& timeFormat)
{
    const double day = static_cast<double>(bits % static_cast<std::uint64_t>(kFirstDayAfterYear9999));
    const double time = static_cast<double>((bits >> 32) % kSecondsPerDay) / kSecondsPerDay;
    double read = -2;
    if (carriesYear(dateFormat, day))
        require(parseDate(formatDateTime(dateFormat, day), dateFormat, read) && read == day,
                "a written date reads back");
    const double shown = shownMoment(timeFormat, time);
    require(parseTime(formatDateTime(timeFormat, shown), timeFormat, read) && read == shown,
            "a written time reads back");
}

// Arbitrary formats: nothing breaks, and the text stays in proportion to the format.
void checkFreeFormat(const std::string& format, const std::string& dateText, const std::string& timeText,
                     std::uint64_t bits)
{
    double serial = 0;
    std::memcpy(&serial, &bits, sizeof serial);
    const std::string text = formatDateTime(format, serial);
    require(text.size() <= 4 * format.size(), "formatted text is at most four bytes per format byte");
    double value = -2;
    if (parseDate(dateText, format, value))
        require(value >= 0 && value == std::floor(value), "a date read under any format is a day");
    if (parseTime(timeText, format, value))
        require(value >= 0 && value < 1, "a time read under any format is a fraction of a day");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string dateFormat = kDateFormats[data[0] % kDateFormats.size()];
    const std::string timeFormat = kTimeFormats[data[1] % kTimeFormats.size()];
    const std::vector<std::string_view> fields = splitFields(asText(data + 2, size - 2), 4);
    const std::string dateText(fields[0]);
    const std::string timeText(fields[1]);
    std::uint64_t bits = 0;
    if (!fields[3].empty())
        std::memcpy(&bits, fields[3].data(), std::min(fields[3].size(), sizeof bits));

    checkDate(dateText, dateFormat);
    checkTime(timeText, timeFormat);
    checkWritten(bits, dateFormat, timeFormat);
    checkFreeFormat(std::string(fields[2]), dateText, timeText, bits);
    return 0;
}
