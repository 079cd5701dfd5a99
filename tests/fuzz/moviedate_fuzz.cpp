// The movie box reader alone: the input is a whole MP4 or MOV file. Every box length, key list and date text it
// holds ends in a date the calendar can show or none, within the file.
#include "fuzzsupport.h"
#include "media/moviedatereader.h"
#include "platform/filetime.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int zoned = setenv("TZ", "Europe/Berlin", 1);
    require(zoned == 0, "the time zone is set");
    const int file = inputAsFile(data, size);
    BoundedFile bounded(file, size, [] { return 0; });
    try {
        if (const std::optional<FileTime> date = movieRecordedDate(bounded)) {
            CalendarTime fields;
            require(fileTimeToUtc(*date, fields), "a recorded date is a calendar moment");
        }
    } catch (const ReadAbandoned&) {
        require(false, "a file of a fuzz input's size never reaches the read limit");
    }
    return 0;
}
