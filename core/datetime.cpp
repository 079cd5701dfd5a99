#include "core/datetime.h"

#include "core/asciitext.h"
#include "platform/calendar.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr int kMsPerDay = 86'400'000;
constexpr int kLastYear = 9999;

bool isValidDate(int year, int month, int day)
{
    if (year < 1 || year > kLastYear || month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= daysInMonth(year, month);
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

bool isAsciiLetter(char c)
{
    const char lower = asciiLower(c);
    return lower >= 'a' && lower <= 'z';
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
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

// Writes straight into the text: lists format thousands of stamps.
void appendPadded(std::string& text, int value, std::size_t width)
{
    std::array<char, 16> digits;
    const char* end = std::to_chars(digits.begin(), digits.end(), value).ptr;
    const auto length = static_cast<std::size_t>(end - digits.begin());
    if (length < width)
        text.append(width - length, '0');
    text.append(digits.data(), length);
}

// A single letter prints the number as it is; a longer run pads it to the field's full width.
void appendNumber(std::string& text, const FormatToken& token, int value, std::size_t fullWidth)
{
    appendPadded(text, value, token.length == 1 ? 1 : fullWidth);
}

int twelveHourClock(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

void appendToken(std::string& text, const FormatToken& token, const CalendarTime& t, bool twelveHour)
{
    switch (token.field) {
    case Field::Literal:
        text += token.text;
        break;
    case Field::Marker:
        text += t.hour < 12 ? token.text : token.pmText;
        break;
    case Field::Year:
        if (token.length <= 2)
            appendPadded(text, t.year % 100, 2);
        else
            appendPadded(text, t.year, 4);
        break;
    case Field::Month:
        appendNumber(text, token, t.month, 2);
        break;
    case Field::Day:
        appendNumber(text, token, t.day, 2);
        break;
    case Field::Hour:
        appendNumber(text, token, twelveHour ? twelveHourClock(t.hour) : t.hour, 2);
        break;
    case Field::Minute:
        appendNumber(text, token, t.minute, 2);
        break;
    case Field::Second:
        appendNumber(text, token, t.second, 2);
        break;
    case Field::Millisecond:
        appendNumber(text, token, t.millisecond, 3);
        break;
    }
}

// ---------------------------------------------------------------- parsing

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Literal text between fields is compared without its blanks: "06.05.2001" reads under "dd. MM. yyyy".
bool sameLiteral(std::string_view text, std::string_view literal)
{
    const auto withoutBlanks = [](std::string_view part) {
        std::string kept;
        std::copy_if(part.begin(), part.end(), std::back_inserter(kept), [](char c) { return !isBlank(c); });
        return kept;
    };
    return withoutBlanks(text) == withoutBlanks(literal);
}

// A text cut into its runs of ASCII digits and the text around them: between[i] stands before numbers[i], and
// between holds one more part than numbers, the text after the last run.
struct NumberRuns
{
    std::vector<std::string_view> numbers;
    std::vector<std::string_view> between;
};

NumberRuns splitNumberRuns(std::string_view text)
{
    NumberRuns runs;
    std::size_t pos = 0;
    while (true) {
        const auto digit = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos), text.end(), isAsciiDigit);
        const auto digitAt = static_cast<std::size_t>(digit - text.begin());
        runs.between.push_back(text.substr(pos, digitAt - pos));
        if (digit == text.end()) {
            return runs;
        }
        const auto end = std::find_if_not(digit, text.end(), isAsciiDigit);
        pos = static_cast<std::size_t>(end - text.begin());
        runs.numbers.push_back(text.substr(digitAt, pos - digitAt));
    }
}

// The literal texts around the runs must be the format's; the ones before the first and after the last field may be
// left out.
bool literalsMatch(const NumberRuns& runs, const std::vector<std::string>& literals)
{
    const std::size_t last = runs.between.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        const bool atEnd = i == 0 || i == last;
        if (!(atEnd && runs.between[i].empty()) && !sameLiteral(runs.between[i], literals[i])) {
            return false;
        }
    }
    return true;
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

// The fields of a format in their order, and the literal text before, between and after them (markers left out).
struct FieldLayout
{
    std::vector<Field> fields;
    std::vector<std::string> literals; // one more than fields
};

FieldLayout fieldLayout(std::string_view format)
{
    FieldLayout layout;
    layout.literals.emplace_back();
    for (const FormatToken& token : tokenize(format)) {
        if (token.field == Field::Literal) {
            layout.literals.back() += token.text;
        } else if (token.field != Field::Marker) {
            layout.fields.push_back(token.field);
            layout.literals.emplace_back();
        }
    }
    return layout;
}

// Where day, month and year stand among the three numbers of a date, and the literals around them.
struct DateLayout
{
    std::size_t dayIndex = 0;
    std::size_t monthIndex = 0;
    std::size_t yearIndex = 0;
    std::vector<std::string> literals;
};

// A short date format holds one day, one month and one year field and nothing else.
bool readDateLayout(std::string_view format, DateLayout& layout)
{
    const FieldLayout fields = fieldLayout(format);
    const auto indexOf = [&](Field field) {
        return static_cast<std::size_t>(std::find(fields.fields.begin(), fields.fields.end(), field) -
                                        fields.fields.begin());
    };
    layout = {indexOf(Field::Day), indexOf(Field::Month), indexOf(Field::Year), fields.literals};
    return fields.fields.size() == 3 && layout.dayIndex < 3 && layout.monthIndex < 3 && layout.yearIndex < 3 &&
           layout.dayIndex != layout.monthIndex && layout.dayIndex != layout.yearIndex &&
           layout.monthIndex != layout.yearIndex;
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

Meridiem meridiemOf(char mark)
{
    const char lower = asciiLower(mark);
    return lower == 'a' ? Meridiem::Am : (lower == 'p' ? Meridiem::Pm : Meridiem::None);
}

// Takes a trailing AM, PM, A or P (any case) and the blanks before it off `text`.
Meridiem takeTrailingMeridiem(std::string_view& text)
{
    std::string_view rest = text;
    if (!rest.empty() && asciiLower(rest.back()) == 'm') {
        rest.remove_suffix(1);
    }
    const Meridiem meridiem = rest.empty() ? Meridiem::None : meridiemOf(rest.back());
    if (meridiem != Meridiem::None) {
        rest.remove_suffix(1);
        text = trimBlanks(rest);
    }
    return meridiem;
}

// The same for a marker in front, as locales that write the marker first have it.
Meridiem takeLeadingMeridiem(std::string_view& text)
{
    const Meridiem meridiem = text.empty() ? Meridiem::None : meridiemOf(text.front());
    if (meridiem != Meridiem::None) {
        std::string_view rest = text.substr(1);
        if (!rest.empty() && asciiLower(rest.front()) == 'm') {
            rest.remove_prefix(1);
        }
        text = trimBlanks(rest);
    }
    return meridiem;
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

// The literals around hours, minutes and seconds. Without seconds in the format the minutes may still be followed by
// seconds, behind the hours' separator; a format without hours and minutes reads "h:mm:ss".
std::vector<std::string> timeLiterals(std::string_view longTimeFormat)
{
    const FieldLayout layout = fieldLayout(longTimeFormat);
    const std::vector<Field> withSeconds = {Field::Hour, Field::Minute, Field::Second};
    const std::vector<Field> withoutSeconds = {Field::Hour, Field::Minute};
    if (layout.fields == withSeconds) {
        return layout.literals;
    }
    if (layout.fields == withoutSeconds) {
        return {layout.literals[0], layout.literals[1], layout.literals[1], layout.literals[2]};
    }
    return {"", ":", ":", ""};
}

} // namespace

bool serialToCalendar(double serial, CalendarTime& out)
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

bool calendarToSerial(const CalendarTime& fields, double& out)
{
    if (!isValidDate(fields.year, fields.month, fields.day) || !isValidTime(fields)) {
        return false;
    }
    const int day = daysSinceMarchZero(fields.year, fields.month, fields.day) - kSerialZero;
    const int msOfDay = ((fields.hour * 60 + fields.minute) * 60 + fields.second) * 1000 + fields.millisecond;
    out = day + static_cast<double>(msOfDay) / kMsPerDay;
    return true;
}

std::string formatDateTime(const std::string& format, double serial)
{
    CalendarTime fields;
    if (!serialToCalendar(serial, fields)) {
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
    text.reserve(format.size() + 8);
    for (const FormatToken& token : tokens) {
        appendToken(text, token, fields, twelveHour);
    }
    return text;
}

bool parseDate(const std::string& text, const std::string& shortDateFormat, double& out)
{
    DateLayout layout;
    if (!readDateLayout(shortDateFormat, layout)) {
        return false;
    }
    const NumberRuns runs = splitNumberRuns(trimBlanks(text));
    CalendarTime date;
    if (runs.numbers.size() != 3 || !literalsMatch(runs, layout.literals) ||
        !readNumber(runs.numbers[layout.dayIndex], 4, date.day) ||
        !readNumber(runs.numbers[layout.monthIndex], 4, date.month) ||
        !readYear(runs.numbers[layout.yearIndex], date.year)) {
        return false;
    }
    // Earlier days have negative serials, which neither the stamps nor the texts can carry (-1 means "no date").
    double serial = 0;
    if (!calendarToSerial(date, serial) || serial < 0) {
        return false;
    }
    out = serial;
    return true;
}

bool parseTime(const std::string& text, const std::string& longTimeFormat, double& out)
{
    std::string_view clock = trimBlanks(text);
    const Meridiem trailing = takeTrailingMeridiem(clock);
    const Meridiem leading = takeLeadingMeridiem(clock);
    if (trailing != Meridiem::None && leading != Meridiem::None) {
        return false;
    }
    const Meridiem meridiem = trailing != Meridiem::None ? trailing : leading;
    NumberRuns runs = splitNumberRuns(clock);
    std::vector<std::string> literals = timeLiterals(longTimeFormat);
    if (runs.numbers.size() == 2) {
        // Without its seconds the time may end in the text that follows the minutes.
        literals.erase(literals.end() - 1);
    }
    CalendarTime time;
    if (runs.numbers.size() < 2 || runs.numbers.size() > 3 || !literalsMatch(runs, literals) ||
        !readNumber(runs.numbers[0], 2, time.hour) || !readNumber(runs.numbers[1], 2, time.minute) ||
        (runs.numbers.size() == 3 && !readNumber(runs.numbers[2], 2, time.second)) ||
        !applyMeridiem(meridiem, time.hour) || !isValidTime(time)) {
        return false;
    }
    out = static_cast<double>((time.hour * 60 + time.minute) * 60 + time.second) / 86'400;
    return true;
}

double joinDateAndTime(double date, double time)
{
    return std::floor(date) + (time - std::floor(time));
}

double wholeSeconds(double serial)
{
    CalendarTime fields;
    if (!serialToCalendar(serial, fields))
        return serial;
    fields.millisecond = 0;
    calendarToSerial(fields, serial);
    return serial;
}
