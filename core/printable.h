// Names as they are written into a report line: control characters escaped, so that a line is always one name.
#pragma once

#include <string>
#include <string_view>

// Control characters (below 0x20, and 0x7f) become `\n`, `\t`, `\r` or `\xHH`; C1 controls (U+0080-U+009F) and the
// bidirectional overrides and isolates (U+202A-U+202E, U+2066-U+2069) written in UTF-8 become `\uHHHH`; a backslash
// becomes `\\`. So a name cannot start a line of its own, steer the terminal or reorder what follows it, and the
// text reads back unambiguously. Other bytes, valid UTF-8 or not, stay as they are.
std::string printable(std::string_view text);
