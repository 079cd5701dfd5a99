// Stamps, file specifications with their drive checks, and the date/time formats shared by both programs.
#include "core/tfuncs2.h"

#include "core/asciitext.h"
#include "core/datetime.h"
#include "core/driveclass.h"
#include "core/sharedu.h"
#include "platform/paths.h"

#include <algorithm>
#include <cmath>

std::string DisplayFormat;
std::string PickerDateFormat;
std::string PickerTimeFormat;
std::string shortDateFormat;
std::string longTimeFormat;

namespace {

constexpr FileTime kHalfSecond = 5'000'000;

std::uint32_t highHalf(FileTime stamp)
{
    return static_cast<std::uint32_t>(stamp >> 32);
}

std::string fileSpecsText(const TTouchSettings& settings)
{
    return settings.FileSpecs.str();
}

} // namespace

int CompareStamps(FileTime a, FileTime b)
{
    if (a == NoStamp)
        return b == NoStamp ? 0 : -1;
    if (b == NoStamp)
        return 1;
    // Only the low halves are looked at for the tolerance: stamps whose high halves differ compare exactly.
    if (highHalf(a) == highHalf(b) && (a > b ? a - b : b - a) < kHalfSecond)
        return 0;
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs)
{
    const std::vector<FileEntry> found = currentPlatform().findFiles(path, 1);
    if (found.empty())
        return false;
    created = found.front().created;
    modified = found.front().modified;
    attrs = found.front().attrs;
    return true;
}

bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified)
{
    std::uint32_t attrs = 0;
    return GetFileStamps(path, created, modified, attrs);
}

bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches)
{
    Platform& platform = currentPlatform();
    const std::string pattern = fullPath(spec, currentDirectory);
    if (const std::string refusal = specRefusal(ClassifyDrive(pattern)); !refusal.empty()) {
        reportLine(refusal);
        return false;
    }
    if (!(matches ? matches(pattern) : platform.hasMatch(spec))) {
        // A search that could not be made is no "no match": the user should learn why, in either program.
        if (!platform.lastErrorIsNoEntry())
            reportLine("Cannot search \"" + spec + "\": " + platform.lastErrorText());
        else if (consoleMode)
            reportLine("No files match \"" + spec + "\"");
        return false;
    }
    // Once the record's field is full, more text would be cut off again.
    if (settings.FileSpecs.length < ShortString::kMaxLength)
        settings.FileSpecs.assign(fileSpecsText(settings) + spec + "\r\n");
    return true;
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

void BuildDateTimeFormats()
{
    Platform& platform = currentPlatform();
    shortDateFormat = platform.shortDateFormat();
    longTimeFormat = platform.longTimeFormat();

    const std::string date = SetFormatRun('y', 4, SetFormatRun('d', 2, SetFormatRun('m', 2, shortDateFormat)));
    const std::string time = SetFormatRun('h', 2, longTimeFormat);
    DisplayFormat = date + " " + time;
    PickerDateFormat = date;
    std::replace(PickerDateFormat.begin(), PickerDateFormat.end(), 'm', 'M');
    PickerTimeFormat = time;
    for (const char* marker : {"ampm", "am/pm", "a/p"})
        PickerTimeFormat = replaceAllNoCase(PickerTimeFormat, marker, "tt");
    if (PickerTimeFormat.find("tt") == std::string::npos)
        std::replace(PickerTimeFormat.begin(), PickerTimeFormat.end(), 'h', 'H');
}

std::string dateToText(double serial)
{
    return formatDateTime(SetFormatRun('y', 4, shortDateFormat), std::floor(serial));
}

std::string timeToText(double serial)
{
    return formatDateTime(longTimeFormat, serial - std::floor(serial));
}

bool textToDate(const std::string& text, double& date)
{
    return parseDate(text, shortDateFormat, date);
}

bool textToTime(const std::string& text, double& time)
{
    return parseTime(text, longTimeFormat, time);
}
