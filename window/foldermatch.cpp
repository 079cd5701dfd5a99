// Folder matching: the selected files compared with the same-named files of a chosen folder.
#include "window/filelistpanel.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/touchedfile.h"
#include "platform/paths.h"
#include "window/filelistmodel.h"
#include "window/matchreport.h"
#include "winutil/folderbrowser.h"

#include <QItemSelectionModel>

namespace {

// The names in `folder`, sorted as the comparison wants them.
std::vector<std::string> folderListing(const std::string& folder)
{
    std::vector<std::string> list;
    for (const FileEntry& entry : currentPlatform().findFiles(withTrailingSlash(folder) + "*.*").entries) {
        if (entry.name != "." && entry.name != "..")
            list.push_back(entry.name);
    }
    sortListing(list);
    return list;
}

MatchDecision showMatchReport(int rowCount, const MatchCounts& counts, const std::string& folder, bool modFromFolder,
                              bool creFromFolder)
{
    const std::optional<MessageBoxRequest> box =
        matchReportBox(kProgramName, rowCount, counts, folder, modFromFolder, creFromFolder);
    return matchDecisionFor(counts, box ? std::optional(showMessageBox(*box)) : std::nullopt);
}

} // namespace

bool FileListPanel::matchWithChosenFolder(bool modifiedFromFolder, bool createdFromFolder)
{
    std::string chosen;
    if (!BrowseForFolder(window, matchFolder_, "Select folder for matching files", chosen))
        return true;
    matchFolder_ = chosen;
    return CompareWithFolder(folderListing(matchFolder_), modifiedFromFolder, createdFromFolder);
}

bool FileListPanel::CompareWithFolder(const std::vector<std::string>& listing, bool modifiedFromFolder,
                                      bool createdFromFolder)
{
    MatchCounts counts;
    int selected = 0;
    for (const int row : selectedRows()) {
        TouchedFile& file = files->object(row);
        const NameMatch match = matchName(listing, namePart(file.FileName));
        file.MatchKind = match.kind;
        file.matchName = match.partner;
        ++selected;
        if (match.kind == 2)
            ++counts.exact;
        else if (match.kind == 1)
            ++counts.nameOnly;
        else if (match.several)
            ++counts.several;
    }
    counts.none = selected - counts.exact - counts.nameOnly - counts.several;
    const MatchDecision decision =
        showMatchReport(files->rowCount(), counts, matchFolder_, modifiedFromFolder, createdFromFolder);
    if (decision.threshold >= 0)
        DeselectByMatchKind(decision.threshold);
    return decision.proceed;
}

void FileListPanel::DeselectByMatchKind(int threshold)
{
    QItemSelection deselect;
    for (const int row : selectedRows()) {
        if (files->object(row).MatchKind <= threshold)
            deselect.select(files->index(row, 0), files->index(row, files->columnCount() - 1));
    }
    ui.lvMain->selectionModel()->select(deselect, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}
