// Reading integers as the settings file and the switches write them: decimal, `$` or `0x` hexadecimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// An optional `+` or `-`, then decimal digits or `$`, `0x` or `0X` followed by hexadecimal digits, and nothing else
// (no blanks). Decimal must fit in a signed 32-bit integer; hexadecimal is a 32-bit pattern, so "$FFFFFFFF" is -1,
// and a `-` before it negates the pattern ("-$10" is -16). Nothing for any other text.
std::optional<std::int32_t> parseInteger(std::string_view text);
