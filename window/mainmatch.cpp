// Folder matching: the stamps of same-named files in a chosen folder.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/touchedfile.h"
#include "platform/paths.h"
#include "window/filelistmodel.h"
#include "window/matchreport.h"
#include "winutil/folderbrowser.h"

#include <QItemSelectionModel>

bool MainWindow::matchWithChosenFolder()
{
    std::string chosen;
    if (!BrowseForFolder(this, matchFolder, "Select folder for matching files", chosen))
        return true;
    matchFolder = chosen;
    std::vector<std::string> listing;
    ListFolderFiles(listing, matchFolder);
    return CompareWithFolder(listing);
}

void MainWindow::ListFolderFiles(std::vector<std::string>& list, const std::string& folder)
{
    list.clear();
    for (const FileEntry& entry : currentPlatform().findFiles(withTrailingSlash(folder) + "*.*").entries) {
        if (entry.name != "." && entry.name != "..")
            list.push_back(entry.name);
    }
    sortListing(list);
}

bool MainWindow::CompareWithFolder(const std::vector<std::string>& listing)
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
    const MatchDecision decision = ShowMatchReport(files->rowCount(), counts, matchFolder, ui->acModFmFld->isChecked(),
                                                   ui->acCreFmFld->isChecked());
    if (decision.threshold >= 0)
        DeselectByMatchKind(decision.threshold);
    return decision.proceed;
}

MatchDecision MainWindow::ShowMatchReport(int rowCount, const MatchCounts& counts, const std::string& folder,
                                          bool modFromFolder, bool creFromFolder)
{
    const std::optional<MessageBoxRequest> box =
        matchReportBox(kProgramName, rowCount, counts, folder, modFromFolder, creFromFolder);
    return matchDecisionFor(counts, box ? std::optional(showMessageBox(*box)) : std::nullopt);
}

void MainWindow::DeselectByMatchKind(int threshold)
{
    QItemSelection deselect;
    for (const int row : selectedRows()) {
        if (files->object(row).MatchKind <= threshold)
            deselect.select(files->index(row, 0), files->index(row, files->columnCount() - 1));
    }
    ui->lvMain->selectionModel()->select(deselect, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}
