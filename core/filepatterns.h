// File specifications of the command line: checked, matched (in subfolders too), listed.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

struct TTouchSettings;

// Whether a file specification, made a full path, matches anything. A caller that needs the matches anyway may list
// them as it checks, so that each specification is searched once; without one, the platform's search answers.
using SpecMatcher = std::function<SearchOutcome(const std::string& fullPath)>;

// Checks one file specification from the command line (relative ones against `currentDirectory`), in its folder
// and, with `subfolders`, in every folder below, and appends it to the record's list; refusals go to `reportLine`.
// An unmatched specification is reported only in console mode.
bool AddFileSpec(TTouchSettings& settings, const std::string& spec, const std::string& currentDirectory,
                 bool consoleMode, const std::function<void(const std::string&)>& reportLine,
                 const SpecMatcher& matches = {}, bool subfolders = false);

// Hands every match of a full-path pattern in its folder and every folder below to `found` (the folder with its
// trailing `/`), as the platform's subfolder search finds them. A folder that cannot be read and one on a refused
// drive are told to `reportLine` and left out; answers whether any match was found (and when none was, why) and how
// many folders were left out.
struct SubfolderSearch
{
    SearchOutcome outcome;
    std::size_t foldersLeftOut = 0;
};
SubfolderSearch searchWithSubfolders(const std::string& pattern, EntryDetail detail,
                                     const std::function<void(const std::string&, std::vector<FileEntry>&)>& found,
                                     const std::function<void(const std::string&)>& reportLine);
