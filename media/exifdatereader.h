// The recorded date of a photo or raw file, read from its Exif data with Exiv2.
#pragma once

#include "media/boundedfile.h"
#include "platform/platform.h"

#include <optional>
#include <string>

// Every format Exiv2 reads, ISO-media ones (HEIC, AVIF, CR3, JPEG XL in its container) included; `path` names the file
// in Exiv2's own messages, which stay muted. A file Exiv2 cannot parse has no date. Throws ReadAbandoned.
std::optional<FileTime> exiv2RecordedDate(BoundedFile& file, const std::string& path);
