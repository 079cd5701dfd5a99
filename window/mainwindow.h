// The main window: control panel, file list and status bar; its handlers live in one file per concern.
#pragma once

#include "core/datetimeformats.h"
#include "core/handoffmessage.h"
#include "core/panelstate.h"
#include "platform/platform.h"
#include "winutil/designfit.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPersistentModelIndex>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class MainForm;
}
class FileListModel;
class PresetDialog;
struct MatchCounts;
struct MatchDecision;
class QAction;
class QDragMoveEvent;
class QDropEvent;
class QMenu;
class QToolButton;
class QUrl;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `iniFileName` is the settings file, beside the program.
    MainWindow(std::string iniFileName, DateTimeFormats formats, QWidget* parent = nullptr);
    ~MainWindow() override;

    // This start's own command line, taken when the window is first shown.
    void setOwnCommandLine(HandOffMessage message) { ownCommandLine = std::move(message); }
    // A later start's command line: the window comes forward and takes it.
    void handOffMessage(const HandOffMessage& message);

    // While busy, the window takes no commands; later starts and drops wait until it is idle again.
    class BusyGuard
    {
    public:
        explicit BusyGuard(MainWindow& form);
        ~BusyGuard();
        BusyGuard(const BusyGuard&) = delete;
        BusyGuard& operator=(const BusyGuard&) = delete;

    private:
        MainWindow& form;
    };

    void SetBusy(bool value);
    void aeMainHint();
    void aeMainSettingChange();
    FileListModel& fileList() { return *files; }

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
        bool configured = false;
    };

    // Frame
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void loadImages();
    void bindButtons();
    void connectActions();
    void readSettings();
    void writeSettings();
    // Enables and disables every command as the window's state allows; run whenever the event loop is about to wait.
    void updateActions();
    // Runs `work` now, or once the window is no longer busy.
    void whenIdle(std::function<void()> work);
    void runWaitingWork();
    void panelLayoutPass();
    // The preset bar and the Help, About and Exit buttons, below the group boxes.
    void placeButtonRow();
    // The window is never narrower than the panel, Exit included.
    void followPanelWidth();
    void AutoSizeColumns();
    void acHelpExecute();
    void acAboutExecute();
    void acExitExecute();
    // A stop signal closes the window as Exit does, once no run, box or menu is in progress.
    void watchInterruption();
    void closeIfInterrupted();
    int selectedCount() const;

    // Presets (mainpresets.cpp)
    void fillPresetTable();
    void prepareConfiguredPresets();
    void setPresetConfigured(int n, const QString& name, const QString& desc);
    void setPresetNotConfigured(int n);
    void presetsUpdate();
    void tbPreAll(int n);
    void preA_AllExecute(int n);
    void preC_AllExecute(int n);
    void preR_AllExecute(int n);
    void preM_AllExecute(int n);

    // File list and files dropped on it (mainlist.cpp, maindrops.cpp)
public:
    // Lists a file, or gives the row that lists it a fresh object and image 0. The row joins the selection once
    // the current run of adds is over, so that adding many files stays quick.
    void AddFile(const std::string& path, EntrySnapshot listed);

private:
    void connectListActions();
    void connectListDrops();
    void aSelectClick();
    // Refuses, with its message, a network or CD-ROM drive that holds `path`.
    bool refuseDrive(const std::string& path);
    // Looks the file up and lists it; false when it cannot be looked up.
    bool addListedFile(const std::string& path);
    void selectAddedRows();
    std::vector<int> selectedRows() const;
    int firstSelectedRow() const; // -1 when none is selected
    void acRemoveExecute();
    void acClearExecute();
    void acItemUpExecute();
    void acItemDownExecute();
    void moveSelectedRow(int step);
    // Moves a row to index `to`, selects and focuses it there; the sort marks go.
    void moveListRow(int row, int to);
    void acSelAllExecute();
    void acRemoveUpdate();
    void acItemDownUpdate();
    void lvMainColumnClick(int column);
    void lvMainSelectItem();
    void ClearSortMarks();
    void SetColumnImage(int columnIndex, int image);
    void lvMainStartDrag();
    void lvMainDragOver(QDragMoveEvent* event, bool fromList);
    void lvMainDragDrop(QDropEvent* event, bool fromList);
    void dropFiles(const std::vector<std::string>& paths);

    QMenu* pmList = nullptr;
    QPersistentModelIndex dragItem; // the row being dragged inside the list
    std::vector<int> addedRows;     // rows added since the selection last took them in

    // Touch settings panel, touch, undo and reset, dates from dropped files (mainpanel.cpp, maintouch.cpp)
    void connectPanelActions();
    void watchPanelEvents();
    void connectTouchActions();
    // Shows what the state names; a date outside the date picker's range gets its range error and leaves the time.
    void showPanelState(const PanelState& panel);
    PanelState currentPanelState() const;
    // The sixteen source and attribute buttons; a touch needs at least one of them down.
    std::array<QAction*, 16> changeButtons() const;
    void acApplyUpdate();
    void acUndoTouchUpdate();
    void panelUpdate();
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
    void acApplyExecute();
    void acUndoTouchExecute();
    void acResetExecute();

    // Folder matching (mainmatch.cpp)
    // Lets the user choose the folder and compares the selected files with it; false when the touch is not to run.
    // A cancelled browser leaves every file its last comparison.
    bool matchWithChosenFolder();
    static void ListFolderFiles(std::vector<std::string>& list, const std::string& folder);
    bool CompareWithFolder(const std::vector<std::string>& listing);
    static MatchDecision ShowMatchReport(int rowCount, const MatchCounts& counts, const std::string& folder,
                                         bool modFromFolder, bool creFromFolder);
    void DeselectByMatchKind(int threshold);

    // Hand-off (mainhandoff.cpp)
    void TakeHandOff(const HandOffMessage& message);
    void AddMatchingFiles(const std::string& spec, const std::string& folder, bool subfolders);
    void ApplyHandOffSwitches(const TTouchSettings& record);

    std::unique_ptr<Ui::MainForm> ui;
    FileListModel* files;
    QString currentHint;
    std::optional<HandOffMessage> ownCommandLine;
    PresetDialog* presetForm = nullptr;

    bool busy = false;
    std::vector<std::function<void()>> waitingWork; // arrived while busy, in order
    bool interrupted = false;
    bool firstActivation = true;
    int minTrackWidth = 0;
    DesignGeometry panelDesign; // where the panel's components stand at the design font
    std::string iniFileName;
    const DateTimeFormats formats;
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
