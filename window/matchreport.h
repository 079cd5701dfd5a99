// Comparing file names with a folder's entries and the report of what the comparison found, free of any widget.
#pragma once

#include "platform/messagebox.h"

#include <optional>
#include <string>
#include <vector>

// Sorts folder entry names for matchName: ascending, letter case ignored.
void sortListing(std::vector<std::string>& names);

// How one file name matched a sorted listing. kind: 2 same name and extension, 1 exactly one entry with the same
// base name and another extension, 0 none or several (then `several` tells which). `partner` is the entry matched,
// spelled as in the folder.
struct NameMatch
{
    int kind = 0;
    bool several = false;
    std::string partner;
};

NameMatch matchName(const std::vector<std::string>& sortedListing, const std::string& fileName);

struct MatchCounts
{
    int exact = 0;
    int nameOnly = 0;
    int several = 0;
    int none = 0;
};

// What the user decided: whether to touch at all, and the highest MatchKind to deselect (-1 = none).
struct MatchDecision
{
    bool proceed = false;
    int threshold = -1;
};

// The report box for the counts of one comparison; nothing when no box is shown. `rowCount` is the number of rows
// in the whole list, `folder` the folder compared with.
std::optional<MessageBoxRequest> matchReportBox(const std::string& caption, int rowCount, const MatchCounts& counts,
                                                const std::string& folder, bool modFromFolder, bool creFromFolder);
// The decision for the counts, given the answer of the box (none when no box was shown).
MatchDecision matchDecisionFor(const MatchCounts& counts, std::optional<MessageResult> answer);
