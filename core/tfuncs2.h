// Stamps, file specifications with their drive checks, and the date/time formats shared by both programs.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>

struct TTouchSettings;

// Marks a missing or not pending stamp; never a real stamp.
constexpr FileTime NoStamp = ~FileTime{0};

// The name of the block through which a later start hands its command line to the running Stampkeep.
constexpr const char* kHandOffBlockName = "Orvane Stampkeep{570CA000-0B2F-4C3C-98D7-C0EFF1CFEFF4}";

// Stamps within half a second of each other count as equal; NoStamp sorts before every real stamp.
int CompareStamps(FileTime a, FileTime b);

// The stamps and attributes of the first entry matching `path` (wildcards allowed).
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs);
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified);

// Whether a file specification, made a full path, matches anything. A caller that needs the matches anyway may list
// them as it checks, so that each specification is searched once; without one, the platform's search answers.
using SpecMatcher = std::function<bool(const std::string& fullPath)>;

// Checks one file specification from the command line (relative ones against `currentDirectory`) and appends it
// to the record's list; refusals go to `reportLine`. An unmatched specification is reported only in console mode.
bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches = {});

// Lower-cases `format` and makes every run of `letter` as long as its first run exactly `n` letters long.
std::string SetFormatRun(char letter, int n, const std::string& format);

// The formats built once at start from the user's locale.
extern std::string DisplayFormat;    // stamps shown as text: date, a blank, time
extern std::string PickerDateFormat; // the date pickers' display format
extern std::string PickerTimeFormat; // the time pickers' display format
extern std::string shortDateFormat;  // the locale's own short date format, for reading and writing dates
extern std::string longTimeFormat;   // the locale's own long time format, for reading and writing times

void BuildDateTimeFormats();

// Dates and times as text in the locale's formats (command line, settings file). A serial's other part is ignored.
// A date is written with a four-digit year even where the format has two, so that every date reads back as itself.
std::string dateToText(double serial);
std::string timeToText(double serial);
bool textToDate(const std::string& text, double& date);
bool textToTime(const std::string& text, double& time);
