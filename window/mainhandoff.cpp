// The command line of this or a later start, read from the hand-off block: files into the list, switches onto the
// panel.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "platform/paths.h"
#include "platform/platform.h"
#include "window/filelistmodel.h"
#include "winutil/qtdatetime.h"

#include <QActionGroup>

#include <cmath>

namespace {

// The increment list's entry for a step in seconds: the first entry not smaller, in seconds up to 30, else minutes.
std::pair<int, int> incrementEntry(int seconds)
{
    static constexpr int kSteps[] = {1, 2, 5, 10, 20, 30};
    const bool minutes = seconds > 30;
    const int wanted = minutes ? std::max(seconds / 60, 1) : seconds;
    int index = 0;
    while (index < 5 && kSteps[index] < wanted)
        ++index;
    return {index, minutes ? 1 : 0};
}

} // namespace

void TMainForm::handOffMessage(const HandOffMessage& message)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    TakeHandOff(message);
}

void TMainForm::TakeHandOff(const HandOffMessage& message)
{
    const bool wasEmpty = files->rowCount() == 0;
    if (!message.specs.empty()) {
        const AddingFiles adding(*this);
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
    for (const FileEntry& entry : platform.findFiles(pattern)) {
        if (entry.name != "." && entry.name != "..")
            AddFile(patternFolder + entry.name, entry.created, entry.modified, entry.attrs);
    }
}

void TMainForm::ApplyHandOffSwitches(const TTouchSettings& record)
{
    if (record.PresetNo >= 1) {
        if (record.PresetNo <= static_cast<int>(presetTable.size()))
            presetTable[static_cast<std::size_t>(record.PresetNo - 1)].apply->trigger();
        return;
    }
    // The checks as the record asks, then what toggling each by hand does, whether or not it can be toggled now.
    ui->acDate->setChecked(record.KeepDate == 0);
    acDateExecute();
    ui->acTime->setChecked(record.KeepTime == 0);
    acTimeExecute();
    ui->acSeq->setChecked(record.Increment != 0);
    UpdateDateTimeControls();

    if (record.Increment > 0) {
        const auto [index, unit] = incrementEntry(record.Increment);
        ui->comSeqU->setCurrentIndex(unit);
        ui->comSeqN->setCurrentIndex(index);
        comSeqNChange();
    }
    // A date outside the picker's range gets the picker's range error, as a date typed there would.
    if (record.SwitchDate > -1.0)
        setPickerValue(ui->DTDateMod, std::floor(record.SwitchDate) + timeToSerial(ui->DTDateMod->time()), formats);
    if (record.SwitchTime > -1.0)
        setPickerValue(ui->DTTimeMod, dateToSerial(ui->DTTimeMod->date()) + record.SwitchTime, formats);
    if (record.ZeroSeconds)
        ui->acZerSec->trigger();
    if (record.ZeroMinutes)
        ui->acZerMin->trigger();

    const std::pair<std::int32_t, std::pair<QAction*, QAction*>> attributes[] = {
        {record.ArchiveChange, {ui->acAminus, ui->acAPlus}},
        {record.SystemChange, {ui->acSMinus, ui->acSPlus}},
        {record.HiddenChange, {ui->acHMinus, ui->acHPlus}},
        {record.ReadOnlyChange, {ui->acRMinus, ui->acRPlus}}};
    for (const auto& [change, buttons] : attributes) {
        if (change == -1)
            buttons.first->setChecked(true);
        else if (change == 1)
            buttons.second->setChecked(true);
    }
    const std::pair<std::int32_t, std::pair<QAction*, QAction*>> sources[] = {
        {record.ModifiedSource, {ui->acModFmClk, ui->acModFmCre}},
        {record.CreatedSource, {ui->acCreFmClk, ui->acCreFmMod}}};
    for (const auto& [source, buttons] : sources) {
        if (source == 1)
            buttons.first->setChecked(true);
        else if (source == 2)
            buttons.second->setChecked(true);
    }
}
