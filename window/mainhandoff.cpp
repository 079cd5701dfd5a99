// The command line of this or a later start, read from the hand-off block: files into the list, switches onto the
// panel.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "platform/paths.h"
#include "platform/platform.h"
#include "window/filelistmodel.h"

void TMainForm::handOffMessage(const HandOffMessage& message)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    whenIdle([this, message] { TakeHandOff(message); });
}

void TMainForm::TakeHandOff(const HandOffMessage& message)
{
    const bool wasEmpty = files->rowCount() == 0;
    if (!message.specs.empty()) {
        const BusyGuard adding(*this);
        for (const std::string& spec : message.specs)
            AddMatchingFiles(spec, message.workingFolder);
    }
    // The columns fit the first rows; once the user has rows, the widths are the user's.
    if (wasEmpty && files->rowCount() > 0)
        AutoSizeColumns();
    if (message.record.SwitchesGiven)
        ApplyHandOffSwitches(message.record);
}

void TMainForm::AddMatchingFiles(const std::string& spec, const std::string& folder)
{
    // Relative specifications are found where the start that named them was working.
    Platform& platform = currentPlatform();
    const std::string pattern = fullPath(spec, folder);
    const std::string patternFolder = searchFolder(pattern);
    // The search gives the names; each row takes its entry's exact state for Undo.
    for (const FileEntry& entry : platform.findFiles(pattern, Platform::kNoLimit, EntryDetail::ModeAndTimes)) {
        if (entry.name == "." || entry.name == "..")
            continue;
        const std::string path = patternFolder + entry.name;
        if (std::optional<EntrySnapshot> listed = platform.snapshotEntry(path))
            AddFile(path, std::move(*listed));
    }
}

void TMainForm::ApplyHandOffSwitches(const TTouchSettings& record)
{
    if (record.PresetNo >= 1) {
        if (record.PresetNo <= kPresetCount && presetTable[static_cast<std::size_t>(record.PresetNo - 1)].configured)
            preA_AllExecute(record.PresetNo);
        return;
    }
    showPanelState(PanelState::fromSwitches(record));
}
