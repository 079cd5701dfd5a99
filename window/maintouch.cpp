// Touch, undo and reset of the selected rows.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "core/datetime.h"
#include "core/errorbox.h"
#include "core/presets.h"
#include "core/skobju.h"
#include "core/touchplan.h"
#include "platform/interruption.h"
#include "window/filelistmodel.h"
#include "winutil/actionbinding.h"
#include "winutil/qtdatetime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include <algorithm>
#include <functional>

namespace {

// The fourteen source and attribute buttons; a touch needs at least one of them down.
std::array<QAction*, 14> changeButtons(const Ui::MainForm& ui)
{
    return {ui.acModFmClk, ui.acModFmCre, ui.acModFmFld, ui.acCreFmClk, ui.acCreFmMod, ui.acCreFmFld, ui.acAminus,
            ui.acAPlus,    ui.acSMinus,   ui.acSPlus,    ui.acHMinus,   ui.acHPlus,    ui.acRMinus,   ui.acRPlus};
}

AttributeMasks masksFrom(const Ui::MainForm& ui)
{
    const struct
    {
        QAction* remove;
        QAction* add;
        std::uint32_t bit;
    } pairs[] = {{ui.acAminus, ui.acAPlus, kAttrArchive},
                 {ui.acSMinus, ui.acSPlus, kAttrSystem},
                 {ui.acHMinus, ui.acHPlus, kAttrHidden},
                 {ui.acRMinus, ui.acRPlus, kAttrReadOnly}};
    AttributeMasks masks;
    for (const auto& pair : pairs) {
        if (pair.remove->isChecked())
            masks.removeBit(pair.bit);
        else if (pair.add->isChecked())
            masks.addBit(pair.bit);
    }
    return masks;
}

std::vector<int> inListOrder(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// The hourglass and the busy state for one run, taken back however the run ends.
class BusyRun
{
public:
    explicit BusyRun(TMainForm& form) : form(form)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        form.SetBusy(true);
    }
    ~BusyRun()
    {
        QApplication::restoreOverrideCursor();
        form.SetBusy(false);
        form.aeMainHint();
    }
    BusyRun(const BusyRun&) = delete;
    BusyRun& operator=(const BusyRun&) = delete;

private:
    TMainForm& form;
};

// Shows how far a run is and lets the window repaint, about ten times a second; user input waits.
class RunProgress
{
public:
    RunProgress(QStatusBar& bar, std::size_t total) : bar(bar), total(total) { clock.start(); }

    void step(std::size_t done)
    {
        if (clock.elapsed() < 100)
            return;
        clock.restart();
        bar.showMessage(QString(" Processing file %1 of %2...").arg(done).arg(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    }

private:
    QStatusBar& bar;
    std::size_t total;
    QElapsedTimer clock;
};

// Runs `change` on the object of every row in `rows` in order, shows each outcome in its row and sums up the
// failures in one box. A stop signal ends the run between two rows, without the box: the window closes next.
void runOnRows(TMainForm& form, const std::vector<int>& rows, const char* verb, int doneImage, int failedImage,
               const std::function<int(TskObj&)>& change)
{
    const BusyRun busyRun(form);
    FileListModel& files = form.fileList();
    RunProgress progress(*form.statusBar(), rows.size());
    int failed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (interruptionSignal() != 0)
            return;
        const int row = rows[i];
        const int bits = change(files.object(row));
        files.setRowImage(row, bits == 0 ? doneImage : failedImage);
        if (bits != 0)
            ++failed;
        files.refreshRow(row, !(bits & kFailModified), !(bits & kFailCreated), !(bits & kFailAttributes));
        progress.step(i + 1);
    }
    if (failed == 0)
        return;
    const std::size_t processed = rows.size();
    const std::string text = "Stampkeep was unable to " + std::string(verb) + " " + std::to_string(failed) + " of " +
                             std::to_string(processed) + " file" + (processed > 1 ? "s" : "") +
                             ". A red icon indicates a problem file. Move the mouse over the red icon for more "
                             "information.";
    showErrorBox(text);
}

} // namespace

void TMainForm::connectTouchActions()
{
    connect(ui->acApply, &QAction::triggered, this, &TMainForm::acApplyExecute);
    connect(ui->acUndoTouch, &QAction::triggered, this, &TMainForm::acUndoTouchExecute);
    connect(ui->acReset, &QAction::triggered, this, &TMainForm::acResetExecute);
}

void TMainForm::acApplyUpdate()
{
    const bool selected = selectedCount() > 0;
    bool anyDown = false;
    for (QAction* button : changeButtons(*ui)) {
        anyDown = anyDown || button->isChecked();
        if (button != ui->acModFmClk && button != ui->acCreFmClk)
            button->setEnabled(!busy);
    }
    ui->acApply->setEnabled(!busy && selected && anyDown);
    ui->acUndoTouch->setEnabled(!busy && selected);
    for (QAction* action : {ui->acSelect, ui->acReset, ui->acNow, ui->acClkFmFile, ui->acZerMin, ui->acZerSec})
        action->setEnabled(!busy);
    enableClockSources();
    for (const PresetEntry& preset : presetTable) {
        if (preset.button)
            preset.button->setEnabled(!busy);
    }
}

void TMainForm::acApplyExecute()
{
    if ((ui->acModFmFld->isChecked() || ui->acCreFmFld->isChecked()) && !matchWithChosenFolder())
        return;
    const int modifiedSource = pressedPosition({ui->acModFmClk, ui->acModFmCre, ui->acModFmFld});
    const int createdSource = pressedPosition({ui->acCreFmClk, ui->acCreFmMod, ui->acCreFmFld});
    SequenceClock clock{ui->acDate->isChecked() ? dateTimeToSerial(ui->DTDateMod->dateTime()) : kNoDateTime,
                        ui->acTime->isChecked() ? timeToSerial(ui->DTTimeMod->time()) : kNoDateTime, seqStep};
    const bool sequential = (modifiedSource == kSourceClock || createdSource == kSourceClock) &&
                            ui->acSeq->isChecked() && ui->acSeq->isEnabled();
    const AttributeMasks masks = masksFrom(*ui);

    const std::vector<int> rows = inListOrder(selectedRows());
    runOnRows(*this, rows, "touch", FileListModel::ImageTouched, FileListModel::ImageTouchFailed, [&](TskObj& file) {
        setNewStamps(file, modifiedSource, createdSource, clock);
        file.SetFromMatchingFile(matchFolder, modifiedSource == kSourceFolder, createdSource == kSourceFolder);
        // Each selected file takes a step, also one that fails.
        if (sequential)
            clock.advance();
        if (masks.changes())
            file.SetNewAttrs(masks.keep, masks.add);
        return file.Touch(formats);
    });
}

void TMainForm::acUndoTouchExecute()
{
    const std::vector<int> rows = inListOrder(selectedRows());
    runOnRows(*this, rows, "undo", FileListModel::ImageListed, FileListModel::ImageUndoFailed,
              [](TskObj& file) { return file.Untouch(); });
}

void TMainForm::acResetExecute()
{
    for (QAction* button : changeButtons(*ui))
        button->setChecked(false);
    ui->acDate->setChecked(true);
    ui->acTime->setChecked(true);
    ui->acSeq->setChecked(false);
    UpdateDateTimeControls();
}
