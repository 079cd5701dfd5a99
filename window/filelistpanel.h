// The file list with its commands: adding, removing, moving, selecting and sorting rows, drops, folder matching.
#pragma once

#include "core/datetimeformats.h"
#include "platform/platform.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

#include <string>
#include <vector>

namespace Ui {
class MainForm;
}
class BusyState;
class FileListModel;
class IniFile;
class QDragMoveEvent;
class QDropEvent;
class QMenu;
class QWidget;

class FileListPanel : public QObject
{
    Q_OBJECT

public:
    FileListPanel(Ui::MainForm& ui, const DateTimeFormats& formats, BusyState& busy, QWidget* window);

    FileListModel& model() { return *files; }
    // Lists a file, or gives the row that lists it a fresh object and image 0. The row joins the selection once
    // the current run of adds is over, so that adding many files stays quick.
    void AddFile(const std::string& path, EntrySnapshot listed);
    std::vector<int> selectedRows() const;
    int selectedCount() const;

    // Lets the user choose the folder and compares the selected files with it, for the stamps the touch takes from
    // it; false when the touch is not to run. A cancelled browser leaves every file its last comparison.
    bool matchWithChosenFolder(bool modifiedFromFolder, bool createdFromFolder);
    const std::string& matchFolder() const { return matchFolder_; }

    // Where the Add files dialog starts and the folder last matched, kept in the settings file.
    void readSettings(const IniFile& ini);
    void writeSettings(IniFile& ini) const;
    // The list takes files dropped from the file manager.
    void acceptDrops(bool accept);
    void updateActions();

    // The list's font follows the system's; the columns fit it.
    void followSystemFont();
    // Each column fits its header, or its widest row once there are rows, plus the width of "AM".
    void AutoSizeColumns();
    // What the list needs at a first start: the stamp and attribute columns whole, room for a camera's file names and
    // the start of their folder, fifteen rows.
    QSize firstStartSize() const;

signals:
    // The numbers of listed and selected files may have changed.
    void countsChanged();

private:
    void connectActions();
    void connectDrops();
    void aSelectClick();
    // Refuses, with its message, a network or CD-ROM drive that holds `path`.
    bool refuseDrive(const std::string& path);
    // Looks the file up and lists it; false when it cannot be looked up.
    bool addListedFile(const std::string& path);
    void selectAddedRows();
    int firstSelectedRow() const; // -1 when none is selected
    void acRemoveExecute();
    void acClearExecute();
    void moveSelectedRow(int step);
    // Moves a row to index `to`, selects and focuses it there; the sort marks go.
    void moveListRow(int row, int to);
    void lvMainColumnClick(int column);
    void ClearSortMarks();
    void lvMainStartDrag();
    void lvMainDragOver(QDragMoveEvent* event, bool fromList);
    void lvMainDragDrop(QDropEvent* event, bool fromList);
    void dropFiles(const std::vector<std::string>& paths);
    bool CompareWithFolder(const std::vector<std::string>& listing, bool modifiedFromFolder, bool createdFromFolder);
    void DeselectByMatchKind(int threshold);

    Ui::MainForm& ui;
    const DateTimeFormats& formats;
    BusyState& busy;
    QWidget* window;
    FileListModel* files;
    QList<QIcon> ilList;
    QMenu* pmList = nullptr;
    QPersistentModelIndex dragItem; // the row being dragged inside the list
    std::vector<int> addedRows;     // rows added since the selection last took them in
    std::string matchFolder_;
    QString selectFolder; // where the Add files dialog starts
    int sortKey = 0;
    int columnPad = 0;
};
