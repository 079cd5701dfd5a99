// A wildcard pattern for the names of one folder, matched without regard to letter case.
#pragma once

#include <string>
#include <string_view>

// Only `*` and `?` are wildcards; `?` stands for one character. Letters match in either case the same on every
// machine, whatever the locale: ASCII letters, and letters of UTF-8 names by simple case folding; bytes that are not
// UTF-8 match only themselves. A pattern ending in `.*` also matches what its part before the `.*` matches (a name
// without extension), so `*.*` matches every name.
class NamePattern
{
public:
    explicit NamePattern(std::string_view pattern);

    bool matches(std::string_view name) const;
    bool hasWildcards() const { return wildcards_; }

private:
    std::u32string pattern_;
    std::u32string withoutExtension_; // the pattern without a final `.*`; empty when it has none
    bool wildcards_ = false;
    // The name being matched, folded; kept to spare an allocation per name.
    mutable std::u32string folded_;
};
