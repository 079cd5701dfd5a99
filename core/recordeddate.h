// A file's recorded date (the moment a photo was taken or a video recorded), behind one reader that the programs
// install at start.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>

class RecordedDateReader
{
public:
    virtual ~RecordedDateReader() = default;

    // The recorded date of the regular file open as `fd`, as a UTC file time; nothing when it has none or cannot be
    // read. Reads only through `fd`; `path` names the file in messages. Never throws.
    virtual std::optional<FileTime> recordedDate(int fd, const std::string& path) = 0;
    // Why the last file without a date has none, when the reason is not the file's.
    virtual std::string unavailableReason() const { return {}; }
};

// Installs a reader for the rest of the process (or until replaced); nullptr removes it.
void setRecordedDateReader(RecordedDateReader* reader);
// The recorded date through the installed reader; without one no file has a recorded date.
std::optional<FileTime> readRecordedDate(int fd, const std::string& path);
// The report line for a file that readRecordedDate gave no date.
std::string noRecordedDateReason();
