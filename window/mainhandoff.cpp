// The command line of this or a later start, read from the hand-off block: files into the list, switches onto the
// panel.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/filepatterns.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/filelistpanel.h"
#include "window/presetbar.h"
#include "window/touchpanel.h"

void MainWindow::handOffMessage(const HandOffMessage& message)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    busy->whenIdle([this, message] { TakeHandOff(message); });
}

void MainWindow::TakeHandOff(const HandOffMessage& message)
{
    const bool wasEmpty = fileList().rowCount() == 0;
    if (!message.specs.empty()) {
        const BusyState::Guard adding(*busy);
        for (const std::string& spec : message.specs)
            AddMatchingFiles(spec, message.workingFolder, message.subfolders);
    }
    // The columns fit the first rows; once the user has rows, the widths are the user's.
    if (wasEmpty && fileList().rowCount() > 0)
        list->AutoSizeColumns();
    if (message.record.SwitchesGiven)
        ApplyHandOffSwitches(message.record);
}

void MainWindow::AddMatchingFiles(const std::string& spec, const std::string& folder, bool subfolders)
{
    // Relative specifications are found where the start that named them was working.
    const std::string pattern = fullPath(spec, folder);
    // As in the console tool: a link a search met is left alone, a link named on the command line is its target.
    // The search gives the names; each row takes its entry's exact state for Undo.
    Platform& platform = currentPlatform();
    const auto add = [this, &platform](const std::string& entryFolder, const std::vector<FileEntry>& found) {
        for (const FileEntry& entry : found) {
            if (entry.name == "." || entry.name == ".." || entry.symbolicLink)
                continue;
            const std::string path = entry.target.empty() ? entryFolder + entry.name : entry.target;
            if (std::optional<EntrySnapshot> listed = platform.snapshotEntry(path))
                list->AddFile(path, std::move(*listed));
        }
    };
    if (!subfolders) {
        add(searchFolder(pattern), platform.findFiles(pattern, Platform::kNoLimit, EntryDetail::ModeAndTimes).entries);
        return;
    }
    // The start's parse has told of folders left out already.
    searchWithSubfolders(
        pattern, EntryDetail::ModeAndTimes,
        [&](const std::string& entryFolder, std::vector<FileEntry>& found) { add(entryFolder, found); },
        [](const std::string&) {});
}

void MainWindow::ApplyHandOffSwitches(const TTouchSettings& record)
{
    if (record.PresetNo >= 1) {
        if (presets->isConfigured(record.PresetNo))
            presets->apply(record.PresetNo);
        return;
    }
    panel->showState(PanelState::fromSwitches(record));
}
