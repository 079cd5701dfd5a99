// A file's recorded date (the moment a photo was taken or a video recorded), behind one reader that the programs
// install at start.
#include "core/recordeddate.h"

namespace {

RecordedDateReader*& installedReader()
{
    static RecordedDateReader* installed = nullptr;
    return installed;
}

} // namespace

void setRecordedDateReader(RecordedDateReader* reader)
{
    installedReader() = reader;
}

std::optional<FileTime> readRecordedDate(int fd, const std::string& path)
{
    RecordedDateReader* reader = installedReader();
    if (!reader)
        return std::nullopt;
    return reader->recordedDate(fd, path);
}

std::string noRecordedDateReason()
{
    const RecordedDateReader* reader = installedReader();
    const std::string reason = reader ? reader->unavailableReason() : std::string();
    return reason.empty() ? "No recorded date in the file" : reason;
}
