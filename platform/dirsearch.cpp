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

// No entries, for the reason `error` gives; no entry of the name is no failure.
FoundEntries noMatch(int error)
{
    return {{}, error == ENOENT ? std::string() : std::strerror(error)};
}

// An entry named without wildcards; nothing when no entry has that name. A symbolic link is followed, as a user who
// names it means its target: resolved once, so that the change reaches the same target whatever happens to the link
// meanwhile; a dangling one matches nothing.
std::optional<FoundEntries> namedEntry(const std::string& path, EntryDetail detail,
                                       ListedFolders* listedFolders = nullptr)
{
    if (detail == EntryDetail::NameAndKind && listedFolders) {
        const std::optional<NameKind> kind = listedFolders->kindOf(folderToRead(folderPart(path)), namePart(path));
        if (kind && *kind != NameKind::Link)
            return FoundEntries{{entryOfKind(namePart(path), *kind)}};
    }
    const std::optional<struct statx> status = statusOf(AT_FDCWD, path.c_str());
    if (!status)
        return errno == ENOENT ? std::nullopt : std::optional(noMatch(errno));
    if (!S_ISLNK(status->stx_mode))
        return FoundEntries{{entryOf(namePart(path), infoWithDetail(*status, path, detail))}};
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return noMatch(errno);
    const std::optional<EntryInfo> info = readEntryInfo(resolved, detail);
    if (!info)
        return noMatch(errno);
    FileEntry entry = entryOf(namePart(path), *info);
    entry.target = resolved;
    return FoundEntries{{entry}};
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

FoundEntries matchingEntries(const std::string& pattern, std::size_t limit, EntryDetail detail)
{
    const std::string folder = folderPart(pattern);
    const Descriptor descriptor = openFolder(folder);
    if (!descriptor)
        return noMatch(errno);
    const std::string name = namePart(pattern);
    std::optional<FolderListing> listing =
        listFolder(descriptor.get(), folder, NamePattern(name), name, limit, detail, false);
    if (!listing)
        return noMatch(errno);
    if (listing->matches.empty())
        return noMatch(ENOENT);
    return {std::move(listing->matches)};
}

// The folders among the entries found, at most `limit`; a file named as a folder is "not a folder", as the system says.
FoundEntries onlyFolders(FoundEntries found, std::size_t limit)
{
    std::vector<FileEntry>& entries = found.entries;
    const bool anyFound = !entries.empty();
    std::erase_if(entries, [](const FileEntry& entry) { return !(entry.attrs & kAttrDirectory); });
    if (entries.size() > limit)
        entries.resize(limit);
    if (entries.empty() && anyFound)
        found.failure = std::strerror(ENOTDIR);
    return found;
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

FoundEntries searchDirectory(const std::string& pattern, std::size_t limit, EntryDetail detail,
                             ListedFolders* listedFolders)
{
    // A trailing `/`, as tab completion writes a folder's name, names folders only; it is not part of the name.
    std::string path = pattern;
    bool foldersOnly = false;
    while (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
        foldersOnly = true;
    }
    const std::string name = namePart(path);
    if (limit == 0 || (name.empty() && path != "/"))
        return noMatch(ENOENT);
    // A name that a shell has already expanded may hold `*` or `?` itself: an entry of that very name is the one meant.
    // Another letter case is searched for only when the name as written is not there (`/` is always there).
    std::optional<FoundEntries> named = namedEntry(path, detail, listedFolders);
    FoundEntries found =
        named ? std::move(*named) : matchingEntries(path, foldersOnly ? Platform::kNoLimit : limit, detail);
    return foldersOnly ? onlyFolders(std::move(found), limit) : found;
}

SearchOutcome directoryHasMatch(const std::string& pattern)
{
    const FoundEntries found = searchDirectory(pattern, 1, EntryDetail::ModeAndTimes);
    return {!found.entries.empty(), found.failure};
}

SearchOutcome searchTree(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk)
{
    FoundEntries own = searchDirectory(pattern, Platform::kNoLimit, detail);
    const std::string folder = folderPart(pattern);
    const Descriptor descriptor = openFolder(folder);
    struct stat status;
    if (!descriptor || fstat(descriptor.get(), &status) != 0)
        return {false, noMatch(errno).failure};
    bool anyFound = !own.entries.empty();
    if (anyFound)
        walk.found(folder, own.entries);
    const std::optional<FolderListing> listing =
        listFolder(descriptor.get(), folder, NamePattern(""), "", 0, detail, true);
    if (!listing)
        return {false, noMatch(errno).failure};
    SubfolderWalk counting = walk;
    counting.found = [&](const std::string& subfolder, std::vector<FileEntry>& matches) {
        anyFound = true;
        walk.found(subfolder, matches);
    };
    TreeWalk(namePart(pattern), detail, counting).below(folder, listing->subfolders, status.st_dev);
    return {anyFound, anyFound ? std::string() : own.failure};
}
