// The main window: control panel, file list and status bar; its handlers live in one file per concern.
#pragma once

#include <QIcon>
#include <QList>
#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

namespace Ui {
class MainForm;
}
class FileListModel;
class QAction;
class QMenu;
class QToolButton;

class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // `iniFileName` is the settings file, beside the program.
    explicit TMainForm(std::string iniFileName, QWidget* parent = nullptr);
    ~TMainForm() override;

    void SetBusy(bool value);
    void aeMainHint();
    void aeMainSettingChange();
    FileListModel& Files() { return *files; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Preset n's components, looked up by name.
    struct PresetEntry
    {
        QToolButton* button = nullptr;
        QMenu* menu = nullptr;
        QAction* apply = nullptr;
        QAction* configure = nullptr;
        QAction* remove = nullptr;
    };

    // Frame
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void LoadImages();
    void BindButtons();
    void ConnectActions();
    void ReadSettings();
    void WriteSettings();
    void RunUpdateHandlers();
    void PanelLayoutPass();
    void AutoSizeColumns();
    void acHelpExecute();
    void acAboutExecute();
    void acExitExecute();
    int SelectedCount() const;

    // Presets (mainpresets.cpp)
    void FillPresetTable();
    void PrepareConfiguredPresets();

    // File list and files dropped on it (mainlist.cpp, maindrops.cpp)
    void ConnectListActions();
    void acRemoveUpdate();
    void acItemDownUpdate();

    // Touch settings panel, touch, undo and reset, dates from dropped files (mainpanel.cpp, maintouch.cpp)
    void ConnectPanelActions();
    void acApplyUpdate();

    std::unique_ptr<Ui::MainForm> ui;
    FileListModel* files;
    QString currentHint;

    bool busy = false;
    bool firstActivation = true;
    int minTrackWidth = 0;
    std::string iniFileName;
    std::array<PresetEntry, 5> presetTable;
    std::string matchFolder;
    int seqStep = 60;
    int columnPad = 0;
    int sortKey = 0;
    QString selectFolder; // where the Add files dialog starts

    QList<QIcon> ilAction;
    QList<QIcon> ilStates;
    QList<QIcon> ilList;
};
