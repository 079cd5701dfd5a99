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

// The folders among the entries found, at most `limit`; a file named as a folder is "not a folder", as the system says.
std::vector<FileEntry> onlyFolders(std::vector<FileEntry> entries, std::size_t limit)
{
    const bool anyFound = !entries.empty();
    std::erase_if(entries, [](const FileEntry& entry) { return !(entry.attrs & kAttrDirectory); });
    if (entries.size() > limit)
        entries.resize(limit);
    if (entries.empty() && anyFound)
        errno = ENOTDIR;
    return entries;
}

} // namespace

std::vector<FileEntry> searchDirectory(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    // A trailing `/`, as tab completion writes a folder's name, names folders only; it is not part of the name.
    std::string path = pattern;
    bool foldersOnly = false;
    while (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
        foldersOnly = true;
    }
    if (limit == 0)
        return {};
    if (path == "/")
        return namedEntry(path, detail);
    const std::string name = namePart(path);
    if (name.empty()) {
        errno = ENOENT;
        return {};
    }
    // A name that a shell has already expanded may hold `*` or `?` itself: an entry of that very name is the one meant.
    std::vector<FileEntry> found = namedEntry(path, detail);
    if (found.empty() && hasWildcards(name))
        found = matchingEntries(path, foldersOnly ? Platform::kNoLimit : limit, detail);
    return foldersOnly ? onlyFolders(std::move(found), limit) : found;
}

bool directoryHasMatch(const std::string& pattern)
{
    return !searchDirectory(pattern, 1, EntryDetail::ModeAndTimes).empty();
}
