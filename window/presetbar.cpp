// The five preset buttons and their menus: apply, configure and remove a preset, and show which are configured.
#include "window/presetbar.h"

#include "core/errorbox.h"
#include "core/inifile.h"
#include "core/presets.h"
#include "presets/presetdialog.h"
#include "window/busystate.h"
#include "window/touchpanel.h"
#include "winutil/qtdatetime.h"

#include <QMenu>
#include <QToolButton>

PresetBar::PresetBar(std::string iniFile, const DateTimeFormats& formats, const BusyState& busy, TouchPanel& panel,
                     const QList<QIcon>& actionImages, QWidget* window)
    : QObject(window), iniFileName(std::move(iniFile)), formats(formats), busy(busy), panel(panel),
      presetForm(new PresetDialog(iniFileName, formats, window))
{
    fillPresetTable(window, actionImages);
}

void PresetBar::fillPresetTable(QWidget* window, const QList<QIcon>& actionImages)
{
    for (int n = 1; n <= kPresetCount; ++n) {
        PresetEntry& preset = entry(n);
        preset.button = window->findChild<QToolButton*>(QString("tbPre%1").arg(n));
        preset.apply = window->findChild<QAction*>(QString("preA%1").arg(n));
        preset.configure = window->findChild<QAction*>(QString("preC%1").arg(n));
        preset.remove = window->findChild<QAction*>(QString("preR%1").arg(n));
        preset.apply->setIcon(actionImages.value(13));
        preset.configure->setIcon(actionImages.value(8));
        preset.remove->setIcon(actionImages.value(2));

        preset.menu = new QMenu(window);
        preset.menu->setObjectName(QString("pmPre%1").arg(n));
        preset.menu->addActions({preset.apply, preset.configure, preset.remove});
        preset.menu->setDefaultAction(preset.configure);
        preset.button->setMenu(preset.menu);
        preset.button->setIcon(actionImages.value(8));

        connect(preset.apply, &QAction::triggered, this, [this, n] { apply(n); });
        connect(preset.configure, &QAction::triggered, this, [this, n] { preC_AllExecute(n); });
        connect(preset.remove, &QAction::triggered, this, [this, n] { preR_AllExecute(n); });
        connect(window->findChild<QAction*>(QString("preM%1").arg(n)), &QAction::triggered, this,
                [this, n] { preM_AllExecute(n); });
        connect(preset.button, &QToolButton::clicked, this, [this, n] { tbPreAll(n); });
    }
}

void PresetBar::prepareConfiguredPresets()
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

void PresetBar::setPresetConfigured(int n, const QString& name, const QString& desc)
{
    PresetEntry& preset = entry(n);
    preset.configured = true;
    preset.apply->setToolTip(name);
    preset.apply->setStatusTip(QString("Preset %1 - %2").arg(n).arg(desc));
    showAs(preset, preset.apply);
}

void PresetBar::setPresetNotConfigured(int n)
{
    PresetEntry& preset = entry(n);
    preset.configured = false;
    preset.apply->setToolTip(QString("Apply preset %1").arg(n));
    preset.apply->setStatusTip(QString("Apply settings from preset #%1").arg(n));
    showAs(preset, preset.configure);
}

void PresetBar::showAs(PresetEntry& preset, QAction* defaultAction)
{
    preset.menu->setDefaultAction(defaultAction);
    preset.button->setIcon(defaultAction->icon());
    preset.button->setToolTip(defaultAction->toolTip());
    preset.button->setStatusTip(defaultAction->statusTip());
    updateActions();
}

bool PresetBar::isConfigured(int n) const
{
    return n >= 1 && n <= kPresetCount && presetTable[static_cast<std::size_t>(n - 1)].configured;
}

bool PresetBar::dialogVisible() const
{
    return presetForm->isVisible();
}

void PresetBar::updateActions()
{
    for (const PresetEntry& preset : presetTable) {
        preset.button->setEnabled(!busy.isBusy());
        preset.apply->setEnabled(preset.configured);
        preset.remove->setEnabled(preset.configured);
    }
}

void PresetBar::tbPreAll(int n)
{
    const PresetEntry& preset = entry(n);
    (preset.configured ? preset.apply : preset.configure)->trigger();
}

void PresetBar::preM_AllExecute(int n)
{
    QMenu* menu = entry(n).menu;
    // Opened by the mouse, a menu waits for the pointer; opened by its key, its default item is the one Enter runs.
    connect(
        menu, &QMenu::aboutToShow, menu, [menu] { menu->setActiveAction(menu->defaultAction()); },
        Qt::SingleShotConnection);
    entry(n).button->showMenu();
}

void PresetBar::apply(int n)
{
    const double now = dateTimeToSerial(QDateTime::currentDateTime());
    panel.showState(PanelState::fromPreset(readPreset(formats, IniFile(iniFileName), n, now), now));
}

void PresetBar::preC_AllExecute(int n)
{
    if (!presetForm->LoadPreset(n, panel.state()) || presetForm->exec() != QDialog::Accepted)
        return;
    QString name;
    QString desc;
    presetForm->GetNameAndDesc(name, desc);
    setPresetConfigured(n, name, desc);
}

void PresetBar::preR_AllExecute(int n)
{
    try {
        IniFile(iniFileName).eraseSection(presetSection(n));
    } catch (const IniWriteError& error) {
        showErrorBox(error.what());
        return;
    }
    setPresetNotConfigured(n);
}
