// The recorded date of a JPEG XL file from its Exif box, read with libjxl.
#pragma once

#include "media/boundedfile.h"
#include "platform/platform.h"

#include <optional>

// The box may be stored compressed (`brob`), as Exiv2 cannot read it. Throws ReadAbandoned.
std::optional<FileTime> jxlRecordedDate(BoundedFile& file);
