// The user's date/time formats, built once from the locale, and dates and times as text in them.
#include "core/datetimeformats.h"

#include "core/asciitext.h"
#include "core/datetime.h"
#include "platform/platform.h"

#include <algorithm>
#include <cmath>

DateTimeFormats BuildDateTimeFormats()
{
    Platform& platform = currentPlatform();
    DateTimeFormats formats;
    formats.shortDateFormat = platform.shortDateFormat();
    formats.longTimeFormat = platform.longTimeFormat();

    const std::string date = SetFormatRun('y', 4, SetFormatRun('d', 2, SetFormatRun('m', 2, formats.shortDateFormat)));
    const std::string time = SetFormatRun('h', 2, formats.longTimeFormat);
    formats.DisplayFormat = date + " " + time;
    formats.PickerDateFormat = date;
    std::replace(formats.PickerDateFormat.begin(), formats.PickerDateFormat.end(), 'm', 'M');
    formats.PickerTimeFormat = time;
    for (const char* marker : {"ampm", "am/pm", "a/p"})
        formats.PickerTimeFormat = replaceAllNoCase(formats.PickerTimeFormat, marker, "tt");
    if (formats.PickerTimeFormat.find("tt") == std::string::npos)
        std::replace(formats.PickerTimeFormat.begin(), formats.PickerTimeFormat.end(), 'h', 'H');
    return formats;
}

std::string SetFormatRun(char letter, int n, const std::string& format)
{
    const std::string lowered = asciiLowered(format);
    const char lower = asciiLower(letter);
    const std::size_t first = lowered.find(lower);
    if (first == std::string::npos)
        return lowered;
    const std::size_t runEnd = lowered.find_first_not_of(lower, first);
    const std::size_t run = (runEnd == std::string::npos ? lowered.size() : runEnd) - first;
    return replaceAllNoCase(lowered, std::string(run, lower), std::string(static_cast<std::size_t>(n), lower));
}

std::string dateToText(const DateTimeFormats& formats, double serial)
{
    return formatDateTime(SetFormatRun('y', 4, formats.shortDateFormat), std::floor(serial));
}

std::string timeToText(const DateTimeFormats& formats, double serial)
{
    return formatDateTime(formats.longTimeFormat, serial - std::floor(serial));
}

bool textToDate(const DateTimeFormats& formats, const std::string& text, double& date)
{
    return parseDate(text, formats.shortDateFormat, date);
}

bool textToTime(const DateTimeFormats& formats, const std::string& text, double& time)
{
    return parseTime(text, formats.longTimeFormat, time);
}
