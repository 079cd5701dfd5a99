// The preset bar: the five preset buttons with their menus, applying, configuring and removing a preset.
#pragma once

#include "core/datetimeformats.h"

#include <QIcon>
#include <QList>
#include <QObject>

#include <array>
#include <string>

class BusyState;
class PresetDialog;
class QAction;
class QMenu;
class QToolButton;
class QWidget;
class TouchPanel;

class PresetBar : public QObject
{
    Q_OBJECT

public:
    // Applying a preset shows it on `panel`; configuring one starts the dialog from the panel's state.
    PresetBar(std::string iniFileName, const DateTimeFormats& formats, const BusyState& busy, TouchPanel& panel,
              const QList<QIcon>& actionImages, QWidget* window);

    // Reads which presets are configured; on a first start writes the sample presets.
    void prepareConfiguredPresets();
    bool isConfigured(int n) const;
    void apply(int n);
    // The preset dialog has its own status bar for the hints.
    bool dialogVisible() const;
    void updateActions();

private:
    // Preset n's components, looked up by name.
    struct PresetEntry
    {
        QToolButton* button = nullptr;
        QMenu* menu = nullptr;
        QAction* apply = nullptr;
        QAction* configure = nullptr;
        QAction* remove = nullptr;
        bool configured = false;
    };

    void fillPresetTable(QWidget* window, const QList<QIcon>& actionImages);
    PresetEntry& entry(int n) { return presetTable[static_cast<std::size_t>(n - 1)]; }
    void setPresetConfigured(int n, const QString& name, const QString& desc);
    void setPresetNotConfigured(int n);
    void showAs(PresetEntry& entry, QAction* defaultAction);
    void tbPreAll(int n);
    void preC_AllExecute(int n);
    void preR_AllExecute(int n);
    // The menu opened by its key: the first Enter runs its default item.
    void preM_AllExecute(int n);

    std::string iniFileName;
    const DateTimeFormats& formats;
    const BusyState& busy;
    TouchPanel& panel;
    PresetDialog* presetForm;
    std::array<PresetEntry, 5> presetTable;
};
