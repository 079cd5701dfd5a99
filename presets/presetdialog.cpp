// The preset dialog: configures one of the five presets and stores it in the settings file.
#include "presets/presetdialog.h"

#include "ui_presetform.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "winutil/actionbinding.h"
#include "winutil/buttoncycle.h"
#include "winutil/disabledkeys.h"
#include "winutil/glyphs.h"
#include "winutil/helppage.h"
#include "winutil/qtdatetime.h"
#include "winutil/windowplacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace {

constexpr int kHelpContext = 14;
const char* const kGroupHint = "Click a button to select; click again to de-select";

// What keeps the entry from being stored, checked in this order; nullptr when nothing does.
const char* entryProblem(const PresetValues& values)
{
    const bool anyAction = values.mod != kSourceNone || values.cre != kSourceNone || values.attrA != kAttrUnchanged ||
                           values.attrS != kAttrUnchanged || values.attrH != kAttrUnchanged ||
                           values.attrR != kAttrUnchanged;
    if (!anyAction)
        return "You must select at least one action from the Attributes or Settings pane.";
    if (!values.useDate && !values.useTime && (values.mod == kSourceClock || values.cre == kSourceClock))
        return "In order to set the Modified or Created date/time stamp to a specific value, either the date, the "
               "time, or both must be checked.";
    if (values.name.empty() || values.desc.empty())
        return "You must supply a name and description for this preset.";
    return nullptr;
}

} // namespace

PresetDialog::PresetDialog(std::string iniFile, DateTimeFormats formats, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::PresetForm>()), iniFileName(std::move(iniFile)),
      formats(std::move(formats))
{
    ui->setupUi(this);
    FormCreate();
}

PresetDialog::~PresetDialog() = default;

void PresetDialog::FormCreate()
{
    firstActivation = true;
    if (parentWidget())
        setFont(parentWidget()->font());
    ui->DTDateMod->setDisplayFormat(qtPickerFormat(formats.PickerDateFormat));
    ui->DTTimeMod->setDisplayFormat(qtPickerFormat(formats.PickerTimeFormat));
    RestoreFormPlacement(iniFileName, *this, true);
    loadImages();
    bindButtons();
    bindChecks();
    connectActions();
    watchMouse();
    ui->sbPre->showMessage(" ");
}

void PresetDialog::FormActivate()
{
    if (firstActivation)
        aePresetSettingChange();
}

bool PresetDialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        ui->sbPre->showMessage(" " + static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    case QEvent::WindowActivate:
        FormActivate();
        break;
    case QEvent::ApplicationFontChange:
        aePresetSettingChange();
        break;
    default:
        break;
    }
    return QDialog::event(event);
}

void PresetDialog::aePresetSettingChange()
{
    // The layouts follow the font by themselves.
    QFont system = QApplication::font();
    if (system.family() != font().family() || system.pointSizeF() != font().pointSizeF()) {
        system.setBold(false);
        system.setItalic(false);
        system.setUnderline(false);
        system.setStrikeOut(false);
        setFont(system);
    }
    firstActivation = false;
}

void PresetDialog::loadImages()
{
    loadStateGlyphs(ilStates);
    // The clock buttons show their colours whenever they can be pressed, as the other buttons do; the greyed look is
    // for a disabled button alone.
    LoadGlyphList(ilClock, {24, 15, 16, 17});
}

void PresetDialog::bindButtons()
{
    bindSourceAndAttributeButtons(*ui, ilStates, this);
    // Exactly one clock button is down.
    QActionGroup* clocks = bindButtonGroup({{ui->tbtSpec, ui->acTSpec, 0},
                                            {ui->tbtSys, ui->acTSys, 1},
                                            {ui->tbtZMin, ui->acTZMin, 2},
                                            {ui->tbtZSec, ui->acTZSec, 3}},
                                           ilClock, QActionGroup::ExclusionPolicy::Exclusive, this);
    connect(clocks, &QActionGroup::triggered, this, &PresetDialog::UpdateControls);
}

void PresetDialog::bindChecks()
{
    for (const auto& [box, action] :
         {std::pair{ui->cbDatex, ui->acDate}, std::pair{ui->cbTimex, ui->acTime}, std::pair{ui->cbSeq, ui->acSeq}})
        bindCheckBox(box, action);
}

void PresetDialog::connectActions()
{
    const QList<QAction*> labelActions = {ui->acLblM, ui->acLblC, ui->acLblA, ui->acLblS, ui->acLblH, ui->acLblR};
    // Shortcuts of actions work only for actions added to a widget of the window.
    addActions(labelActions);
    addActions({ui->acSeq, ui->acDate, ui->acTime, ui->acHelp});
    swallowKeysOfDisabledActions(this, actions());
    for (QAction* action : labelActions)
        connect(action, &QAction::triggered, this, [this, action] { acLabelsExecute(action); });
    connect(ui->acDate, &QAction::triggered, this, &PresetDialog::acDateExecute);
    connect(ui->acTime, &QAction::triggered, this, &PresetDialog::acTimeExecute);
    connect(ui->acSeq, &QAction::triggered, this, &PresetDialog::acSeqExecute);
    connect(ui->acHelp, &QAction::triggered, this, &PresetDialog::acHelpExecute);
    connect(ui->btnHelp, &QPushButton::clicked, ui->acHelp, &QAction::trigger);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnOK, &QPushButton::clicked, this, &PresetDialog::btnOKClick);
}

void PresetDialog::watchMouse()
{
    // Labels and tool bars keep the pointer to themselves, so their own hints show over them.
    for (QLabel* label : {ui->lblA, ui->lblS, ui->lblH, ui->lblR, ui->lblM, ui->lblC}) {
        label->setAttribute(Qt::WA_NoMousePropagation);
        label->installEventFilter(this);
    }
    for (QWidget* bar : {ui->tbAttrA, ui->tbAttrS, ui->tbAttrH, ui->tbAttrR, ui->tbMod, ui->tbCre, ui->tbTimes})
        bar->setAttribute(Qt::WA_NoMousePropagation);
    for (QGroupBox* group : {ui->gbAttr, ui->gbStamp, ui->gbClock})
        group->installEventFilter(this);
}

bool PresetDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (auto* group = qobject_cast<QGroupBox*>(watched))
            FlyoverMouseMove(group, static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // Each release ends a click, so the second click of a double click cycles once more.
        auto* label = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
            LabelsClick(label);
    }
    return QDialog::eventFilter(watched, event);
}

void PresetDialog::FlyoverMouseMove(QWidget* group, const QPoint& pos)
{
    group->setToolTip({});
    group->setStatusTip({});
    for (const QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<const QLabel*>(child) && child->geometry().contains(pos)) {
            group->setToolTip(child->toolTip());
            group->setStatusTip(child->statusTip());
        }
    }
    if (group->toolTip().isEmpty() && group->statusTip().isEmpty()) {
        if (group->property("tag").toInt() == 1)
            group->setStatusTip(kGroupHint);
        else
            QToolTip::hideText();
    }
    QStatusTipEvent tip(group->statusTip());
    QCoreApplication::sendEvent(group, &tip);
}

void PresetDialog::acLabelsExecute(const QAction* action)
{
    const std::array labels = {ui->lblM, ui->lblC, ui->lblA, ui->lblS, ui->lblH, ui->lblR};
    const int tag = action->property("tag").toInt();
    if (tag >= 1 && tag <= static_cast<int>(labels.size()))
        LabelsClick(labels[static_cast<std::size_t>(tag - 1)]);
}

void PresetDialog::LabelsClick(QLabel* label)
{
    cycleToolBar(label->buddy());
}

void PresetDialog::acDateExecute()
{
    UpdateControls();
    if (ui->acDate->isChecked() && ui->DTDateMod->isEnabled())
        ui->DTDateMod->setFocus();
}

void PresetDialog::acTimeExecute()
{
    UpdateControls();
    if (ui->acTime->isChecked() && ui->DTTimeMod->isEnabled())
        ui->DTTimeMod->setFocus();
}

void PresetDialog::acSeqExecute()
{
    UpdateControls();
}

void PresetDialog::acHelpExecute()
{
    openHelpPage(kHelpContext);
}

void PresetDialog::UpdateControls()
{
    const bool useDate = ui->acDate->isChecked();
    const bool useTime = ui->acTime->isChecked();
    const bool specified = ui->acTSpec->isChecked();
    ui->DTDateMod->setEnabled(useDate && specified);
    ui->DTTimeMod->setEnabled(useTime && specified);
    ui->acSeq->setEnabled(useDate && useTime);
    const bool sequential = ui->acSeq->isEnabled() && ui->acSeq->isChecked();
    ui->comSeqN->setEnabled(sequential);
    ui->comSeqU->setEnabled(sequential);
    for (QAction* fromClock : {ui->acModFmClk, ui->acCreFmClk}) {
        if (!useDate && !useTime)
            fromClock->setChecked(false);
        fromClock->setEnabled(useDate || useTime);
    }
}

std::vector<PresetDialog::CodedGroup> PresetDialog::codedGroups() const
{
    std::vector<CodedGroup> groups = {{&PresetValues::clock, 1, {ui->acTSpec, ui->acTSys, ui->acTZMin, ui->acTZSec}}};
    // The groups the panel has too, in their order; their code 0 is no button down.
    constexpr std::array kSharedCodes = {&PresetValues::mod,   &PresetValues::cre,   &PresetValues::attrA,
                                         &PresetValues::attrS, &PresetValues::attrH, &PresetValues::attrR};
    const auto shared = sourceAndAttributeGroups(*ui);
    for (std::size_t i = 0; i < shared.size(); ++i) {
        std::vector<QAction*> order = {nullptr};
        for (QAction* action : actionsOf(shared[i]))
            order.push_back(action);
        groups.push_back({kSharedCodes[i], 0, std::move(order)});
    }
    return groups;
}

bool PresetDialog::LoadPreset(int n, const PanelState& panel)
{
    setWindowTitle(QString("Configure preset #%1").arg(n));
    presetIndex = n;
    for (const CodedGroup& group : codedGroups()) {
        for (QAction* button : group.order) {
            if (button)
                button->setChecked(false);
        }
    }

    const IniFile ini(iniFileName);
    PresetValues values;
    if (presetEnabled(ini, n)) {
        values = readPreset(formats, ini, n, dateTimeToSerial(QDateTime::currentDateTime()));
        if (!checkStoredDate(serialToDate(values.date)))
            return false;
    } else {
        // A new preset starts from the main window's panel, with the date and time shown there.
        values = panel.toPreset();
    }
    showValues(values);
    UpdateControls();
    return true;
}

bool PresetDialog::checkStoredDate(const QDate& date) const
{
    // The picker's own range message, with the limit as the picker shows dates.
    const QDate maximum = ui->DTDateMod->maximumDate();
    const QDate minimum = ui->DTDateMod->minimumDate();
    if (date > maximum) {
        showErrorBox("Date exceeds maximum of " + maximum.toString(ui->DTDateMod->displayFormat()).toStdString());
        return false;
    }
    if (date < minimum) {
        showErrorBox("Date is less than minimum of " + minimum.toString(ui->DTDateMod->displayFormat()).toStdString());
        return false;
    }
    return true;
}

void PresetDialog::showValues(const PresetValues& values)
{
    ui->ebName->setText(QString::fromStdString(values.name));
    ui->ebDesc->setText(QString::fromStdString(values.desc));
    ui->DTDateMod->setDate(serialToDate(values.date));
    ui->DTTimeMod->setTime(serialToTime(values.time));
    ui->acDate->setChecked(values.useDate);
    ui->acTime->setChecked(values.useTime);
    ui->acSeq->setChecked(values.useSeq);
    // An index outside a list leaves it without a selection.
    ui->comSeqN->setCurrentIndex(values.seqNum);
    ui->comSeqU->setCurrentIndex(values.seqUnit);
    for (const CodedGroup& group : codedGroups()) {
        const int position = values.*group.code + group.offset;
        if (position >= 0 && position < static_cast<int>(group.order.size()) && group.order[position])
            group.order[static_cast<std::size_t>(position)]->setChecked(true);
    }
}

PresetValues PresetDialog::enteredValues() const
{
    PresetValues values;
    values.name = ui->ebName->text().toStdString();
    values.desc = ui->ebDesc->text().toStdString();
    values.date = dateToSerial(ui->DTDateMod->date());
    values.time = timeToSerial(ui->DTTimeMod->time());
    values.useDate = ui->acDate->isChecked();
    values.useTime = ui->acTime->isChecked();
    values.useSeq = ui->acSeq->isChecked();
    values.seqNum = ui->comSeqN->currentIndex();
    values.seqUnit = ui->comSeqU->currentIndex();
    for (const CodedGroup& group : codedGroups()) {
        const auto pressed = std::find_if(group.order.begin(), group.order.end(),
                                          [](const QAction* button) { return button && button->isChecked(); });
        const int position = pressed == group.order.end() ? 0 : static_cast<int>(pressed - group.order.begin());
        values.*group.code = position - group.offset;
    }
    return values;
}

void PresetDialog::btnOKClick()
{
    const PresetValues values = enteredValues();
    if (const char* problem = entryProblem(values)) {
        showErrorBox(problem);
        return;
    }
    IniFile ini(iniFileName);
    if (const auto clash = findNameClash(ini, presetIndex, values.name)) {
        showErrorBox("Preset #" + std::to_string(clash->preset) + " is named \"" + clash->storedName +
                     "\". Please choose a different name.");
        return;
    }
    try {
        savePreset(formats, ini, presetIndex, values);
    } catch (const IniWriteError& error) {
        // The dialog stays open with the entry as it was; a part of the section may have been written.
        showErrorBox(error.what());
        return;
    }
    accept();
}

void PresetDialog::GetNameAndDesc(QString& name, QString& desc) const
{
    name = ui->ebName->text();
    desc = ui->ebDesc->text();
}
