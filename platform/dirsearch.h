// The directory search: the entries of one folder whose names match the last component of a pattern.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <vector>

// Only `*` and `?` are wildcards (a `[` or `\` in a name is an ordinary character), matched case-sensitively; `*` and
// `?` match a leading dot too, so `*` finds `.`, `..` and hidden names as on Windows. A pattern ending in `.*` also
// matches what its part before the `.*` matches (a name without extension), so `*.*` matches every name. A last
// component without wildcards names one entry, found without reading its folder, and so does one with wildcards when
// an entry of exactly that name exists (a shell has expanded the pattern already). A pattern ending in `/` names the
// folders that the pattern without it names (a file so named fails with ENOTDIR), and `/` alone the root folder, whose
// entry has an empty name. Matches come in byte order of their names; entries whose attributes cannot be read
// (a dangling link, an entry removed meanwhile) are left out. At most `limit` entries are returned.
std::vector<FileEntry> searchDirectory(const std::string& pattern, std::size_t limit,
                                       EntryDetail detail = EntryDetail::Full);
// Whether anything matches, by the same rules.
bool directoryHasMatch(const std::string& pattern);
