// File specifications of the command line: whether each may be touched and matches anything, and the record's list.
#pragma once

#include <functional>
#include <string>

struct TTouchSettings;

// Whether a file specification, made a full path, matches anything. A caller that needs the matches anyway may list
// them as it checks, so that each specification is searched once; without one, the platform's search answers.
using SpecMatcher = std::function<bool(const std::string& fullPath)>;

// Checks one file specification from the command line (relative ones against `currentDirectory`) and appends it
// to the record's list; refusals go to `reportLine`. An unmatched specification is reported only in console mode.
bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches = {});
