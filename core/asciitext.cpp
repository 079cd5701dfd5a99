// Letter case of ASCII text: folding, and comparing or searching without regard to case; other bytes stay as they are.
#include "core/asciitext.h"

#include <algorithm>

namespace {

bool sameFolded(char a, char b)
{
    return asciiLower(a) == asciiLower(b);
}

unsigned char foldedByte(char c)
{
    return static_cast<unsigned char>(asciiLower(c));
}

} // namespace

std::string asciiLowered(std::string text)
{
    std::ranges::transform(text, text.begin(), asciiLower);
    return text;
}

std::string asciiUppered(std::string text)
{
    std::ranges::transform(text, text.begin(), asciiUpper);
    return text;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, sameFolded);
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::lexicographical_compare(a, b, {}, foldedByte, foldedByte);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to)
{
    const std::string lowered = asciiLowered(std::string(text));
    const std::string needle = asciiLowered(std::string(from));
    std::string result;
    std::size_t start = 0;
    for (std::size_t at = lowered.find(needle); at != std::string::npos; at = lowered.find(needle, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + needle.size();
    }
    return result.append(text.substr(start));
}
