// Reading integers as the settings file and the switches write them: decimal, `$` or `0x` hexadecimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Nothing when the text is no number or does not fit in 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text);
