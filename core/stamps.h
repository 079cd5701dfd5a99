// Stamps: comparing them, and looking them up for a file specification.
#pragma once

#include "platform/platform.h"

#include <string>

// Marks a missing or not pending stamp; never a real stamp.
constexpr FileTime NoStamp = ~FileTime{0};

// Stamps within half a second of each other count as equal; NoStamp sorts before every real stamp.
int CompareStamps(FileTime a, FileTime b);

// The stamps and attributes of the first entry matching `path` (wildcards allowed).
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs);
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified);
