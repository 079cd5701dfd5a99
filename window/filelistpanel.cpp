// The file list: adding through the dialog, removing, clearing, moving, selecting and sorting rows.
#include "window/filelistpanel.h"

#include "ui_mainform.h"

#include "core/driveclass.h"
#include "core/errorbox.h"
#include "core/inifile.h"
#include "platform/paths.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "winutil/filedialog.h"
#include "winutil/glyphs.h"

#include <QApplication>
#include <QFile>
#include <QMenu>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Up to this many files that could not be looked up are named; more are only counted.
constexpr int kMaxNamedFailures = 19;

// `lines` holds one tab, path and CR LF per file.
std::string failureText(int count, const std::string& lines)
{
    const std::string cause = "These files may be in use by the system or by another process.";
    if (count <= kMaxNamedFailures)
        return "Stampkeep was unable to select the following " + std::to_string(count) + " files:\r\n\r\n" + lines +
               "\r\n" + cause;
    return "Stampkeep was unable to select " + std::to_string(count) + " of the specified files.\r\n" + cause;
}

// The folder of the program, without a trailing `/`.
std::string programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace

FileListPanel::FileListPanel(Ui::MainForm& ui, const DateTimeFormats& formats, BusyState& busy, QWidget* window)
    : QObject(window), ui(ui), formats(formats), busy(busy), window(window), files(new FileListModel(formats, this))
{
    LoadGlyphRange(ilList, 45, 50);
    files->setImages(ilList);
    ui.lvMain->setModel(files);
    connectActions();
}

void FileListPanel::readSettings(const IniFile& ini)
{
    matchFolder_ = ini.readString("Settings", "WasFolder", programFolder());
    std::string location = ini.readString("Location", "Location", withTrailingSlash(programFolder()));
    if (location.empty())
        location = programFolder();
    selectFolder = QString::fromStdString(withTrailingSlash(location));
}

void FileListPanel::writeSettings(IniFile& ini) const
{
    ini.writeString("Location", "Location", selectFolder.toStdString());
    ini.writeString("Settings", "WasFolder", matchFolder_);
}

void FileListPanel::acceptDrops(bool accept)
{
    ui.lvMain->setAcceptDrops(accept);
}

void FileListPanel::connectActions()
{
    connect(ui.acSelect, &QAction::triggered, this, &FileListPanel::aSelectClick);
    connect(ui.acRemove, &QAction::triggered, this, &FileListPanel::acRemoveExecute);
    connect(ui.acClear, &QAction::triggered, this, &FileListPanel::acClearExecute);
    connect(ui.acItemUp, &QAction::triggered, this, [this] { moveSelectedRow(-1); });
    connect(ui.acItemDown, &QAction::triggered, this, [this] { moveSelectedRow(1); });
    connect(ui.acSelAll, &QAction::triggered, ui.lvMain, &QTreeView::selectAll);

    QHeaderView* header = ui.lvMain->header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &FileListPanel::lvMainColumnClick);
    connect(ui.lvMain->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FileListPanel::countsChanged);

    pmList = new QMenu(window);
    pmList->setObjectName("pmList");
    pmList->addActions({ui.acSelect, ui.acRemove, ui.acClear});
    pmList->addSeparator();
    pmList->addActions({ui.acItemUp, ui.acItemDown, ui.acSelAll});
    connect(ui.lvMain, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { pmList->popup(ui.lvMain->viewport()->mapToGlobal(pos)); });

    connectDrops();
}

void FileListPanel::aSelectClick()
{
    const std::vector<std::string> chosen = openFileNames(window, "Select Files", "All files (*)", selectFolder);
    if (chosen.empty()) {
        AutoSizeColumns();
        return;
    }
    // The first file speaks for all: the dialog picks them from one folder.
    if (refuseDrive(chosen.front()))
        return;
    selectFolder = QFile::decodeName(QByteArray::fromStdString(folderPart(chosen.front())));
    {
        const BusyState::Guard adding(busy);
        files->reserve(chosen.size());
        int failed = 0;
        std::string failures;
        for (const std::string& path : chosen) {
            if (!addListedFile(path)) {
                ++failed;
                failures += "\t" + path + "\r\n";
            }
        }
        selectAddedRows();
        if (failed > 0)
            showErrorBox(failureText(failed, failures));
        ClearSortMarks();
    }
    AutoSizeColumns();
}

bool FileListPanel::refuseDrive(const std::string& path)
{
    const std::string refusal = selectionRefusal(ClassifyDrive(path));
    if (!refusal.empty())
        showErrorBox(refusal);
    return !refusal.empty();
}

bool FileListPanel::addListedFile(const std::string& path)
{
    Platform& platform = currentPlatform();
    std::optional<EntrySnapshot> listed = platform.snapshotEntry(path);
    // A link the user chose stands for its target, resolved once, now, as one named on the command line does.
    std::string entry = path;
    if (listed && listed->symbolicLink) {
        const std::vector<FileEntry> named = platform.findFiles(path, 1, EntryDetail::ModeAndTimes).entries;
        if (named.empty() || named.front().target.empty())
            return false;
        entry = named.front().target;
        listed = platform.snapshotEntry(entry);
    }
    if (!listed)
        return false;
    AddFile(entry, std::move(*listed));
    return true;
}

void FileListPanel::AddFile(const std::string& path, EntrySnapshot listed)
{
    // Selecting row by row costs time in proportion to the list for every row: the rows join the selection
    // together, at the end of the caller's run of adds or when the event loop next runs, whichever comes first.
    if (addedRows.empty())
        QMetaObject::invokeMethod(this, &FileListPanel::selectAddedRows, Qt::QueuedConnection);
    addedRows.push_back(files->AddFile(path, std::move(listed)));
}

void FileListPanel::selectAddedRows()
{
    if (addedRows.empty())
        return;
    QItemSelection selection;
    for (const auto& [first, last] : rowRuns(std::move(addedRows)))
        selection.select(files->index(first, 0), files->index(last, FileListModel::ColumnCount - 1));
    addedRows.clear();
    ui.lvMain->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

std::vector<int> FileListPanel::selectedRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : ui.lvMain->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    return rows;
}

int FileListPanel::selectedCount() const
{
    int count = 0;
    for (const QItemSelectionRange& range : ui.lvMain->selectionModel()->selection())
        count += range.height();
    return count;
}

int FileListPanel::firstSelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : ui.lvMain->selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return first;
}

void FileListPanel::acRemoveExecute()
{
    selectAddedRows();
    files->removeRowsAt(selectedRows());
    emit countsChanged();
}

void FileListPanel::acClearExecute()
{
    addedRows.clear();
    files->clear();
    AutoSizeColumns();
    emit countsChanged();
}

void FileListPanel::moveSelectedRow(int step)
{
    selectAddedRows();
    const int row = firstSelectedRow();
    if (selectedCount() != 1 || row + step < 0 || row + step >= files->rowCount())
        return;
    moveListRow(row, row + step);
}

void FileListPanel::moveListRow(int row, int to)
{
    files->moveRowTo(row, to);
    ui.lvMain->selectionModel()->setCurrentIndex(files->index(to, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ClearSortMarks();
}

void FileListPanel::updateActions()
{
    ui.acSelect->setEnabled(!busy.isBusy());
    ui.acRemove->setEnabled(!busy.isBusy() && ui.lvMain->selectionModel()->hasSelection());
    ui.acClear->setEnabled(!busy.isBusy() && files->rowCount() > 0);
    const bool single = !busy.isBusy() && selectedCount() == 1;
    const int row = single ? firstSelectedRow() : -1;
    ui.acItemUp->setEnabled(single && row > 0);
    ui.acItemDown->setEnabled(single && row < files->rowCount() - 1);
    ui.acSelAll->setEnabled(!busy.isBusy() && files->rowCount() > 0);
}

void FileListPanel::lvMainColumnClick(int column)
{
    selectAddedRows();
    const int key = column + 1;
    sortKey = key == std::abs(sortKey) ? -sortKey : key;
    files->sortByKey(sortKey);
    for (int each = 0; each < FileListModel::ColumnCount; ++each) {
        if (each + 1 != std::abs(sortKey))
            files->setHeaderImage(each, FileListModel::kHeaderPlain);
        else
            files->setHeaderImage(each,
                                  sortKey > 0 ? FileListModel::kHeaderAscending : FileListModel::kHeaderDescending);
    }
    const int first = firstSelectedRow();
    if (first >= 0)
        ui.lvMain->scrollTo(files->index(first, 0));
}

void FileListPanel::ClearSortMarks()
{
    if (sortKey == 0)
        return;
    sortKey = 0;
    for (int column = 0; column < FileListModel::ColumnCount; ++column)
        files->setHeaderImage(column, FileListModel::kHeaderPlain);
}
