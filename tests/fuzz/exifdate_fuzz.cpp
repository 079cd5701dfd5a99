// The recorded date's three EXIF texts, as any file may carry them. Input: the date, the fraction of a second and the
// offset, each but the last ended by a NUL.
#include "fuzzsupport.h"
#include "media/exifdate.h"
#include "platform/filetime.h"

#include <cstdlib>

namespace {

// The first moment of the year 10000 (Unix seconds), two days later: no four-digit year moved by an offset or a time
// zone reaches it.
constexpr FileTime kBeyondLastDate =
    (253'402'300'800 + 2 * 86'400 + kUnixEpochInFileTimeSeconds) * kFileTimeUnitsPerSecond;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A zone with daylight saving time, so that gaps and overlaps are reached without an offset.
    static const int zoned = setenv("TZ", "Europe/Berlin", 1);
    require(zoned == 0, "the time zone is set");
    const std::vector<std::string_view> fields = splitFields(asText(data, size), 3);
    const std::optional<FileTime> stamp = exifDateToFileTime(fields[0], fields[1], fields[2]);
    if (!stamp)
        return 0;
    require(*stamp < kBeyondLastDate, "a recorded date lies before the year 10000");
    // The fraction only adds to the whole second, and less than a second.
    if (const std::optional<FileTime> whole = exifDateToFileTime(fields[0], "", fields[2]))
        require(*stamp >= *whole && *stamp - *whole < kFileTimeUnitsPerSecond, "a fraction adds less than a second");
    return 0;
}
