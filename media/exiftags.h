// The recorded date among parsed Exif tags, and in a bare Exif block as HEIF and JPEG XL files store it.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <exiv2/exif.hpp>
#include <optional>

// The date taken (DateTimeOriginal), else the date digitized (DateTimeDigitized), each with its own fraction of a
// second and offset from UTC; the date of the last change (Image.DateTime) is no recorded date.
std::optional<FileTime> recordedDateOf(const Exiv2::ExifData& exif);

// The recorded date of an Exif block that starts with the 4-byte big-endian distance from its end to the TIFF header.
std::optional<FileTime> recordedDateOfExifBlock(const std::uint8_t* block, std::size_t size);
