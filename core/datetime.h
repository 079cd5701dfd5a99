// Date/time serials (days since 1899-12-30 in local time, the fraction the time of day) and their text.
#pragma once

#include "platform/filetime.h"

#include <string>

// Marks a date or time that is not given (that part of a stamp is not to change).
constexpr double kNoDateTime = -1.0;

// Calendar fields from a serial; false for a negative serial or one beyond year 9999.
bool SerialToCalendar(double serial, CalendarTime& out);
// False when the fields are not a valid date and time (month 1..12, day within its month, 23:59:59.999 at most).
bool CalendarToSerial(const CalendarTime& fields, double& out);

// Formats with the notation of display formats: d dd m mm yy yyyy h hh n nn s ss z zzz, the AM/PM markers
// ampm, am/pm, a/p and tt (each makes h and hh a 12-hour clock), m or mm right after an h meaning minutes,
// letters matched without regard to case, text in '...' or "..." copied as it stands, anything else copied.
std::string FormatDateTime(const std::string& format, double serial);

// Reads a date written in the order of a short date format such as "M/d/yyyy" or "dd.MM.yyyy": day, month and
// year as numbers in the format's order, separated by the format's separator; a two-digit year means 1950..2049.
// The result is a whole day number.
bool ParseDate(const std::string& text, const std::string& shortDateFormat, double& out);
// Reads a time "h:mm" or "h:mm:ss" with an optional AM/PM marker (with or without a blank before it), the
// separator taken from the long time format. The result is the fraction of a day.
bool ParseTime(const std::string& text, const std::string& longTimeFormat, double& out);
