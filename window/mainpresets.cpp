// The five preset buttons and their menus: apply, configure and remove a preset, and show which are configured.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "presets/presetu.h"
#include "winutil/actionbinding.h"
#include "winutil/qtdatetime.h"

#include <QActionGroup>
#include <QMenu>

#include <cmath>

void TMainForm::fillPresetTable()
{
    for (int n = 1; n <= kPresetCount; ++n) {
        PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
        entry.button = findChild<QToolButton*>(QString("tbPre%1").arg(n));
        entry.apply = findChild<QAction*>(QString("preA%1").arg(n));
        entry.configure = findChild<QAction*>(QString("preC%1").arg(n));
        entry.remove = findChild<QAction*>(QString("preR%1").arg(n));
        entry.apply->setIcon(ilAction.value(13));
        entry.configure->setIcon(ilAction.value(8));
        entry.remove->setIcon(ilAction.value(2));

        entry.menu = new QMenu(this);
        entry.menu->setObjectName(QString("pmPre%1").arg(n));
        entry.menu->addActions({entry.apply, entry.configure, entry.remove});
        entry.menu->setDefaultAction(entry.configure);
        entry.button->setMenu(entry.menu);
        entry.button->setIcon(ilAction.value(8));

        connect(entry.apply, &QAction::triggered, this, [this, n] { preA_AllExecute(n); });
        connect(entry.configure, &QAction::triggered, this, [this, n] { preC_AllExecute(n); });
        connect(entry.remove, &QAction::triggered, this, [this, n] { preR_AllExecute(n); });
        connect(findChild<QAction*>(QString("preM%1").arg(n)), &QAction::triggered, this,
                [this, n] { preM_AllExecute(n); });
        connect(entry.button, &QToolButton::clicked, this, [this, n] { tbPreAll(n); });
    }
}

void TMainForm::prepareConfiguredPresets()
{
    IniFile ini(iniFileName);
    const bool anyEnabled = anyPresetEnabled(ini);
    if (const std::optional<std::string> problem = ini.problem()) {
        // Said once here; the window's other reads quietly take the defaults, and no write goes over the file.
        showErrorBox(*problem);
    } else if (!anyEnabled) {
        try {
            writeSamplePresets(ini);
        } catch (const IniWriteError& error) {
            showErrorBox(error.what());
        }
    }
    for (int n = 1; n <= kPresetCount; ++n) {
        const std::string section = presetSection(n);
        if (!ini.readBool(section, "Enabled", false))
            continue;
        setPresetConfigured(n, QString::fromStdString(ini.readString(section, "Name", "Preset " + std::to_string(n))),
                            QString::fromStdString(
                                ini.readString(section, "Desc", "Apply commands from preset #" + std::to_string(n))));
    }
}

void TMainForm::setPresetConfigured(int n, const QString& name, const QString& desc)
{
    const PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    entry.apply->setToolTip(name);
    entry.apply->setStatusTip(QString("Preset %1 - %2").arg(n).arg(desc));
    entry.apply->setEnabled(true);
    entry.remove->setEnabled(true);
    entry.menu->setDefaultAction(entry.apply);
    entry.button->setIcon(entry.apply->icon());
    entry.button->setToolTip(entry.apply->toolTip());
    entry.button->setStatusTip(entry.apply->statusTip());
}

void TMainForm::setPresetNotConfigured(int n)
{
    const PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    entry.apply->setToolTip(QString("Apply preset %1").arg(n));
    entry.apply->setStatusTip(QString("Apply settings from preset #%1").arg(n));
    entry.apply->setEnabled(false);
    entry.remove->setEnabled(false);
    entry.menu->setDefaultAction(entry.configure);
    entry.button->setIcon(entry.configure->icon());
    entry.button->setToolTip(entry.configure->toolTip());
    entry.button->setStatusTip(entry.configure->statusTip());
}

void TMainForm::tbPreAll(int n)
{
    const PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    (entry.apply->isEnabled() ? entry.apply : entry.configure)->trigger();
}

void TMainForm::preM_AllExecute(int n)
{
    presetTable[static_cast<std::size_t>(n - 1)].button->showMenu();
}

void TMainForm::preA_AllExecute(int n)
{
    const IniFile ini(iniFileName);
    const std::string section = presetSection(n);
    const int clock = ini.readInteger(section, "Clock", kClockSystem);
    if (clock == kClockSystem || clock == kClockZeroSeconds || clock == kClockZeroMinutes) {
        ui->acNow->trigger();
        if (clock == kClockZeroSeconds)
            ui->acZerSec->trigger();
        else if (clock == kClockZeroMinutes)
            ui->acZerMin->trigger();
    } else {
        const double now = dateTimeToSerial(QDateTime::currentDateTime());
        const double date = readDate(formats, ini, section, "Date", now);
        if (setPickerValue(ui->DTDateMod, date, formats))
            setPickerValue(ui->DTTimeMod,
                           std::floor(date) + readTime(formats, ini, section, "Time", now) -
                               std::floor(readTime(formats, ini, section, "Time", now)),
                           formats);
    }
    ui->acDate->setChecked(ini.readBool(section, "UseDate", true));
    ui->acTime->setChecked(ini.readBool(section, "UseTime", true));
    ui->acSeq->setChecked(ini.readBool(section, "UseSeq", false));
    UpdateDateTimeControls();
    ui->comSeqN->setCurrentIndex(ini.readInteger(section, "SeqNum", 0));
    ui->comSeqU->setCurrentIndex(ini.readInteger(section, "SeqUnit", 0));
    comSeqNChange();

    pressPosition({ui->acModFmClk, ui->acModFmCre, ui->acModFmFld}, ini.readInteger(section, "Mod", kSourceNone));
    pressPosition({ui->acCreFmClk, ui->acCreFmMod, ui->acCreFmFld}, ini.readInteger(section, "Cre", kSourceNone));
    pressPosition({ui->acAminus, ui->acAPlus}, ini.readInteger(section, "AttrA", kAttrUnchanged));
    pressPosition({ui->acSMinus, ui->acSPlus}, ini.readInteger(section, "AttrS", kAttrUnchanged));
    pressPosition({ui->acHMinus, ui->acHPlus}, ini.readInteger(section, "AttrH", kAttrUnchanged));
    pressPosition({ui->acRMinus, ui->acRPlus}, ini.readInteger(section, "AttrR", kAttrUnchanged));
}

PanelState TMainForm::currentPanelState() const
{
    PanelState panel;
    panel.date = ui->DTDateMod->dateTime();
    panel.time = ui->DTTimeMod->dateTime();
    panel.useDate = ui->acDate->isChecked();
    panel.useTime = ui->acTime->isChecked();
    panel.useSeq = ui->acSeq->isChecked();
    panel.seqNum = ui->comSeqN->currentIndex();
    panel.seqUnit = ui->comSeqU->currentIndex();
    panel.mod = pressedPosition({ui->acModFmClk, ui->acModFmCre, ui->acModFmFld});
    panel.cre = pressedPosition({ui->acCreFmClk, ui->acCreFmMod, ui->acCreFmFld});
    panel.attrA = pressedPosition({ui->acAminus, ui->acAPlus});
    panel.attrS = pressedPosition({ui->acSMinus, ui->acSPlus});
    panel.attrH = pressedPosition({ui->acHMinus, ui->acHPlus});
    panel.attrR = pressedPosition({ui->acRMinus, ui->acRPlus});
    return panel;
}

void TMainForm::preC_AllExecute(int n)
{
    if (!presetForm->LoadPreset(n, currentPanelState()) || presetForm->exec() != QDialog::Accepted)
        return;
    QString name;
    QString desc;
    presetForm->GetNameAndDesc(name, desc);
    setPresetConfigured(n, name, desc);
}

void TMainForm::preR_AllExecute(int n)
{
    try {
        IniFile(iniFileName).eraseSection(presetSection(n));
    } catch (const IniWriteError& error) {
        showErrorBox(error.what());
        return;
    }
    setPresetNotConfigured(n);
}
