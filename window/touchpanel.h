// The touch settings panel: Modified and Created sources, attributes, date, time and sequence, as one PanelState.
#pragma once

#include "core/datetimeformats.h"
#include "core/panelstate.h"

#include <QIcon>
#include <QList>
#include <QObject>

#include <array>
#include <string>

namespace Ui {
class MainForm;
}
class BusyState;
class QAction;
class QPoint;
class QWidget;

class TouchPanel : public QObject
{
    Q_OBJECT

public:
    // The panel's widgets are the form's groups of sources, attributes and date/time.
    TouchPanel(Ui::MainForm& ui, const DateTimeFormats& formats, const BusyState& busy, QObject* parent);

    // Shows what the state names; a date outside the date picker's range gets its range error and leaves the time.
    void showState(const PanelState& panel);
    // The same for a state from the settings file, whose date outside the picker's range is taken as the nearest one
    // the picker can show, without a word.
    void showStoredState(PanelState panel);
    PanelState state() const;

    // A touch needs at least one source or attribute button down.
    bool anyChangeDown() const;
    bool sequential() const;
    int sequenceStep() const { return seqStep; }
    bool stampsFromFolder() const;
    bool modifiedFromFolder() const;
    bool createdFromFolder() const;
    // Every button released, the date and time included, no sequence.
    void reset();
    // The date and time pickers take a file dropped from the file manager.
    void acceptDrops(bool accept);
    void updateActions();

private:
    void bindButtons();
    void connectActions();
    void watchEvents();
    std::array<QAction*, 16> changeButtons() const;
    void acDateExecute();
    void acTimeExecute();
    // Without a date or a time to set, the two "from displayed" buttons are released.
    void clockPartsChanged();
    void UpdateDateTimeControls();
    void comSeqNChange();
    void acNowExecute();
    void acZerSecExecute();
    void acZerMinExecute();
    void acClkFmFileExecute();
    void SetClockFromFile(const std::string& path);
    void LabelsClick(QObject* label);
    void FlyoverMouseMove(QWidget* sender, const QPoint& pos);
    bool pickerDragEvent(QEvent* event);

    Ui::MainForm& ui;
    const DateTimeFormats& formats;
    const BusyState& busy;
    QList<QIcon> ilStates;
    int seqStep = 60;
};
