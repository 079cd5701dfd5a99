// A wildcard pattern for the names of one folder, matched without regard to letter case.
#include "platform/namepattern.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

constexpr char32_t kAnyRun = U'*';
constexpr char32_t kAnyOne = U'?';
// A byte that is not part of UTF-8 text becomes a value above every character, so that it equals only itself.
constexpr char32_t kRawByte = 0x110000;

// The folding of UTF-8 names must not depend on the user's LC_CTYPE, so it uses a locale object of its own.
locale_t foldingLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

char32_t folded(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + 32 : c;
    const locale_t locale = foldingLocale();
    return locale && c < kRawByte ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale)) : c;
}

// The length of the UTF-8 sequence at `at` and its character; 0 when the bytes there are not one.
std::size_t decodeOne(std::string_view text, std::size_t at, char32_t& c)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    const std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    const bool invalid = c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF);
    return overlong || invalid ? 0 : length;
}

void foldInto(std::string_view text, std::u32string& out)
{
    out.clear();
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t c = byte;
        std::size_t length = 1;
        if (byte >= 0x80) {
            length = decodeOne(text, at, c);
            if (length == 0) {
                c = kRawByte + byte;
                length = 1;
            }
        }
        out.push_back(folded(c));
        at += length;
    }
}

// Glob matching with `*` and `?`, backtracking only to the last `*`.
bool globMatches(std::u32string_view pattern, std::u32string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::u32string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == kAnyOne || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == kAnyRun) {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u32string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kAnyRun)
        ++p;
    return p == pattern.size();
}

} // namespace

NamePattern::NamePattern(std::string_view pattern)
{
    foldInto(pattern, pattern_);
    wildcards_ = pattern_.find_first_of(U"*?") != std::u32string::npos;
    if (pattern_.ends_with(U".*"))
        withoutExtension_ = pattern_.substr(0, pattern_.size() - 2);
}

bool NamePattern::matches(std::string_view name) const
{
    foldInto(name, folded_);
    return globMatches(pattern_, folded_) || (!withoutExtension_.empty() && globMatches(withoutExtension_, folded_));
}
