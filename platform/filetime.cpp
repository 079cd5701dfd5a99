// Conversions of file times: to and from `timespec`, and between UTC and local calendar time.
#include "platform/filetime.h"

#include "platform/calendar.h"

namespace {

constexpr std::int64_t kNanosecondsPerUnit = 100;
constexpr FileTime kUnitsPerMillisecond = 10'000;
// The calendar range that a file time can express (1601 to 30827), as the Windows conversions accept it.
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;
constexpr FileTime kLargestConvertible = 0x7FFF'FFFF'FFFF'FFFF;

bool isValid(const CalendarTime& t)
{
    return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
           t.second >= 0 && t.second <= 59 && t.millisecond >= 0 && t.millisecond <= 999;
}

constexpr time_t kSecondsPerDay = 86400;

bool offsetAt(time_t moment, long& offset)
{
    tm fields{};
    if (!localtime_r(&moment, &fields))
        return false;
    offset = fields.tm_gmtoff;
    return true;
}

// The moment shows as these calendar fields in local time.
bool showsLocally(time_t moment, const CalendarTime& local)
{
    tm fields{};
    return localtime_r(&moment, &fields) && fields.tm_year + 1900 == local.year && fields.tm_mon + 1 == local.month &&
           fields.tm_mday == local.day && fields.tm_hour == local.hour && fields.tm_min == local.minute &&
           fields.tm_sec == local.second;
}

// The moment at which UTC shows these fields.
time_t asIfUtc(const CalendarTime& t)
{
    tm fields{};
    fields.tm_year = t.year - 1900;
    fields.tm_mon = t.month - 1;
    fields.tm_mday = t.day;
    fields.tm_hour = t.hour;
    fields.tm_min = t.minute;
    fields.tm_sec = t.second;
    return timegm(&fields);
}

// False for a moment before 1601.
bool fromUnixTime(time_t seconds, int millisecond, FileTime& utc)
{
    const std::int64_t sinceEpoch = static_cast<std::int64_t>(seconds) + kUnixEpochInFileTimeSeconds;
    if (sinceEpoch < 0)
        return false;
    utc = static_cast<FileTime>(sinceEpoch) * kFileTimeUnitsPerSecond +
          static_cast<FileTime>(millisecond) * kUnitsPerMillisecond;
    return true;
}

// The calendar fields `split` (localtime_r or gmtime_r) gives for `utc`.
bool fileTimeToCalendar(FileTime utc, tm* (*split)(const time_t*, tm*), CalendarTime& calendar)
{
    if (utc > kLargestConvertible)
        return false;
    const time_t seconds = timespecFromFileTime(utc).tv_sec;
    tm fields{};
    if (!split(&seconds, &fields))
        return false;
    const CalendarTime result{fields.tm_year + 1900,
                              fields.tm_mon + 1,
                              fields.tm_mday,
                              fields.tm_hour,
                              fields.tm_min,
                              fields.tm_sec,
                              static_cast<int>(utc % kFileTimeUnitsPerSecond / kUnitsPerMillisecond)};
    if (!isValid(result))
        return false;
    calendar = result;
    return true;
}

} // namespace

FileTime fileTimeFromTimespec(const timespec& ts)
{
    const std::int64_t seconds = static_cast<std::int64_t>(ts.tv_sec) + kUnixEpochInFileTimeSeconds;
    if (seconds < 0)
        return 0;
    return static_cast<FileTime>(seconds) * kFileTimeUnitsPerSecond +
           static_cast<FileTime>(ts.tv_nsec / kNanosecondsPerUnit);
}

timespec timespecFromFileTime(FileTime ft)
{
    timespec ts{};
    ts.tv_sec =
        static_cast<time_t>(static_cast<std::int64_t>(ft / kFileTimeUnitsPerSecond) - kUnixEpochInFileTimeSeconds);
    ts.tv_nsec = static_cast<long>(ft % kFileTimeUnitsPerSecond) * kNanosecondsPerUnit;
    return ts;
}

bool fileTimeToLocal(FileTime utc, CalendarTime& local)
{
    return fileTimeToCalendar(utc, localtime_r, local);
}

bool fileTimeToUtc(FileTime utc, CalendarTime& fields)
{
    return fileTimeToCalendar(utc, gmtime_r, fields);
}

bool localToFileTime(const CalendarTime& local, FileTime& utc)
{
    if (!isValid(local))
        return false;
    // mktime would do this, but it re-reads the zone file's status on every call when TZ is unset: a system call per
    // touched file. The offsets a day before and after cover any change of the zone's rules in between.
    const time_t asUtc = asIfUtc(local);
    long before = 0;
    long after = 0;
    if (!offsetAt(asUtc - kSecondsPerDay, before) || !offsetAt(asUtc + kSecondsPerDay, after))
        return false;
    // A local time that exists twice is taken at its earlier moment; one skipped by the change moves forward.
    time_t seconds = asUtc - before;
    if (before != after && !showsLocally(seconds, local) && showsLocally(asUtc - after, local))
        seconds = asUtc - after;
    return fromUnixTime(seconds, local.millisecond, utc);
}

bool offsetTimeToFileTime(const CalendarTime& fields, int offsetMinutes, FileTime& utc)
{
    constexpr int kLargestOffsetMinutes = 24 * 60 - 1;
    if (!isValid(fields) || offsetMinutes < -kLargestOffsetMinutes || offsetMinutes > kLargestOffsetMinutes)
        return false;
    return fromUnixTime(asIfUtc(fields) - offsetMinutes * 60, fields.millisecond, utc);
}
