// Comparing file names with a folder's entries and the report of what the comparison found.
#include "window/matchreport.h"

#include "core/asciitext.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>

namespace {

std::string withoutTrailingSlash(const std::string& folder)
{
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

std::string categoryLine(int n, int rowCount, const std::string& phrase)
{
    static const std::array<const char*, 8> words = {"Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
    if (n == rowCount)
        return " - All files have " + phrase + "\r\n";
    if (n == 1)
        return " - One file has " + phrase + "\r\n";
    const std::string count = n <= 9 ? words[static_cast<std::size_t>(n - 2)] : std::to_string(n);
    return " - " + count + " files have " + phrase + "\r\n";
}

std::string categoryLines(int rowCount, const MatchCounts& counts)
{
    const struct
    {
        int n;
        const char* phrase;
    } categories[] = {
        {counts.exact, "an exact match in both file name and type."},
        {counts.nameOnly, "a match in file name but not type."},
        {counts.several, "multiple matches of file name but not type; these will not be processed."},
        {counts.none, "no match at all; these will not be processed."},
    };
    std::string lines;
    for (const auto& category : categories) {
        if (category.n > 0)
            lines += categoryLine(category.n, rowCount, category.phrase);
    }
    return lines;
}

std::string stampSentence(bool modFromFolder, bool creFromFolder)
{
    const char* which = modFromFolder && creFromFolder ? "Modified and Created"
                        : modFromFolder                ? "Modified"
                                                       : "Created";
    return std::string("\r\nThe ") + which + " date/time stamp of the " +
           "selected file(s) will be changed to that of matching files " + "in this folder.\r\n";
}

} // namespace

void sortListing(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), lessNoCase);
}

NameMatch matchName(const std::vector<std::string>& sortedListing, const std::string& fileName)
{
    const auto exact = std::lower_bound(sortedListing.begin(), sortedListing.end(), fileName, lessNoCase);
    if (exact != sortedListing.end() && !lessNoCase(fileName, *exact))
        return {2, false, *exact};
    const std::string stem = changeExtension(fileName, ".");
    const auto first = std::lower_bound(sortedListing.begin(), sortedListing.end(), stem, lessNoCase);
    if (first == sortedListing.end() || !startsWithNoCase(*first, stem))
        return {};
    const auto next = first + 1;
    if (next != sortedListing.end() && startsWithNoCase(*next, stem))
        return {0, true, {}};
    return {1, false, *first};
}

std::optional<MessageBoxRequest> matchReportBox(const std::string& caption, int rowCount, const MatchCounts& counts,
                                                const std::string& folder, bool modFromFolder, bool creFromFolder)
{
    const bool e = counts.exact > 0;
    const bool n = counts.nameOnly > 0;
    const bool s = counts.several > 0;
    const bool x = counts.none > 0;
    if (!n && !s && !x)
        return std::nullopt;
    MessageBoxRequest box{caption,
                          "A comparison of the selected file(s) with the contents of the folder " +
                              withoutTrailingSlash(folder) + " finds:\r\n\r\n",
                          MessageIcon::Question, MessageButtons::OkCancel, 12};
    box.path = withoutTrailingSlash(folder);
    if (x && !e && !n && !s) {
        box.text += "No matching filenames, so no changes will be made.";
        box.icon = MessageIcon::Error;
        box.buttons = MessageButtons::Ok;
        return box;
    }
    box.text += categoryLines(rowCount, counts);
    if (!e && !n) {
        box.icon = MessageIcon::Error;
        box.buttons = MessageButtons::Ok;
    } else if (e && n) {
        box.text += stampSentence(modFromFolder, creFromFolder) + "\r\nClick Yes\t\tto process name-only " +
                    "matches as well as exact matches.\r\nClick No\t\t" +
                    "to process only exact matches.\r\nClick Cancel\t" + "to do neither.";
        box.buttons = MessageButtons::YesNoCancel;
    } else {
        box.text +=
            stampSentence(modFromFolder, creFromFolder) + "\r\n" + "Click OK to process the matching " + "files.";
    }
    return box;
}

MatchDecision matchDecisionFor(const MatchCounts& counts, std::optional<MessageResult> answer)
{
    if (!answer)
        return {counts.exact > 0, -1};
    switch (*answer) {
    case MessageResult::Yes:
        return {true, 0};
    case MessageResult::No:
        return {true, 1};
    case MessageResult::Ok:
        // The OK of the error boxes touches nothing.
        if (counts.exact > 0 || counts.nameOnly > 0)
            return {true, 0};
        break;
    case MessageResult::Cancel:
        break;
    }
    return {};
}
