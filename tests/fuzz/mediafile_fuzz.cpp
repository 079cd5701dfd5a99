// The recorded-date reader over any file: the input is the whole file, whose kind sends it to Exiv2, libheif, libjxl
// or the movie boxes. Whatever it holds, the read ends with a date the calendar can show or none.
#include "fuzzsupport.h"
#include "media/mediadatereader.h"
#include "platform/filetime.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int zoned = setenv("TZ", "Europe/Berlin", 1);
    require(zoned == 0, "the time zone is set");
    const int file = inputAsFile(data, size);
    MediaDateReader reader{[] { return 0; }};
    if (const std::optional<FileTime> date = reader.recordedDate(file, "input")) {
        CalendarTime fields;
        require(fileTimeToUtc(*date, fields), "a recorded date is a calendar moment");
    }
    return 0;
}
