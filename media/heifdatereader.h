// The recorded date of a HEIF or AVIF file from the Exif block of its primary image, read with libheif.
#pragma once

#include "media/boundedfile.h"
#include "platform/platform.h"

#include <optional>

// For the files Exiv2's ISO-media reader cannot place (those libheif's own encoder writes, among others). Throws
// ReadAbandoned.
std::optional<FileTime> heifRecordedDate(BoundedFile& file);
