// The touch settings panel: date/time controls, sequence, source and attribute groups, label cycling, hints.
#include "window/touchpanel.h"

#include "ui_mainform.h"

#include "core/stamps.h"
#include "core/touchedfile.h"
#include "platform/messagebox.h"
#include "window/busystate.h"
#include "winutil/actionbinding.h"
#include "winutil/buttoncycle.h"
#include "winutil/filedialog.h"
#include "winutil/glyphs.h"
#include "winutil/pathbytes.h"
#include "winutil/qtdatetime.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusTipEvent>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Hands the events of the widgets it watches to one handler of the panel.
class EventHook : public QObject
{
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;

    EventHook(QObject* parent, Handler handler) : QObject(parent), handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return handler(watched, event); }

private:
    Handler handler;
};

std::array<QDateTimeEdit*, 2> pickers(const Ui::MainForm& ui)
{
    return {ui.DTDateMod, ui.DTTimeMod};
}

struct LabelLink
{
    QLabel* label;
    QAction* action;
    QWidget* bar;
};

// Each group label, and its Alt+letter action, cycles the tool bar beside it.
std::array<LabelLink, 6> labelLinks(const Ui::MainForm& ui)
{
    return {{{ui.lblM, ui.acLblM, ui.tbMod},
             {ui.lblC, ui.acLblC, ui.tbCre},
             {ui.lblA, ui.acLblA, ui.tbAttrA},
             {ui.lblS, ui.acLblS, ui.tbAttrS},
             {ui.lblH, ui.acLblH, ui.tbAttrH},
             {ui.lblR, ui.acLblR, ui.tbAttrR}}};
}

// The fields of the state that the source and attribute groups show, in the groups' order.
template <typename State> auto groupCodes(State& panel)
{
    return std::array{&panel.mod, &panel.cre, &panel.attrs[0], &panel.attrs[1], &panel.attrs[2], &panel.attrs[3]};
}

QDateTime ZeroTime(const QDateTime& value, bool minutesToo)
{
    const QTime time = value.time();
    return QDateTime(value.date(), QTime(time.hour(), minutesToo ? 0 : time.minute()));
}

// The first file of a drop from the file manager or from the file list; empty when it carries none.
std::string droppedPath(const QMimeData* data)
{
    const std::vector<std::string> paths = droppedLocalFiles(*data);
    return paths.empty() ? std::string() : paths.front();
}

// Taking a date copies it: a move would let the file list remove the dragged rows.
void acceptAsCopy(QDropEvent* event)
{
    if (event->possibleActions() & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    event->accept();
}

// Labels have no buddy (their Alt+letter cycles a group), so the marked letter is underlined by hand.
void underlineMnemonic(QLabel* label)
{
    QString text = label->text();
    const qsizetype at = text.indexOf('&');
    if (at < 0 || at + 1 >= text.size())
        return;
    text = text.left(at).toHtmlEscaped() + "<u>" + text.mid(at + 1, 1).toHtmlEscaped() + "</u>" +
           text.mid(at + 2).toHtmlEscaped();
    label->setTextFormat(Qt::RichText);
    label->setText(text);
}

} // namespace

TouchPanel::TouchPanel(Ui::MainForm& ui, const DateTimeFormats& formats, const BusyState& busy, QObject* parent)
    : QObject(parent), ui(ui), formats(formats), busy(busy)
{
    ui.DTDateMod->setDisplayFormat(qtPickerFormat(formats.PickerDateFormat));
    ui.DTTimeMod->setDisplayFormat(qtPickerFormat(formats.PickerTimeFormat));
    for (QCheckBox* box : {ui.cbSeq, ui.cbDatex, ui.cbTimex})
        box->setText({});
    bindButtons();
    connectActions();
}

void TouchPanel::bindButtons()
{
    loadStateGlyphs(ilStates);
    bindSourceAndAttributeButtons(ui, ilStates, this);
    for (QLabel* label : {ui.lblA, ui.lblS, ui.lblH, ui.lblR, ui.lblM, ui.lblC})
        underlineMnemonic(label);
    for (const auto& [box, action] :
         {std::pair{ui.cbDatex, ui.acDate}, std::pair{ui.cbTimex, ui.acTime}, std::pair{ui.cbSeq, ui.acSeq}})
        bindCheckBox(box, action);
}

void TouchPanel::connectActions()
{
    for (QDateTimeEdit* picker : pickers(ui)) {
        // The pickers show local time; Qt's date and time edits would keep UTC.
        picker->setTimeSpec(Qt::LocalTime);
        // The picker takes a drop as a whole; its text field would paste a dropped name as text.
        for (QLineEdit* field : picker->findChildren<QLineEdit*>())
            field->setAcceptDrops(false);
    }
    ui.DTDateMod->setDateRange(QDate(1980, 1, 1), QDate(2105, 12, 31));

    connect(ui.acDate, &QAction::triggered, this, &TouchPanel::acDateExecute);
    connect(ui.acTime, &QAction::triggered, this, &TouchPanel::acTimeExecute);
    connect(ui.acSeq, &QAction::triggered, this, &TouchPanel::UpdateDateTimeControls);
    connect(ui.comSeqN, &QComboBox::currentIndexChanged, this, &TouchPanel::comSeqNChange);
    connect(ui.comSeqU, &QComboBox::currentIndexChanged, this, &TouchPanel::comSeqNChange);
    connect(ui.acNow, &QAction::triggered, this, &TouchPanel::acNowExecute);
    connect(ui.acZerSec, &QAction::triggered, this, &TouchPanel::acZerSecExecute);
    connect(ui.acZerMin, &QAction::triggered, this, &TouchPanel::acZerMinExecute);
    connect(ui.acClkFmFile, &QAction::triggered, this, &TouchPanel::acClkFmFileExecute);
    for (const LabelLink& link : labelLinks(ui))
        connect(link.action, &QAction::triggered, this, [bar = link.bar] { cycleToolBar(bar); });
    watchEvents();
}

void TouchPanel::watchEvents()
{
    auto* labels = new EventHook(this, [this](QObject* label, QEvent* event) {
        const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
        if (press && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            LabelsClick(label);
        return false;
    });
    for (const LabelLink& link : labelLinks(ui))
        link.label->installEventFilter(labels);

    // A move handled here stops, so that the panel does not overrule a group box's hint.
    auto* flyover = new EventHook(this, [this](QObject* sender, QEvent* event) {
        // These areas have no hint of their own for Qt to take back when the pointer leaves them.
        if (event->type() == QEvent::Leave) {
            QStatusTipEvent none{QString()};
            QCoreApplication::sendEvent(sender, &none);
        }
        if (event->type() != QEvent::MouseMove)
            return false;
        FlyoverMouseMove(static_cast<QWidget*>(sender), static_cast<QMouseEvent*>(event)->position().toPoint());
        event->accept();
        return true;
    });
    for (QWidget* area :
         std::initializer_list<QWidget*>{ui.pnlControl, ui.gbFiles, ui.gbAttr, ui.gbSettings, ui.gbDateTime}) {
        area->setMouseTracking(true);
        area->installEventFilter(flyover);
    }

    auto* drops = new EventHook(this, [this](QObject*, QEvent* event) { return pickerDragEvent(event); });
    for (QDateTimeEdit* picker : pickers(ui))
        picker->installEventFilter(drops);
}

void TouchPanel::acDateExecute()
{
    clockPartsChanged();
    if (ui.acDate->isChecked() && ui.DTDateMod->isEnabled())
        ui.DTDateMod->setFocus();
}

void TouchPanel::acTimeExecute()
{
    clockPartsChanged();
    if (ui.acTime->isChecked() && ui.DTTimeMod->isEnabled())
        ui.DTTimeMod->setFocus();
}

void TouchPanel::clockPartsChanged()
{
    if (!ui.acDate->isChecked() && !ui.acTime->isChecked()) {
        ui.acModFmClk->setChecked(false);
        ui.acCreFmClk->setChecked(false);
    }
    UpdateDateTimeControls();
}

void TouchPanel::UpdateDateTimeControls()
{
    const bool date = ui.acDate->isChecked();
    const bool time = ui.acTime->isChecked();
    ui.acDate->setEnabled(!busy.isBusy());
    ui.acTime->setEnabled(!busy.isBusy());
    ui.DTDateMod->setEnabled(!busy.isBusy() && date);
    ui.DTTimeMod->setEnabled(!busy.isBusy() && time);
    ui.acSeq->setEnabled(date && time);
    const bool sequence = ui.acSeq->isEnabled() && ui.acSeq->isChecked();
    ui.comSeqN->setEnabled(sequence);
    ui.comSeqU->setEnabled(sequence);
    for (QAction* source : {ui.acModFmClk, ui.acCreFmClk})
        source->setEnabled(!busy.isBusy() && (date || time));
}

void TouchPanel::comSeqNChange()
{
    // A list without a selection counts as its first entry.
    seqStep = incrementSeconds(std::max(ui.comSeqN->currentIndex(), 0), std::max(ui.comSeqU->currentIndex(), 0));
}

void TouchPanel::showState(const PanelState& panel)
{
    const bool dateShown =
        !panel.date ||
        setPickerValue(ui.DTDateMod, std::floor(*panel.date) + timeToSerial(ui.DTDateMod->time()), formats);
    if (panel.time && dateShown)
        setPickerValue(ui.DTTimeMod, dateToSerial(ui.DTTimeMod->date()) + (*panel.time - std::floor(*panel.time)),
                       formats);
    if (panel.zeroSeconds)
        acZerSecExecute();
    if (panel.zeroMinutes)
        acZerMinExecute();

    for (const auto& [check, value] : {std::pair{ui.acDate, panel.useDate}, std::pair{ui.acTime, panel.useTime},
                                       std::pair{ui.acSeq, panel.useSeq}}) {
        if (value)
            check->setChecked(*value);
    }
    clockPartsChanged();
    if (panel.seqUnit)
        ui.comSeqU->setCurrentIndex(*panel.seqUnit);
    if (panel.seqNum)
        ui.comSeqN->setCurrentIndex(*panel.seqNum);
    comSeqNChange();

    const auto groups = sourceAndAttributeGroups(ui);
    const auto codes = groupCodes(panel);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (*codes[i])
            pressPosition(actionsOf(groups[i]), **codes[i]);
    }
}

void TouchPanel::showStoredState(PanelState panel)
{
    const QDate shown = serialToDate(*panel.date);
    panel.date = dateToSerial(std::clamp(shown.isValid() ? shown : ui.DTDateMod->minimumDate(),
                                         ui.DTDateMod->minimumDate(), ui.DTDateMod->maximumDate()));
    showState(panel);
}

PanelState TouchPanel::state() const
{
    PanelState panel;
    panel.date = dateTimeToSerial(ui.DTDateMod->dateTime());
    panel.time = timeToSerial(ui.DTTimeMod->time());
    panel.useDate = ui.acDate->isChecked();
    panel.useTime = ui.acTime->isChecked();
    panel.useSeq = ui.acSeq->isChecked();
    panel.seqNum = ui.comSeqN->currentIndex();
    panel.seqUnit = ui.comSeqU->currentIndex();
    const auto groups = sourceAndAttributeGroups(ui);
    const auto codes = groupCodes(panel);
    for (std::size_t i = 0; i < groups.size(); ++i)
        *codes[i] = pressedPosition(actionsOf(groups[i]));
    return panel;
}

std::array<QAction*, 16> TouchPanel::changeButtons() const
{
    return {ui.acModFmClk, ui.acModFmCre, ui.acModFmFld, ui.acModFmRec, ui.acCreFmClk, ui.acCreFmMod,
            ui.acCreFmFld, ui.acCreFmRec, ui.acAminus,   ui.acAPlus,    ui.acSMinus,   ui.acSPlus,
            ui.acHMinus,   ui.acHPlus,    ui.acRMinus,   ui.acRPlus};
}

bool TouchPanel::anyChangeDown() const
{
    const std::array<QAction*, 16> buttons = changeButtons();
    return std::any_of(buttons.begin(), buttons.end(), [](const QAction* b) { return b->isChecked(); });
}

bool TouchPanel::sequential() const
{
    return ui.acSeq->isChecked() && ui.acSeq->isEnabled();
}

bool TouchPanel::modifiedFromFolder() const
{
    return ui.acModFmFld->isChecked();
}

bool TouchPanel::createdFromFolder() const
{
    return ui.acCreFmFld->isChecked();
}

bool TouchPanel::stampsFromFolder() const
{
    return modifiedFromFolder() || createdFromFolder();
}

void TouchPanel::reset()
{
    for (QAction* button : changeButtons())
        button->setChecked(false);
    ui.acDate->setChecked(true);
    ui.acTime->setChecked(true);
    ui.acSeq->setChecked(false);
    clockPartsChanged();
}

void TouchPanel::acceptDrops(bool accept)
{
    for (QDateTimeEdit* picker : pickers(ui))
        picker->setAcceptDrops(accept);
}

void TouchPanel::updateActions()
{
    for (QAction* button : changeButtons()) {
        if (button != ui.acModFmClk && button != ui.acCreFmClk)
            button->setEnabled(!busy.isBusy());
    }
    for (QAction* action : {ui.acNow, ui.acClkFmFile, ui.acZerMin, ui.acZerSec})
        action->setEnabled(!busy.isBusy());
    UpdateDateTimeControls();
}

void TouchPanel::acNowExecute()
{
    setPickerValue(ui.DTDateMod, dateTimeToSerial(QDateTime::currentDateTime()), formats);
    setPickerValue(ui.DTTimeMod, dateTimeToSerial(QDateTime::currentDateTime()), formats);
}

void TouchPanel::acZerSecExecute()
{
    ui.DTTimeMod->setDateTime(ZeroTime(ui.DTTimeMod->dateTime(), false));
}

void TouchPanel::acZerMinExecute()
{
    ui.DTTimeMod->setDateTime(ZeroTime(ui.DTTimeMod->dateTime(), true));
}

void TouchPanel::acClkFmFileExecute()
{
    const std::string path =
        openFileName(ui.pnlControl->window(), "Set date/time from file's Modified time", "All files (*)", {});
    if (!path.empty())
        SetClockFromFile(path);
}

void TouchPanel::SetClockFromFile(const std::string& path)
{
    FileTime created = 0;
    FileTime modified = 0;
    if (!GetFileStamps(path, created, modified))
        return;
    const double serial = StampToLocal(modified);
    // A refused date leaves the time picker as it is too.
    if (ui.acDate->isChecked() && !setPickerValue(ui.DTDateMod, serial, formats))
        return;
    if (ui.acTime->isChecked())
        setPickerValue(ui.DTTimeMod, serial, formats);
}

void TouchPanel::LabelsClick(QObject* label)
{
    for (const LabelLink& link : labelLinks(ui)) {
        if (link.label == label)
            cycleToolBar(link.bar);
    }
}

void TouchPanel::FlyoverMouseMove(QWidget* sender, const QPoint& pos)
{
    // The hint of the child under the pointer, a disabled one included; the last in child order wins.
    QString hint;
    for (QObject* object : sender->children()) {
        const auto* child = qobject_cast<QWidget*>(object);
        if (child && child->isVisible() && child->geometry().contains(pos))
            hint = child->statusTip();
    }
    if (hint.isEmpty() && (sender == ui.gbAttr || sender == ui.gbSettings))
        hint = "Click a button to select; click again to de-select";
    QStatusTipEvent tip(hint);
    QCoreApplication::sendEvent(sender, &tip);
}

bool TouchPanel::pickerDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedPath(drag->mimeData()).empty())
            drag->ignore();
        else
            acceptAsCopy(drag);
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string path = droppedPath(drop->mimeData());
        if (path.empty()) {
            drop->ignore();
            return true;
        }
        acceptAsCopy(drop);
        SetClockFromFile(path);
        return true;
    }
    default:
        return false;
    }
}
