// Names as they are written into a report line: control characters escaped, so that a line is always one name.
#pragma once

#include <string>
#include <string_view>

// Control characters (below 0x20, and 0x7f) become `\n`, `\t`, `\r` or `\xHH`, and a backslash `\\`, so that a name
// cannot start a line of its own or steer the terminal, and the text reads back unambiguously. Other bytes, valid
// UTF-8 or not, stay as they are.
std::string printable(std::string_view text);
