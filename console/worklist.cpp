// The console tool's work list: the matched entries, sorted without regard to case and free of duplicates.
#include "console/worklist.h"

#include "core/asciitext.h"
#include "platform/paths.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <numeric>

namespace {

// Each byte as the character of the same number.
std::wstring bytesAsCharacters(const std::string& path)
{
    std::wstring wide(path.size(), L'\0');
    std::transform(path.begin(), path.end(), wide.begin(), [](char c) { return static_cast<unsigned char>(c); });
    return wide;
}

bool isAscii(const std::string& path)
{
    return std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The path as wide characters; bytes that are not valid text in this locale are taken one by one.
std::wstring widened(const std::string& path)
{
    // Every locale's character set agrees with ASCII, in which most paths are written.
    if (isAscii(path))
        return bytesAsCharacters(path);
    // A path has at most as many characters as bytes.
    std::wstring wide(path.size() + 1, L'\0');
    std::mbstate_t state{};
    const char* source = path.c_str();
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
std::wstring collationKey(const std::string& path)
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
bool goesBefore(const std::wstring& keyA, const TskObj& a, const std::wstring& keyB, const TskObj& b)
{
    if (keyA != keyB)
        return keyA < keyB;
    return a.FileName < b.FileName;
}

// Looks at two keys at a time: a key for every entry of a long list costs memory, and the shell hands its matches
// over in order already.
bool inOrder(const std::vector<TskObj>& entries)
{
    std::wstring previous;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::wstring key = collationKey(entries[i].FileName);
        if (i > 0 && goesBefore(key, entries[i], previous, entries[i - 1]))
            return false;
        previous = std::move(key);
    }
    return true;
}

void sortEntries(std::vector<TskObj>& entries)
{
    std::vector<std::wstring> keys;
    keys.reserve(entries.size());
    for (const TskObj& entry : entries)
        keys.push_back(collationKey(entry.FileName));
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return goesBefore(keys[a], entries[a], keys[b], entries[b]);
    });
    std::vector<TskObj> sorted;
    sorted.reserve(entries.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

// What the keys tell of two ASCII paths where the collation goes by character value: their bytes compared with the
// letters made small, and paths equal so by their own bytes. Bytes that are equal as they stand are skipped first.
bool foldedBefore(const TskObj& a, const TskObj& b)
{
    const std::string& x = a.FileName;
    const std::string& y = b.FileName;
    const auto same = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
    const auto [atX, atY] = std::mismatch(same.first, x.end(), same.second, y.end(),
                                          [](char p, char q) { return asciiLower(p) == asciiLower(q); });
    if (atX == x.end() || atY == y.end())
        return atX == x.end() && atY == y.end() ? x < y : atX == x.end();
    return static_cast<unsigned char>(asciiLower(*atX)) < static_cast<unsigned char>(asciiLower(*atY));
}

} // namespace

bool WorkList::ExpandSpec(const std::string& spec)
{
    return expandFullPath(fullPath(spec, currentDirectory_));
}

bool WorkList::expandFullPath(const std::string& pattern)
{
    const std::string folder = searchFolder(pattern);
    // Names in the working folder are reached from it, as a shell's names are: the system then walks one folder
    // instead of every folder from the root, which for a stamp-only run costs more than the rest of it.
    const std::string relative =
        pattern.starts_with(workingFolderPrefix_) ? pattern.substr(workingFolderPrefix_.size()) : std::string();
    const std::string relativeFolder = relative.empty() ? std::string() : searchFolder(relative);
    const std::vector<FileEntry> found = currentPlatform().findFiles(relative.empty() ? pattern : relative,
                                                                     Platform::kNoLimit, EntryDetail::ModeAndTimes);
    for (const FileEntry& entry : found) {
        if (entry.name == "." || entry.name == "..")
            continue;
        TskObj& added = entries_.emplace_back(entry.attrs, entry.modified, entry.created, folder + entry.name);
        if (!relative.empty())
            added.accessPath = relativeFolder + entry.name;
    }
    return !found.empty();
}

void WorkList::addStoredAttributes()
{
    Platform& platform = currentPlatform();
    for (TskObj& entry : entries_) {
        FileEntry full{{}, entry.CurAttrs, entry.CurCreated, entry.CurModified};
        platform.addStoredAttributes(entry.systemPath(), full);
        std::string accessPath = std::move(entry.accessPath);
        entry = TskObj(full.attrs, full.modified, full.created, std::move(entry.FileName));
        entry.accessPath = std::move(accessPath);
    }
}

void WorkList::finish()
{
    // The keys cost more than the rest of a stamp-only run, and the C locale needs none for ASCII paths.
    const bool folded =
        collatesByValue() && std::ranges::all_of(entries_, [](const TskObj& entry) { return isAscii(entry.FileName); });
    if (folded && !std::ranges::is_sorted(entries_, foldedBefore))
        std::ranges::stable_sort(entries_, foldedBefore);
    else if (!folded && !inOrder(entries_))
        sortEntries(entries_);
    const auto samePath = [](const TskObj& a, const TskObj& b) { return a.FileName == b.FileName; };
    entries_.erase(std::unique(entries_.begin(), entries_.end(), samePath), entries_.end());
}
