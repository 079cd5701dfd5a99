// The user's date/time formats, built once from the locale, and dates and times as text in them.
#pragma once

#include <string>

struct DateTimeFormats
{
    std::string DisplayFormat;    // stamps shown as text: date, a blank, time
    std::string PickerDateFormat; // the date pickers' display format
    std::string PickerTimeFormat; // the time pickers' display format
    std::string shortDateFormat;  // the locale's own short date format, for reading and writing dates
    std::string longTimeFormat;   // the locale's own long time format, for reading and writing times
};

// The formats of the platform's locale; each program builds them once at start.
DateTimeFormats BuildDateTimeFormats();

// Lower-cases `format` and makes every run of `letter` as long as its first run exactly `n` letters long.
std::string SetFormatRun(char letter, int n, const std::string& format);

// Dates and times as text in the locale's formats (command line, settings file). A serial's other part is ignored.
// A date is written with a four-digit year even where the format has two, so that every date reads back as itself.
std::string dateToText(const DateTimeFormats& formats, double serial);
std::string timeToText(const DateTimeFormats& formats, double serial);
bool textToDate(const DateTimeFormats& formats, const std::string& text, double& date);
bool textToTime(const DateTimeFormats& formats, const std::string& text, double& time);
