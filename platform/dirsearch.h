// The directory search: the entries of one folder, or of a tree of folders, whose names match a pattern.
#pragma once

#include "platform/listedfolders.h"
#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <vector>

// The last component is a NamePattern, matched without regard to letter case; `*` and `?` match a leading dot too, so
// `*` finds `.`, `..` and hidden names as on Windows. A last component that names an entry exactly as written is that
// entry alone, found by its name (not by a search of its folder), wildcards and all (a shell has expanded the pattern
// already); a symbolic link so named is followed (its target resolved once, in the entry's `target`). Links that a
// search matches are not followed: they come with `symbolicLink` set and nothing else read. A pattern ending in `/`
// names the folders that the pattern without it names (a file so named fails with ENOTDIR), and `/` alone the root
// folder, whose entry has an empty name. Matches come in byte order of their names; entries whose attributes cannot be
// read (a dangling link, an entry removed meanwhile) are left out; with NameAndKind, only what a listing shows is read,
// so an entry removed meanwhile may still come. At most `limit` entries are returned. With `listedFolders`, a name
// without wildcards may be found in its folder's listing, read once, when only its name and kind are asked.
FoundEntries searchDirectory(const std::string& pattern, std::size_t limit, EntryDetail detail = EntryDetail::Full,
                             ListedFolders* listedFolders = nullptr);
// Whether anything matches, by the same rules.
SearchOutcome directoryHasMatch(const std::string& pattern);
// The same search in the pattern's folder, then in every folder below it, at any depth, each folder's matches handed
// to the walk; links to folders are not followed, a folder on another mount is searched only when the walk allows, and
// a stop signal ends the walk between two folders. It fails when the pattern's own folder cannot be read, or when
// nothing matched and the pattern's own folder could not be searched for its name.
SearchOutcome searchTree(const std::string& pattern, EntryDetail detail, const SubfolderWalk& walk);
