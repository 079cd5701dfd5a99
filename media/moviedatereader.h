// The recorded date of an MP4, MOV, M4V or 3GP video, read from its movie boxes.
#pragma once

#include "media/boundedfile.h"
#include "platform/platform.h"

#include <optional>
#include <string_view>

// The QuickTime creation date (`moov/meta` keys and items: local time with its offset) first, else the movie header's
// creation time (`moov/mvhd`, UTC in whole seconds; 0 is none). Throws ReadAbandoned.
std::optional<FileTime> movieRecordedDate(BoundedFile& file);

// The moment an ISO 8601 date and time names: "YYYY-MM-DDTHH:MM:SS", a fraction of a second, then "Z", "+HH:MM",
// "+HHMM" or "+HH" (or none: local time). Nothing for a date alone, a part of one or any other text.
std::optional<FileTime> isoDateToFileTime(std::string_view text);
