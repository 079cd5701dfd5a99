// Names as they are written into a report line: control characters escaped, so that a line is always one name.
#include "core/printable.h"

#include <algorithm>

namespace {

bool needsEscape(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f || c == '\\';
}

void appendEscaped(std::string& out, char c)
{
    switch (c) {
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\r':
        out += "\\r";
        return;
    default:
        constexpr char kHex[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(c);
        out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
    }
}

} // namespace

std::string printable(std::string_view text)
{
    // Most names hold nothing to escape: they are copied as they are.
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (needsEscape(c))
            appendEscaped(out, c);
        else
            out += c;
    }
    return out;
}
