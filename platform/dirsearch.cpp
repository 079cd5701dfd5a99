// The directory search: the entries of one folder whose names match the last component of a pattern.
#include "platform/dirsearch.h"

#include "platform/entryinfo.h"
#include "platform/foldernames.h"
#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <fnmatch.h>
#include <optional>
#include <sys/stat.h>

namespace {

bool hasWildcards(const std::string& name)
{
    return std::ranges::any_of(name, [](char c) { return c == '*' || c == '?'; });
}

// The pattern for fnmatch with every character but `*` and `?` taken literally.
std::string fnmatchPattern(const std::string& name)
{
    std::string result;
    for (const char c : name) {
        if (c == '[' || c == '\\')
            result += '\\';
        result += c;
    }
    return result;
}

class NameMatcher
{
public:
    explicit NameMatcher(const std::string& name) : pattern_(fnmatchPattern(name))
    {
        if (name.ends_with(".*"))
            withoutExtension_ = fnmatchPattern(name.substr(0, name.size() - 2));
    }

    bool matches(const char* name) const
    {
        return fnmatch(pattern_.c_str(), name, 0) == 0 ||
               (!withoutExtension_.empty() && fnmatch(withoutExtension_.c_str(), name, 0) == 0);
    }

private:
    std::string pattern_;
    std::string withoutExtension_; // a pattern ending in `.*`, without it; empty otherwise
};

std::string folderToRead(const std::string& pattern)
{
    const std::string folder = folderPart(pattern);
    return folder.empty() ? "./" : folder;
}

// Matching names of the pattern's folder in byte order; nothing (errno set) when the folder cannot be read.
std::optional<std::vector<std::string>> matchingNames(const std::string& pattern)
{
    const NameMatcher matcher(namePart(pattern));
    return folderNames(folderToRead(pattern), [&matcher](const char* name) { return matcher.matches(name); });
}

std::vector<FileEntry> namedEntry(const std::string& path, EntryDetail detail)
{
    const std::optional<EntryInfo> info = readEntryInfo(path, detail);
    if (!info)
        return {};
    return {FileEntry{namePart(path), info->attrs, info->created, info->modified}};
}

std::vector<FileEntry> matchingEntries(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    const std::optional<std::vector<std::string>> names = matchingNames(pattern);
    if (!names)
        return {};
    const std::string folder = folderPart(pattern);
    std::vector<FileEntry> entries;
    for (auto name = names->begin(); name != names->end() && entries.size() < limit; ++name) {
        if (const std::optional<EntryInfo> info = readEntryInfo(folder + *name, detail))
            entries.push_back(FileEntry{*name, info->attrs, info->created, info->modified});
    }
    if (entries.empty())
        errno = ENOENT;
    return entries;
}

} // namespace

std::vector<FileEntry> searchDirectory(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    const std::string name = namePart(pattern);
    if (name.empty()) {
        errno = ENOENT;
        return {};
    }
    if (limit == 0)
        return {};
    // A name that a shell has already expanded may hold `*` or `?` itself: an entry of that very name is the one meant.
    std::vector<FileEntry> named = namedEntry(pattern, detail);
    if (!named.empty() || !hasWildcards(name))
        return named;
    return matchingEntries(pattern, limit, detail);
}

bool directoryHasMatch(const std::string& pattern)
{
    const std::string name = namePart(pattern);
    if (name.empty()) {
        errno = ENOENT;
        return false;
    }
    struct stat st;
    const bool named = stat(pattern.c_str(), &st) == 0;
    if (named || !hasWildcards(name))
        return named;
    const std::optional<std::vector<std::string>> names = matchingNames(pattern);
    if (!names)
        return false;
    if (names->empty())
        errno = ENOENT;
    return !names->empty();
}
