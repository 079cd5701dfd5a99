// Attributes and stamps of one entry, read from its mode, its times and `user.DOSATTRIB`, and written back there.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <optional>
#include <string>

struct EntryInfo
{
    std::uint32_t attrs = 0;
    FileTime created = 0;
    FileTime modified = 0;
};

// Symbolic links are followed. Failures return nothing or false with `errno` set.
//
// Directory comes from the file type, read-only from the owner's write permission, every other bit from the stored
// DOS attributes. Created is the stored creation time, else the birth time, else the earlier of the change and
// modification times.
std::optional<EntryInfo> readEntryInfo(const std::string& path, EntryDetail detail = EntryDetail::Full);
std::optional<EntryInfo> readEntryInfo(int fd);
// Adds the stored attributes and creation time to what a ModeAndTimes read gave; a value that cannot be read adds
// nothing, as in a full read.
void addStoredInfo(const std::string& path, EntryInfo& info);

// Making an entry read-only removes every write bit; clearing it adds the owner's. The stored value gets the new
// read-only, hidden, system and archive bits and keeps the bits not managed here. Where the file system refuses
// extended attributes, only a request that changes hidden, system or archive fails.
bool writeEntryAttributes(const std::string& path, std::uint32_t attrs);
// Stores a new creation time; the attributes stay.
bool writeEntryCreationTime(int fd, FileTime created);
