// The five preset buttons and their menus: looking them up, and showing which presets are configured.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "core/inifile.h"
#include "core/presets.h"
#include "platform/messagebox.h"

#include <QMenu>

void TMainForm::FillPresetTable()
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
    }
}

void TMainForm::PrepareConfiguredPresets()
{
    IniFile ini(iniFileName);
    if (!AnyPresetEnabled(ini)) {
        try {
            WriteSamplePresets(ini);
        } catch (const IniWriteError& error) {
            ShowMessageBox({"Stampkeep", error.what(), MessageIcon::Error, MessageButtons::Ok});
        }
    }
    for (int n = 1; n <= kPresetCount; ++n) {
        const std::string section = PresetSection(n);
        if (!ini.ReadBool(section, "Enabled", false))
            continue;
        const PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
        const QString name = QString::fromStdString(ini.ReadString(section, "Name", "Preset " + std::to_string(n)));
        const QString desc =
            QString::fromStdString(ini.ReadString(section, "Desc", "Apply commands from preset #" + std::to_string(n)));
        entry.apply->setToolTip(name);
        entry.apply->setStatusTip(QString("Preset %1 - %2").arg(n).arg(desc));
        entry.apply->setEnabled(true);
        entry.remove->setEnabled(true);
        entry.menu->setDefaultAction(entry.apply);
        entry.button->setIcon(entry.apply->icon());
        entry.button->setToolTip(entry.apply->toolTip());
        entry.button->setStatusTip(entry.apply->statusTip());
    }
}
