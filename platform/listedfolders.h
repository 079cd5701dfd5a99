// The folders in which a command line names many entries, each read once so that the rest of its names are found in
// memory.
#pragma once

#include "platform/foldernames.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

// A shell hands over every name that `*` matched in a folder; a call of its own to look up each one costs more than
// a stamp change. Once a folder has been asked for enough names to pay for reading it whole, it is read once, and
// its listing answers for the rest. What the listing does not hold (a name made since, or one whose kind the file
// system does not tell) is left to the caller's own lookup, so an answer is never "no such entry".
class ListedFolders
{
public:
    // What `folder`'s listing tells of its entry `name`; nothing while the folder is not read, or where the listing
    // cannot tell. `folder` is the folder's path as it is opened (`./` for the working folder).
    std::optional<NameKind> kindOf(const std::string& folder, const std::string& name);

private:
    struct Folder
    {
        std::size_t asked = 0;
        std::size_t readAfter = 0;
        std::optional<std::unordered_map<std::string, NameKind>> kinds; // once read
    };

    std::unordered_map<std::string, Folder> folders_;
};
