// Letter case of ASCII text: folding, and comparing or searching without regard to case; other bytes stay as they are.
#pragma once

#include <string>
#include <string_view>

// Inline: sorting long lists folds every byte it compares.
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string asciiLowered(std::string text);
std::string asciiUppered(std::string text);

bool equalNoCase(std::string_view a, std::string_view b);
// Byte order of the folded texts.
bool lessNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Every occurrence of `from` in `text`, found without regard to case, replaced by `to`.
std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);
