#include "core/datetime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr int kMsPerDay = 86'400'000;
constexpr int kLastYear = 9999;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isValidDate(int year, int month, int day)
{
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > kLastYear || month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= kMonthDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

bool isValidTime(const CalendarTime& t)
{
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59 &&
           t.millisecond >= 0 && t.millisecond <= 999;
}

// Days since 0000-03-01 of the proleptic Gregorian calendar. Years start in March so that the leap day is the
// last day of a year and the month lengths follow the 153-days-per-5-months pattern. Valid from year 1.
constexpr int daysSinceMarchZero(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int monthFromMarch = month <= 2 ? month + 9 : month - 3;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    return 365 * y + y / 4 - y / 100 + y / 400 + dayOfYear;
}

CalendarTime dateFromDaysSinceMarchZero(int days)
{
    constexpr int kDaysPer400Years = 146'097;
    const int era = days / kDaysPer400Years;
    const int dayOfEra = days % kDaysPer400Years;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthFromMarch = (5 * dayOfYear + 2) / 153;
    CalendarTime date;
    date.day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    date.month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    date.year = era * 400 + yearOfEra + (date.month <= 2 ? 1 : 0);
    return date;
}

constexpr int kSerialZero = daysSinceMarchZero(1899, 12, 30);
constexpr int kFirstSerialAfterLastYear = daysSinceMarchZero(kLastYear + 1, 1, 1) - kSerialZero;

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiLetter(char c)
{
    const char lower = asciiLower(c);
    return lower >= 'a' && lower <= 'z';
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

// ---------------------------------------------------------------- formatting

enum class Field
{
    Literal,
    Marker,
    Year,
    Month,
    Day,
    Hour,
    Minute,
    Second,
    Millisecond
};

struct FormatToken
{
    Field field = Field::Literal;
    std::size_t length = 0; // characters of the format it covers
    std::string text;       // the literal, or a marker's text before noon
    std::string pmText;     // a marker's text from noon on
};

std::optional<FormatToken> readMarker(std::string_view rest)
{
    // The split markers echo the format's own letters, so "AM/PM" gives "PM" and "a/p" gives "p".
    if (startsWithNoCase(rest, "am/pm")) {
        return FormatToken{Field::Marker, 5, std::string(rest.substr(0, 2)), std::string(rest.substr(3, 2))};
    }
    if (startsWithNoCase(rest, "a/p")) {
        return FormatToken{Field::Marker, 3, std::string(rest.substr(0, 1)), std::string(rest.substr(2, 1))};
    }
    if (startsWithNoCase(rest, "ampm")) {
        return FormatToken{Field::Marker, 4, "AM", "PM"};
    }
    if (startsWithNoCase(rest, "tt")) {
        return FormatToken{Field::Marker, 2, "AM", "PM"};
    }
    return std::nullopt;
}

FormatToken quotedToken(std::string_view rest)
{
    const std::size_t close = rest.find(rest.front(), 1);
    if (close == std::string_view::npos) {
        return {Field::Literal, rest.size(), std::string(rest.substr(1)), {}};
    }
    return {Field::Literal, close + 1, std::string(rest.substr(1, close - 1)), {}};
}

Field fieldOf(char letter, char previousLetter)
{
    switch (letter) {
    case 'y':
        return Field::Year;
    case 'm':
        return previousLetter == 'h' ? Field::Minute : Field::Month;
    case 'd':
        return Field::Day;
    case 'h':
        return Field::Hour;
    case 'n':
        return Field::Minute;
    case 's':
        return Field::Second;
    case 'z':
        return Field::Millisecond;
    default:
        return Field::Literal;
    }
}

std::size_t runLength(std::string_view rest)
{
    const char first = asciiLower(rest.front());
    const auto end = std::find_if(rest.begin(), rest.end(), [first](char c) { return asciiLower(c) != first; });
    return static_cast<std::size_t>(end - rest.begin());
}

// `lastLetter` carries the previous letter outside quotes: an m right after an h means minutes.
FormatToken nextToken(std::string_view rest, char& lastLetter)
{
    const char first = rest.front();
    if (first == '\'' || first == '"') {
        return quotedToken(rest);
    }
    const char letter = asciiLower(first);
    const char previousLetter = lastLetter;
    if (isAsciiLetter(letter)) {
        lastLetter = letter;
    }
    if (auto marker = readMarker(rest)) {
        return *marker;
    }
    const std::size_t run = runLength(rest);
    const Field field = fieldOf(letter, previousLetter);
    if (field == Field::Literal) {
        return {Field::Literal, run, std::string(rest.substr(0, run)), {}};
    }
    return {field, run, {}, {}};
}

std::vector<FormatToken> tokenize(std::string_view format)
{
    std::vector<FormatToken> tokens;
    char lastLetter = '\0';
    for (std::size_t pos = 0; pos < format.size(); pos += tokens.back().length) {
        tokens.push_back(nextToken(format.substr(pos), lastLetter));
    }
    return tokens;
}

std::string padded(int value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

// A single letter prints the number as it is; a longer run pads it to the field's full width.
std::string number(const FormatToken& token, int value, std::size_t fullWidth)
{
    return padded(value, token.length == 1 ? 1 : fullWidth);
}

int twelveHourClock(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

std::string renderToken(const FormatToken& token, const CalendarTime& t, bool twelveHour)
{
    switch (token.field) {
    case Field::Literal:
        return token.text;
    case Field::Marker:
        return t.hour < 12 ? token.text : token.pmText;
    case Field::Year:
        return token.length <= 2 ? padded(t.year % 100, 2) : padded(t.year, 4);
    case Field::Month:
        return number(token, t.month, 2);
    case Field::Day:
        return number(token, t.day, 2);
    case Field::Hour:
        return number(token, twelveHour ? twelveHourClock(t.hour) : t.hour, 2);
    case Field::Minute:
        return number(token, t.minute, 2);
    case Field::Second:
        return number(token, t.second, 2);
    case Field::Millisecond:
        return number(token, t.millisecond, 3);
    }
    return {};
}

// ---------------------------------------------------------------- parsing

std::string_view trimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> splitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos; end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool readNumber(std::string_view digits, std::size_t maxDigits, int& value)
{
    if (digits.empty() || digits.size() > maxDigits || !std::all_of(digits.begin(), digits.end(), isAsciiDigit)) {
        return false;
    }
    value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return true;
}

// Where day, month and year stand among the three parts of a date, and what separates them.
struct DateLayout
{
    std::size_t dayIndex = 0;
    std::size_t monthIndex = 0;
    std::size_t yearIndex = 0;
    char separator = '\0';
};

std::size_t findLetter(std::string_view format, char lowerLetter)
{
    const auto it =
        std::find_if(format.begin(), format.end(), [lowerLetter](char c) { return asciiLower(c) == lowerLetter; });
    return it == format.end() ? std::string_view::npos : static_cast<std::size_t>(it - format.begin());
}

bool readDateLayout(std::string_view format, DateLayout& layout)
{
    const std::size_t day = findLetter(format, 'd');
    const std::size_t month = findLetter(format, 'm');
    const std::size_t year = findLetter(format, 'y');
    const auto separator = std::find_if_not(format.begin(), format.end(), isAsciiLetter);
    if (day == std::string_view::npos || month == std::string_view::npos || year == std::string_view::npos ||
        separator == format.end()) {
        return false;
    }
    const auto rank = [](std::size_t self, std::size_t a, std::size_t b) {
        return static_cast<std::size_t>(self > a) + static_cast<std::size_t>(self > b);
    };
    layout = {rank(day, month, year), rank(month, day, year), rank(year, day, month), *separator};
    return true;
}

// One or two digits name a year from 1950 to 2049; three are ambiguous.
bool readYear(std::string_view digits, int& year)
{
    int value = 0;
    if (digits.size() == 3 || !readNumber(digits, 4, value)) {
        return false;
    }
    year = digits.size() > 2 ? value : value + (value < 50 ? 2000 : 1900);
    return true;
}

enum class Meridiem
{
    None,
    Am,
    Pm
};

// Takes a trailing AM, PM, A or P (any case) and the blanks before it off `text`.
Meridiem takeMeridiem(std::string_view& text)
{
    std::string_view rest = text;
    if (!rest.empty() && asciiLower(rest.back()) == 'm') {
        rest.remove_suffix(1);
    }
    const char mark = rest.empty() ? '\0' : asciiLower(rest.back());
    if (mark != 'a' && mark != 'p') {
        return Meridiem::None;
    }
    rest.remove_suffix(1);
    text = trimBlanks(rest);
    return mark == 'a' ? Meridiem::Am : Meridiem::Pm;
}

// A 12-hour clock's hour (1..12) becomes 0..23; without a marker the hour stays as read.
bool applyMeridiem(Meridiem meridiem, int& hour)
{
    if (meridiem == Meridiem::None) {
        return true;
    }
    if (hour < 1 || hour > 12) {
        return false;
    }
    hour = hour % 12 + (meridiem == Meridiem::Pm ? 12 : 0);
    return true;
}

char timeSeparator(std::string_view longTimeFormat)
{
    const std::size_t hour = findLetter(longTimeFormat, 'h');
    if (hour == std::string_view::npos) {
        return ':';
    }
    const std::size_t after = hour + runLength(longTimeFormat.substr(hour));
    return after < longTimeFormat.size() ? longTimeFormat[after] : ':';
}

} // namespace

bool SerialToCalendar(double serial, CalendarTime& out)
{
    if (!(serial >= 0.0 && serial < kFirstSerialAfterLastYear)) {
        return false;
    }
    // Rounded to the millisecond, so that a time stored as a fraction reads back as the time it was.
    const std::int64_t totalMs = std::llround(serial * kMsPerDay);
    const int day = static_cast<int>(totalMs / kMsPerDay);
    if (day >= kFirstSerialAfterLastYear) {
        return false;
    }
    CalendarTime fields = dateFromDaysSinceMarchZero(kSerialZero + day);
    const int msOfDay = static_cast<int>(totalMs % kMsPerDay);
    fields.hour = msOfDay / 3'600'000;
    fields.minute = msOfDay / 60'000 % 60;
    fields.second = msOfDay / 1000 % 60;
    fields.millisecond = msOfDay % 1000;
    out = fields;
    return true;
}

bool CalendarToSerial(const CalendarTime& fields, double& out)
{
    if (!isValidDate(fields.year, fields.month, fields.day) || !isValidTime(fields)) {
        return false;
    }
    const int day = daysSinceMarchZero(fields.year, fields.month, fields.day) - kSerialZero;
    const int msOfDay = ((fields.hour * 60 + fields.minute) * 60 + fields.second) * 1000 + fields.millisecond;
    out = day + static_cast<double>(msOfDay) / kMsPerDay;
    return true;
}

std::string FormatDateTime(const std::string& format, double serial)
{
    CalendarTime fields;
    if (!SerialToCalendar(serial, fields)) {
        return {};
    }
    // A program formats thousands of stamps with the same one or two formats: read each format once.
    thread_local std::string lastFormat;
    thread_local std::vector<FormatToken> tokens;
    thread_local bool twelveHour = false;
    if (format != lastFormat || tokens.empty()) {
        tokens = tokenize(format);
        twelveHour =
            std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) { return t.field == Field::Marker; });
        lastFormat = format;
    }
    std::string text;
    for (const FormatToken& token : tokens) {
        text += renderToken(token, fields, twelveHour);
    }
    return text;
}

bool ParseDate(const std::string& text, const std::string& shortDateFormat, double& out)
{
    DateLayout layout;
    if (!readDateLayout(shortDateFormat, layout)) {
        return false;
    }
    const std::vector<std::string_view> parts = splitAt(trimBlanks(text), layout.separator);
    CalendarTime date;
    if (parts.size() != 3 || !readNumber(parts[layout.dayIndex], 4, date.day) ||
        !readNumber(parts[layout.monthIndex], 4, date.month) || !readYear(parts[layout.yearIndex], date.year)) {
        return false;
    }
    return CalendarToSerial(date, out);
}

bool ParseTime(const std::string& text, const std::string& longTimeFormat, double& out)
{
    std::string_view clock = trimBlanks(text);
    const Meridiem meridiem = takeMeridiem(clock);
    const std::vector<std::string_view> parts = splitAt(clock, timeSeparator(longTimeFormat));
    CalendarTime time;
    if (parts.size() < 2 || parts.size() > 3 || !readNumber(parts[0], 2, time.hour) ||
        !readNumber(parts[1], 2, time.minute) || (parts.size() == 3 && !readNumber(parts[2], 2, time.second)) ||
        !applyMeridiem(meridiem, time.hour) || !isValidTime(time)) {
        return false;
    }
    out = static_cast<double>((time.hour * 60 + time.minute) * 60 + time.second) / 86'400;
    return true;
}
