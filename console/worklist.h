// The console tool's work list: the matched entries, sorted without regard to case and free of duplicates.
#pragma once

#include "core/skobju.h"
#include "platform/paths.h"

#include <string>
#include <vector>

class WorkList
{
public:
    WorkList()
        : currentDirectory_(currentPlatform().currentDirectory()),
          workingFolderPrefix_(withTrailingSlash(currentDirectory_))
    {
    }

    // Adds every entry that `spec` matches (expanded against the current directory), `.` and `..` skipped, read
    // without its stored attributes. Answers whether the search found anything, as the parser's check asks.
    bool ExpandSpec(const std::string& spec);
    // The same for a specification already made a full path.
    bool expandFullPath(const std::string& pattern);
    void reserve(std::size_t entries) { entries_.reserve(entries); }
    // Reads the stored attributes and creation time of every entry.
    void addStoredAttributes();
    // Sorts by the locale's collation without regard to case and drops repeated paths; call once after expanding.
    void finish();

    std::vector<TskObj>& entries() { return entries_; }

private:
    std::string currentDirectory_;
    // The working folder with its trailing `/`: full paths that begin with it are reached from it. This process never
    // changes its working folder.
    std::string workingFolderPrefix_;
    std::vector<TskObj> entries_;
};
