// Letter case of ASCII text: folding, and comparing or searching without regard to case; other bytes stay as they are.
#pragma once

#include <string>
#include <string_view>

char asciiLower(char c);
char asciiUpper(char c);
std::string asciiLowered(std::string text);
std::string asciiUppered(std::string text);

bool equalNoCase(std::string_view a, std::string_view b);
// Byte order of the folded texts.
bool lessNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// Every occurrence of `from` in `text`, found without regard to case, replaced by `to`.
std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);
