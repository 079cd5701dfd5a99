// The work list's order: paths by the locale's collation without regard to case, paths equal so by their bytes.
#include "console/pathorder.h"

#include "core/asciitext.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

namespace {

// Each byte as the character of the same number.
std::wstring bytesAsCharacters(std::string_view path)
{
    std::wstring wide(path.size(), L'\0');
    std::transform(path.begin(), path.end(), wide.begin(), [](char c) { return static_cast<unsigned char>(c); });
    return wide;
}

bool isAscii(std::string_view path)
{
    return std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The path as wide characters; bytes that are not valid text in this locale are taken one by one.
std::wstring widened(std::string_view path)
{
    // Every locale's character set agrees with ASCII, in which most paths are written.
    if (isAscii(path))
        return bytesAsCharacters(path);
    // A path has at most as many characters as bytes.
    std::wstring wide(path.size() + 1, L'\0');
    std::mbstate_t state{};
    const std::string text(path);
    const char* source = text.c_str();
    const std::size_t length = std::mbsrtowcs(wide.data(), &source, wide.size(), &state);
    if (length == static_cast<std::size_t>(-1))
        return bytesAsCharacters(path);
    wide.resize(length);
    return wide;
}

// Whether the locale collates by character value, as the C locale does.
bool collatesByValue()
{
    const char* name = std::setlocale(LC_COLLATE, nullptr);
    return name && (std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0);
}

// A key that orders paths by the locale's collation, letter case aside. The key is written into a buffer sized by a
// first guess, so that a long list costs one conversion per path.
std::wstring collationKey(std::string_view path)
{
    std::wstring wide = widened(path);
    for (wchar_t& c : wide)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    std::wstring key(2 * wide.size() + 1, L'\0');
    std::size_t keyLength = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    if (keyLength >= key.size()) {
        key.resize(keyLength + 1);
        keyLength = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    }
    key.resize(keyLength);
    return key;
}

// Whether entry a goes before entry b. Paths that differ only in letter case are different files; the tie-break
// keeps them apart and in a fixed order.
bool goesBefore(const std::wstring& keyA, std::string_view a, const std::wstring& keyB, std::string_view b)
{
    if (keyA != keyB)
        return keyA < keyB;
    return a < b;
}

// Looks at two keys at a time: a key for every entry of a long list costs memory, and the shell hands its matches
// over in order already.
bool inOrder(const std::vector<std::uint32_t>& order, const PathOf& pathOf)
{
    std::wstring previous;
    for (std::size_t i = 0; i < order.size(); ++i) {
        std::wstring key = collationKey(pathOf(order[i]));
        if (i > 0 && goesBefore(key, pathOf(order[i]), previous, pathOf(order[i - 1])))
            return false;
        previous = std::move(key);
    }
    return true;
}

void sortByKeys(std::vector<std::uint32_t>& order, const PathOf& pathOf)
{
    std::vector<std::wstring> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        keys[i] = collationKey(pathOf(order[i]));
    std::vector<std::uint32_t> positions(order.size());
    for (std::uint32_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](std::uint32_t a, std::uint32_t b) {
        return goesBefore(keys[a], pathOf(order[a]), keys[b], pathOf(order[b]));
    });
    for (std::uint32_t& position : positions)
        position = order[position];
    order = std::move(positions);
}

// What the keys tell of two ASCII paths where the collation goes by character value: their bytes compared with the
// letters made small, and paths equal so by their own bytes. Bytes that are equal as they stand are skipped first.
bool foldedBefore(std::string_view x, std::string_view y)
{
    const auto same = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
    const auto [atX, atY] = std::mismatch(same.first, x.end(), same.second, y.end(),
                                          [](char p, char q) { return asciiLower(p) == asciiLower(q); });
    if (atX == x.end() || atY == y.end())
        return atX == x.end() && atY == y.end() ? x < y : atX == x.end();
    return static_cast<unsigned char>(asciiLower(*atX)) < static_cast<unsigned char>(asciiLower(*atY));
}

} // namespace

void sortPaths(std::vector<std::uint32_t>& order, const PathOf& pathOf)
{
    // The keys cost more than the rest of a stamp-only run, and the C locale needs none for ASCII paths.
    const bool folded =
        collatesByValue() && std::ranges::all_of(order, [&](std::uint32_t i) { return isAscii(pathOf(i)); });
    const auto before = [&](std::uint32_t a, std::uint32_t b) { return foldedBefore(pathOf(a), pathOf(b)); };
    if (folded && !std::ranges::is_sorted(order, before))
        std::ranges::stable_sort(order, before);
    else if (!folded && !inOrder(order, pathOf))
        sortByKeys(order, pathOf);
}
