// The five preset buttons and their menus: apply, configure and remove a preset, and show which are configured.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "presets/presetdialog.h"
#include "winutil/qtdatetime.h"

#include <QMenu>

void MainWindow::fillPresetTable()
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

void MainWindow::prepareConfiguredPresets()
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
        if (!presetEnabled(ini, n))
            continue;
        const PresetValues preset = readPreset(formats, ini, n, 0);
        setPresetConfigured(
            n, QString::fromStdString(preset.name.empty() ? "Preset " + std::to_string(n) : preset.name),
            QString::fromStdString(preset.desc.empty() ? "Apply commands from preset #" + std::to_string(n)
                                                       : preset.desc));
    }
}

void MainWindow::setPresetConfigured(int n, const QString& name, const QString& desc)
{
    PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    entry.configured = true;
    entry.apply->setToolTip(name);
    entry.apply->setStatusTip(QString("Preset %1 - %2").arg(n).arg(desc));
    entry.menu->setDefaultAction(entry.apply);
    entry.button->setIcon(entry.apply->icon());
    entry.button->setToolTip(entry.apply->toolTip());
    entry.button->setStatusTip(entry.apply->statusTip());
    presetsUpdate();
}

void MainWindow::setPresetNotConfigured(int n)
{
    PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    entry.configured = false;
    entry.apply->setToolTip(QString("Apply preset %1").arg(n));
    entry.apply->setStatusTip(QString("Apply settings from preset #%1").arg(n));
    entry.menu->setDefaultAction(entry.configure);
    entry.button->setIcon(entry.configure->icon());
    entry.button->setToolTip(entry.configure->toolTip());
    entry.button->setStatusTip(entry.configure->statusTip());
    presetsUpdate();
}

void MainWindow::presetsUpdate()
{
    for (const PresetEntry& entry : presetTable) {
        entry.button->setEnabled(!busy);
        entry.apply->setEnabled(entry.configured);
        entry.remove->setEnabled(entry.configured);
    }
}

void MainWindow::tbPreAll(int n)
{
    const PresetEntry& entry = presetTable[static_cast<std::size_t>(n - 1)];
    (entry.configured ? entry.apply : entry.configure)->trigger();
}

void MainWindow::preM_AllExecute(int n)
{
    presetTable[static_cast<std::size_t>(n - 1)].button->showMenu();
}

void MainWindow::preA_AllExecute(int n)
{
    const double now = dateTimeToSerial(QDateTime::currentDateTime());
    showPanelState(PanelState::fromPreset(readPreset(formats, IniFile(iniFileName), n, now), now));
}

void MainWindow::preC_AllExecute(int n)
{
    if (!presetForm->LoadPreset(n, currentPanelState()) || presetForm->exec() != QDialog::Accepted)
        return;
    QString name;
    QString desc;
    presetForm->GetNameAndDesc(name, desc);
    setPresetConfigured(n, name, desc);
}

void MainWindow::preR_AllExecute(int n)
{
    try {
        IniFile(iniFileName).eraseSection(presetSection(n));
    } catch (const IniWriteError& error) {
        showErrorBox(error.what());
        return;
    }
    setPresetNotConfigured(n);
}
