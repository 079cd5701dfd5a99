// Stamps and file specifications with their drive checks.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>

struct TTouchSettings;

// Marks a missing or not pending stamp; never a real stamp.
constexpr FileTime NoStamp = ~FileTime{0};

// The name of the block through which a later start hands its command line to the running Stampkeep.
constexpr const char* kHandOffBlockName = "Orvane Stampkeep{570CA000-0B2F-4C3C-98D7-C0EFF1CFEFF4}";

// Stamps within half a second of each other count as equal; NoStamp sorts before every real stamp.
int CompareStamps(FileTime a, FileTime b);

// The stamps and attributes of the first entry matching `path` (wildcards allowed).
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified, std::uint32_t& attrs);
bool GetFileStamps(const std::string& path, FileTime& created, FileTime& modified);

// Whether a file specification, made a full path, matches anything. A caller that needs the matches anyway may list
// them as it checks, so that each specification is searched once; without one, the platform's search answers.
using SpecMatcher = std::function<bool(const std::string& fullPath)>;

// Checks one file specification from the command line (relative ones against `currentDirectory`) and appends it
// to the record's list; refusals go to `reportLine`. An unmatched specification is reported only in console mode.
bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches = {});
