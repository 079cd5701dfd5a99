// Conversions of file times: to and from `timespec`, and between UTC and local calendar time.
#pragma once

#include "platform/platform.h"

#include <ctime>

// Calendar fields of a moment; month and day count from 1.
struct CalendarTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

constexpr FileTime kFileTimeUnitsPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochInFileTimeSeconds = 11'644'473'600;

FileTime fileTimeFromTimespec(const timespec& ts); // nanoseconds truncated to 100 ns
timespec timespecFromFileTime(FileTime ft);

// Both directions use the time-zone rules in force at the moment converted, not today's offset.
bool fileTimeToLocal(FileTime utc, CalendarTime& local);
bool fileTimeToUtc(FileTime utc, CalendarTime& fields);
bool localToFileTime(const CalendarTime& local, FileTime& utc);
// Fields shown at a fixed offset east of UTC (negative: west), whatever the local rules say; less than a day either
// way.
bool offsetTimeToFileTime(const CalendarTime& fields, int offsetMinutes, FileTime& utc);
