// The main window: the touch panel, the preset bar and the file list wired together, Touch/Undo/Reset, hand-off.
#pragma once

#include "core/datetimeformats.h"
#include "core/handoffmessage.h"
#include "platform/platform.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class MainForm;
}
class BusyState;
class FileListModel;
class FileListPanel;
class PresetBar;
class TouchPanel;

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
    BusyState& busyState() { return *busy; }
    void aeMainHint();
    void aeMainSettingChange();
    FileListModel& fileList();
    void AddFile(const std::string& path, EntrySnapshot listed);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormActivate();
    void FormDestroy();
    void bindCommandButtons();
    void connectActions();
    void readSettings();
    void writeSettings();
    // Enables and disables every command as the window's state allows; run whenever the event loop is about to wait.
    void updateActions();
    void acHelpExecute();
    void acAboutExecute();
    // A stop signal closes the window as Exit does, once no run, box or menu is in progress.
    void watchInterruption();
    void closeIfInterrupted();

    // Touch and undo of the selected rows (maintouch.cpp)
    void acApplyExecute();
    void acUndoTouchExecute();

    // Hand-off (mainhandoff.cpp)
    void TakeHandOff(const HandOffMessage& message);
    void AddMatchingFiles(const std::string& spec, const std::string& folder, bool subfolders);
    void ApplyHandOffSwitches(const TTouchSettings& record);

    std::unique_ptr<Ui::MainForm> ui;
    std::string iniFileName;
    const DateTimeFormats formats;
    BusyState* busy;
    QList<QIcon> ilAction;
    FileListPanel* list = nullptr;
    TouchPanel* panel = nullptr;
    PresetBar* presets = nullptr;
    QString currentHint;
    std::optional<HandOffMessage> ownCommandLine;
    bool interrupted = false;
    bool firstActivation = true;
};
