// The recorded date of any photo or video: the file's kind decides which reader reads it.
#pragma once

#include "core/recordeddate.h"
#include "media/boundedfile.h"

// Exiv2 for every photo and raw format it knows; for HEIF/AVIF and JPEG XL files whose Exif data it cannot place,
// libheif and libjxl; the movie boxes for MP4, MOV, M4V and 3GP. Whatever cannot be parsed, or asks to read more than
// BoundedFile allows, has no date; so has a file whose reading `stopSignal` asked to stop.
class MediaDateReader final : public RecordedDateReader
{
public:
    explicit MediaDateReader(StopSignal stopSignal) : stopSignal_(stopSignal) {}

    std::optional<FileTime> recordedDate(int fd, const std::string& path) override;

private:
    StopSignal stopSignal_;
};
