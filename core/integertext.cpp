// Integers in the notation of the settings file: decimal, `$` or `0x` hexadecimal.
#include "core/integertext.h"

#include <charconv>

namespace {

// The digits after a hexadecimal prefix; nothing when the text has none.
std::optional<std::string_view> hexDigits(std::string_view text)
{
    if (text.starts_with('$'))
        return text.substr(1);
    if (text.starts_with("0x") || text.starts_with("0X"))
        return text.substr(2);
    return std::nullopt;
}

// Nothing unless the whole text is digits of the base and their value fits in 32 bits.
std::optional<std::uint32_t> digitsValue(std::string_view digits, int base)
{
    std::uint32_t value = 0;
    const char* const end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
    if (error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    const std::optional<std::string_view> hex = hexDigits(text);
    const std::optional<std::uint32_t> magnitude = hex ? digitsValue(*hex, 16) : digitsValue(text, 10);
    const std::uint32_t decimalLimit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (!magnitude || (!hex && *magnitude > decimalLimit))
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - *magnitude : *magnitude);
}
