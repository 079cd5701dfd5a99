// The recorded date as EXIF writes it: the date and time, the fraction of a second and the offset from UTC.
#pragma once

#include "platform/platform.h"

#include <optional>
#include <string_view>

// `date` is "YYYY:MM:DD HH:MM:SS"; `subSeconds` the digits of a decimal fraction of a second ("5" is half a second,
// "123" is 0.123 s; kept to 100 ns); `offset` "+HH:MM" or "-HH:MM", the offset from UTC at which the date was shown.
// Without an offset the date is local time, converted with the rules in force on that date. Blanks after the
// sub-second digits are ignored; an offset or sub-second text that is not of these forms counts as absent. Nothing for
// a date text that names no moment (month 13, "0000:00:00 00:00:00", blank).
std::optional<FileTime> exifDateToFileTime(std::string_view date, std::string_view subSeconds, std::string_view offset);
