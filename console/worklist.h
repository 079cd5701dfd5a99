// The console tool's work list: the matched entries, sorted without regard to case and free of duplicates.
#pragma once

#include "core/skobju.h"

#include <string>
#include <vector>

class WorkList
{
public:
    WorkList() : currentDirectory_(currentPlatform().currentDirectory()) {}

    // Adds every entry that `spec` matches (expanded against the current directory), `.` and `..` skipped, read
    // without its stored attributes. Answers whether the search found anything, as the parser's check asks.
    bool ExpandSpec(const std::string& spec);
    void reserve(std::size_t entries) { entries_.reserve(entries); }
    // Reads the stored attributes and creation time of every entry, or (`everyEntry` false) only of the read-only
    // ones: a stamp change lifts their read-only bit and puts it back, which writes all their attributes.
    void addStoredAttributes(bool everyEntry);
    // Sorts by the locale's collation without regard to case and drops repeated paths; call once after expanding.
    void finish();

    std::vector<TskObj>& entries() { return entries_; }

private:
    std::string currentDirectory_;
    std::vector<TskObj> entries_;
};
