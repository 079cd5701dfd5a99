// Date/time serials (days since 1899-12-30 in local time, the fraction the time of day) and their text.
// Nothing here asks the locale or the clock: callers pass the formats in.
#pragma once

#include "platform/filetime.h"

#include <string>

// Marks a date or time that is not given (that part of a stamp is not to change).
constexpr double kNoDateTime = -1.0;

// The whole days of `date` with the time of day of `time`.
double joinDateAndTime(double date, double time);
// The serial without its fraction of a second; a serial that serialToCalendar does not read stays as it is.
double wholeSeconds(double serial);

// Calendar fields from a serial, rounded to the nearest millisecond; false for a negative serial or one beyond
// year 9999.
bool serialToCalendar(double serial, CalendarTime& out);
// False when the fields are not a valid date and time (year 1..9999, month 1..12, day within its month,
// 23:59:59.999 at most). Dates before 1899-12-30 give negative serials, which serialToCalendar does not read.
bool calendarToSerial(const CalendarTime& fields, double& out);

// Formats with the notation of display formats: d dd m mm yy yyyy h hh n nn s ss z zzz, the AM/PM markers
// ampm, am/pm, a/p and tt (each makes h and hh a 12-hour clock), m or mm right after an h meaning minutes,
// letters matched without regard to case, text in '...' or "..." copied without its quotes, anything else copied.
// "AM/PM" and "a/p" print in the case the format writes them; "ampm" and "tt" print AM or PM.
// Not supported: day and month names and the composite date forms (runs of three or more d or m print as dd
// or mm), the composite forms c and t (copied as letters), and locale separators ("/" and ":" are copied).
// Empty for a serial that serialToCalendar does not read.
std::string formatDateTime(const std::string& format, double serial);

// Reads a date written in the order of a short date format such as "M/d/yyyy", "dd. MM. yyyy" or "yyyy年MM月dd日":
// day, month and year as numbers of 1 to 4 digits in the order of the format's d, m and y fields, with the format's
// literal text between them (blanks not counted); the literal text before the first and after the last number may be
// left out. A one- or two-digit year means 1950..2049, a three-digit one is refused, and so is a day before
// 1899-12-30, which has no serial that the stamps can carry. The result is a whole day number; `out` is changed only
// on success.
bool parseDate(const std::string& text, const std::string& shortDateFormat, double& out);
// Reads a time "h:mm" or "h:mm:ss" with an optional AM/PM marker (AM, PM, A or P in any case) after it or before it,
// the literal text between and around the numbers being the long time format's (blanks not counted; the text before
// the first and after the last number may be left out). With a marker the hour is 1..12, without it 0..23. The result
// is the fraction of a day; `out` is changed only on success.
bool parseTime(const std::string& text, const std::string& longTimeFormat, double& out);
