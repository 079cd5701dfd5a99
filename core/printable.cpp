// Names as they are written into a report line: control characters escaped, so that a line is always one name.
#include "core/printable.h"

#include <utility>

namespace {

// `\x` or `\u` followed by the value in `digits` lower-case hexadecimal digits.
void appendHexEscape(std::string& out, char kind, unsigned value, int digits)
{
    constexpr char kHex[] = "0123456789abcdef";
    out += '\\';
    out += kind;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 0xf];
}

// The code point of a UTF-8 character at the start of `text` that must be escaped as a whole, with its length: a C1
// control (U+0080-U+009F), which some terminals obey, or a bidirectional override or isolate (U+202A-U+202E,
// U+2066-U+2069), which turns the rest of the line around. Length 0 for anything else.
std::pair<unsigned, std::size_t> wideControl(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(text[i])); };
    if (text.size() >= 2 && byte(0) == 0xc2 && byte(1) >= 0x80 && byte(1) <= 0x9f)
        return {byte(1), 2};
    if (text.size() >= 3 && byte(0) == 0xe2 && (byte(1) == 0x80 || byte(1) == 0x81)) {
        const unsigned codePoint = 0x2000 | (byte(1) & 0x3f) << 6 | (byte(2) & 0x3f);
        if ((codePoint >= 0x202a && codePoint <= 0x202e) || (codePoint >= 0x2066 && codePoint <= 0x2069))
            return {codePoint, 3};
    }
    return {0, 0};
}

// Appends the escape of the character at the start of `text` when it needs one; returns how many bytes it stood
// for, 0 when the character is written as it is.
std::size_t appendEscape(std::string& out, std::string_view text)
{
    if (const auto [codePoint, length] = wideControl(text); length != 0) {
        appendHexEscape(out, 'u', codePoint, 4);
        return length;
    }
    const auto byte = static_cast<unsigned char>(text[0]);
    switch (byte) {
    case '\\':
        out += "\\\\";
        return 1;
    case '\n':
        out += "\\n";
        return 1;
    case '\t':
        out += "\\t";
        return 1;
    case '\r':
        out += "\\r";
        return 1;
    }
    if (byte >= 0x20 && byte != 0x7f)
        return 0;
    appendHexEscape(out, 'x', byte, 2);
    return 1;
}

} // namespace

std::string printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t escaped = appendEscape(out, text.substr(i)); escaped != 0)
            i += escaped;
        else
            out += text[i++];
    }
    return out;
}
