// The user's short date and long time formats from LC_TIME, in picture notation (`dd`, `MM`, `yyyy`, `HH`, `mm`,
// `ss`, `tt`).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A strftime format in picture notation. Composites (%D %T %r %R %F) are expanded first; the `-` flag (no padding)
// gives the one-letter form and the E and O modifiers are ignored. Nothing when the format is empty, ends in a lone
// `%`, uses a conversion without a picture (names of days or months, zones, ...) or has ASCII letters in its literal
// text, which a picture would read as fields.
std::optional<std::string> pictureFromStrftime(std::string_view format);

// The pictures with their fallbacks `MM/dd/yyyy` and `HH:mm:ss`; the time uses the AM/PM format when the plain one is
// empty.
std::string shortDatePicture(std::string_view dateFormat);
std::string longTimePicture(std::string_view timeFormat, std::string_view amPmTimeFormat);

// The same for the current LC_TIME.
std::string localeShortDateFormat();
std::string localeLongTimeFormat();
