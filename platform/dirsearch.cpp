// The directory search: the entries of one folder, or of a tree of folders, whose names match a pattern.
#include "platform/dirsearch.h"

#include "platform/descriptor.h"
#include "platform/entryinfo.h"
#include "platform/foldernames.h"
#include "platform/interruption.h"
#include "platform/namepattern.h"
#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace {

std::string folderToRead(const std::string& folder)
{
    return folder.empty() ? "./" : folder;
}

EntryInfo infoWithDetail(const struct statx& status, const std::string& path, EntryDetail detail)
{
    EntryInfo info = entryInfoFrom(status, std::nullopt);
    if (detail == EntryDetail::Full)
        addStoredInfo(path, info);
    return info;
}

// The entry at `path`, read without following a link in its last component.
std::optional<struct statx> statusOf(int folder, const char* name)
{
    struct statx status;
    if (statx(folder, name, AT_SYMLINK_NOFOLLOW, kEntryStatusMask, &status) != 0)
        return std::nullopt;
    return status;
}

FileEntry entryOf(const std::string& name, const EntryInfo& info)
{
    FileEntry entry;
    entry.name = name;
    entry.attrs = info.attrs;
    entry.created = info.created;
    entry.modified = info.modified;
    return entry;
}

// An entry of which the search read no more than its folder's listing tells.
FileEntry entryOfKind(const std::string& name, NameKind kind)
{
    FileEntry entry;
    entry.name = name;
    entry.attrs = kind == NameKind::Folder ? kAttrDirectory : 0;
    return entry;
}

FileEntry linkEntry(const std::string& name)
{
    FileEntry entry;
    entry.name = name;
    entry.symbolicLink = true;
    return entry;
}

// An entry named without wildcards; nothing when no entry has that name. A symbolic link is followed, as a user who
// names it means its target: resolved once, so that the change reaches the same target whatever happens to the link
// meanwhile; a dangling one gives an empty list.
std::optional<std::vector<FileEntry>> namedEntry(const std::string& path, EntryDetail detail,
                                                 ListedFolders* listedFolders = nullptr)
{
    if (detail == EntryDetail::NameAndKind && listedFolders) {
        const std::optional<NameKind> kind = listedFolders->kindOf(folderToRead(folderPart(path)), namePart(path));
        if (kind && *kind != NameKind::Link)
            return std::vector<FileEntry>{entryOfKind(namePart(path), *kind)};
    }
    const std::optional<struct statx> status = statusOf(AT_FDCWD, path.c_str());
    if (!status)
        return std::nullopt;
    if (!S_ISLNK(status->stx_mode))
        return std::vector<FileEntry>{entryOf(namePart(path), infoWithDetail(*status, path, detail))};
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return std::vector<FileEntry>();
    const std::optional<EntryInfo> info = readEntryInfo(resolved, detail);
    if (!info)
        return std::vector<FileEntry>();
    FileEntry entry = entryOf(namePart(path), *info);
    entry.target = resolved;
    return std::vector<FileEntry>{entry};
}

// What one folder holds for a search: its matches, and the folders below it when a walk asks for them.
struct FolderListing
{
    std::vector<FileEntry> matches;
    std::vector<std::string> subfolders;
};

bool isFolder(int folder, const FolderName& entry)
{
    if (entry.kind != NameKind::Unknown)
        return entry.kind == NameKind::Folder;
    const std::optional<struct statx> status = statusOf(folder, entry.name.c_str());
    return status && S_ISDIR(status->stx_mode);
}

// A match found by a search: a symbolic link is not followed and nothing more is read of it; anything else is read
// relative to its open folder. Entries that cannot be read (removed meanwhile) are left out.
std::optional<FileEntry> searchedEntry(int folder, const std::string& folderPath, const FolderName& found,
                                       EntryDetail detail)
{
    if (found.kind == NameKind::Link)
        return linkEntry(found.name);
    if (detail == EntryDetail::NameAndKind && found.kind != NameKind::Unknown)
        return entryOfKind(found.name, found.kind);
    const std::optional<struct statx> status = statusOf(folder, found.name.c_str());
    if (!status)
        return std::nullopt;
    if (S_ISLNK(status->stx_mode))
        return linkEntry(found.name);
    return entryOf(found.name, infoWithDetail(*status, folderPath + found.name, detail));
}

// The matches of `pattern` among the names of the open folder; a name without wildcards that is there exactly as
// written is that entry alone. At most `limit` matches are read.
std::optional<FolderListing> listFolder(int folder, const std::string& folderPath, const NamePattern& pattern,
                                        const std::string& exactName, std::size_t limit, EntryDetail detail,
                                        bool withSubfolders)
{
    const std::optional<std::vector<FolderName>> names = folderEntries(folder);
    if (!names)
        return std::nullopt;
    const bool exactIsThere = !pattern.hasWildcards() &&
                              std::ranges::any_of(*names, [&](const FolderName& n) { return n.name == exactName; });
    FolderListing listing;
    for (const FolderName& name : *names) {
        const bool matches = exactIsThere ? name.name == exactName : pattern.matches(name.name);
        if (matches && listing.matches.size() < limit) {
            if (std::optional<FileEntry> entry = searchedEntry(folder, folderPath, name, detail))
                listing.matches.push_back(std::move(*entry));
        }
        if (withSubfolders && name.name != "." && name.name != ".." && isFolder(folder, name))
            listing.subfolders.push_back(name.name);
    }
    return listing;
}

Descriptor openFolder(const std::string& path, int extraFlags = 0)
{
    return Descriptor(open(folderToRead(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags));
}

std::vector<FileEntry> matchingEntries(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    const std::string folder = folderPart(pattern);
    const Descriptor descriptor = openFolder(folder);
    const std::string name = namePart(pattern);
    const std::optional<FolderListing> listing =
        descriptor ? listFolder(descriptor.get(), folder, NamePattern(name), name, limit, detail, false) : std::nullopt;
    if (!listing)
        return {};
    if (listing->matches.empty())
        errno = ENOENT;
    return listing->matches;
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

// Searches the folders below the pattern's own, deepest first in byte order of their names. One folder is open at a
// time, so that a deep tree does not run out of descriptors.
class TreeWalk
{
public:
    TreeWalk(const std::string& name, EntryDetail detail, const SubfolderWalk& walk)
        : name_(name), pattern_(name), detail_(detail), walk_(walk)
    {
    }

    void below(const std::string& folder, const std::vector<std::string>& subfolders, dev_t device)
    {
        for (const std::string& subfolder : subfolders) {
            if (interruptionSignal() != 0)
                return;
            search(folder + subfolder + "/", device);
        }
    }

private:
    void search(const std::string& folder, dev_t parentDevice)
    {
        // O_NOFOLLOW: a folder swapped for a link since it was listed is not entered.
        const Descriptor descriptor = openFolder(folder, O_NOFOLLOW);
        struct stat status;
        if (!descriptor || fstat(descriptor.get(), &status) != 0)
            return walk_.cannotSearch(folder, std::strerror(errno));
        if (status.st_dev != parentDevice && walk_.mayEnter && !walk_.mayEnter(folder))
            return;
        std::optional<FolderListing> listing =
            listFolder(descriptor.get(), folder, pattern_, name_, Platform::kNoLimit, detail_, true);
        if (!listing)
            return walk_.cannotSearch(folder, std::strerror(errno));
        if (!listing->matches.empty())
            walk_.found(folder, listing->matches);
        below(folder, listing->subfolders, status.st_dev);
    }

    std::string name_;
    NamePattern pattern_;
    EntryDetail detail_;
    const SubfolderWalk& walk_;
};

} // namespace

std::vector<FileEntry> searchDirectory(const std::string& pattern, std::size_t limit, EntryDetail detail,
                                       ListedFolders* listedFolders)
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
        return namedEntry(path, detail).value_or(std::vector<FileEntry>());
    const std::string name = namePart(path);
    if (name.empty()) {
        errno = ENOENT;
        return {};
    }
    // A name that a shell has already expanded may hold `*` or `?` itself: an entry of that very name is the one meant.
    // Another letter case is searched for only when the name as written is not there.
    std::optional<std::vector<FileEntry>> named = namedEntry(path, detail, listedFolders);
    std::vector<FileEntry> found = named ? std::move(*named) : std::vector<FileEntry>();
    if (!named && errno == ENOENT)
        found = matchingEntries(path, foldersOnly ? Platform::kNoLimit : limit, detail);
    return foldersOnly ? onlyFolders(std::move(found), limit) : found;
}

bool directoryHasMatch(const std::string& pattern)
{
    return !searchDirectory(pattern, 1, EntryDetail::ModeAndTimes).empty();
}

bool searchTree(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk)
{
    std::vector<FileEntry> own = searchDirectory(pattern, Platform::kNoLimit, detail);
    const int searchError = own.empty() ? errno : 0;
    const std::string folder = folderPart(pattern);
    const Descriptor descriptor = openFolder(folder);
    struct stat status;
    if (!descriptor || fstat(descriptor.get(), &status) != 0)
        return false;
    if (!own.empty())
        walk.found(folder, own);
    const std::optional<FolderListing> listing =
        listFolder(descriptor.get(), folder, NamePattern(""), "", 0, detail, true);
    if (!listing)
        return false;
    TreeWalk(namePart(pattern), detail, walk).below(folder, listing->subfolders, status.st_dev);
    errno = searchError;
    return true;
}
