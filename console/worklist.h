// The console tool's work list: the matched entries, sorted without regard to case and free of duplicates.
#pragma once

#include "core/skobju.h"

#include <string>
#include <vector>

class WorkList
{
public:
    WorkList() : currentDirectory_(CurrentPlatform().CurrentDirectory()) {}

    // Adds every entry that `spec` matches (expanded against the current directory), `.` and `..` skipped.
    void ExpandSpec(const std::string& spec);
    // Sorts by the locale's collation without regard to case and drops repeated paths; call once after expanding.
    void Finish();

    std::vector<TskObj>& Entries() { return entries_; }

private:
    std::string currentDirectory_;
    std::vector<TskObj> entries_;
};
