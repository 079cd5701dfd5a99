// The recorded date of a photo or raw file, read from its EXIF data with Exiv2.
#pragma once

#include "core/recordeddate.h"

// The date taken (DateTimeOriginal), else the date digitized (DateTimeDigitized), each with its own fraction of a
// second and offset from UTC; the date of the last change (Image.DateTime) is no recorded date. Every format that
// Exiv2 reads; anything else, a corrupt file or one that is not a regular file has no date. Exiv2 says nothing on
// standard error once a reader exists.
class ExifDateReader final : public RecordedDateReader
{
public:
    ExifDateReader();

    std::optional<FileTime> recordedDate(int fd, const std::string& path) override;
};
