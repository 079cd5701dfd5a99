// What one entry is: its attributes and stamps, read from its mode, its times and `user.DOSATTRIB`.
#pragma once

#include "platform/dosattrib.h"
#include "platform/platform.h"

#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>

// The attributes that the mode tells and those that only the stored value keeps.
constexpr std::uint32_t kModeAttrs = kAttrReadOnly | kAttrDirectory;
constexpr std::uint32_t kStoredAttrs = kAttrHidden | kAttrSystem | kAttrArchive;

// What statx is asked for when an entry is read.
constexpr unsigned kEntryStatusMask = STATX_TYPE | STATX_MODE | STATX_UID | STATX_MTIME | STATX_CTIME | STATX_BTIME;

// Symbolic links are followed. Failures return nothing with `errno` set.
//
// Directory comes from the file type, read-only from the owner's write permission, every other bit from the stored
// DOS attributes. Created is the stored creation time, else the birth time, else the earlier of the change and
// modification times.
std::optional<EntryInfo> readEntryInfo(const std::string& path, EntryDetail detail = EntryDetail::Full);
// Adds the stored attributes and creation time to what a ModeAndTimes read gave; a value that cannot be read adds
// nothing, as in a full read.
void addStoredInfo(const std::string& path, EntryInfo& info);

// The same from a status already read and the stored value, if any.
EntryInfo entryInfoFrom(const struct statx& status, const std::optional<DosAttrib>& stored);
FileTime fileTimeFromStatx(const statx_timestamp& t);
// The same moment to the nanosecond, as the calls that set times take it.
timespec timespecOf(const statx_timestamp& t);
