// Touch and undo of the selected rows.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/datetime.h"
#include "core/errorbox.h"
#include "core/presets.h"
#include "core/touchedfile.h"
#include "core/touchplan.h"
#include "platform/interruption.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/filelistpanel.h"
#include "window/touchpanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include <algorithm>
#include <functional>

namespace {

std::vector<int> inListOrder(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

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

// Runs `change` on every row of `rows` in order, shows each outcome in its row and sums up the failures in one box.
// A stop signal ends the run between two rows, without the box: the window closes next.
void runOnRows(MainWindow& form, const std::vector<int>& rows, const char* verb, int doneImage, int failedImage,
               const std::function<int(int row)>& change)
{
    const BusyState::Guard busyGuard(form.busyState());
    FileListModel& files = form.fileList();
    RunProgress progress(*form.statusBar(), rows.size());
    int failed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (interruptionSignal() != 0)
            return;
        const int row = rows[i];
        const int bits = change(row);
        files.setRowImage(row, bits == 0 ? doneImage : failedImage);
        if (bits != 0)
            ++failed;
        files.refreshRow(row);
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

void MainWindow::acApplyExecute()
{
    if (panel->stampsFromFolder() &&
        !list->matchWithChosenFolder(panel->modifiedFromFolder(), panel->createdFromFolder()))
        return;
    const PanelState state = panel->state();
    const int modifiedSource = *state.mod;
    const int createdSource = *state.cre;
    SequenceClock clock{*state.useDate ? *state.date : kNoDateTime, *state.useTime ? *state.time : kNoDateTime,
                        panel->sequenceStep()};
    const bool sequential = (modifiedSource == kSourceClock || createdSource == kSourceClock) && panel->sequential();
    std::array<std::int32_t, 4> changes{};
    std::transform(state.attrs.begin(), state.attrs.end(), changes.begin(),
                   [](const std::optional<int>& code) { return attrChangeToRecord(*code); });
    const AttributeMasks masks = attributeMasks(changes);

    const std::vector<int> rows = inListOrder(list->selectedRows());
    runOnRows(*this, rows, "touch", FileListModel::ImageTouched, FileListModel::ImageTouchFailed, [&](int row) {
        TouchedFile& file = fileList().object(row);
        // A part that failed before is not tried again: the panel alone says what this touch changes.
        file.ClearPending();
        setNewStamps(file, modifiedSource, createdSource, clock);
        file.SetFromMatchingFile(list->matchFolder(), modifiedSource == kSourceFolder, createdSource == kSourceFolder);
        // Each selected file takes a step, also one that fails.
        if (sequential)
            clock.advance();
        if (masks.changes())
            file.SetNewAttrs(masks.keep, masks.add);
        // A whole-second stamp inside the range every common file system keeps is shown as set: reading each one
        // back would cost most of the run.
        return file.Touch(formats, TouchReport::Lines);
    });
}

void MainWindow::acUndoTouchExecute()
{
    const std::vector<int> rows = inListOrder(list->selectedRows());
    runOnRows(*this, rows, "undo", FileListModel::ImageListed, FileListModel::ImageUndoFailed,
              [&files = fileList()](int row) { return files.object(row).Untouch(files.listedState(row)); });
}
