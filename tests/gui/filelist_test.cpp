// The file list: adding through the dialog and by drops, refreshing, sorting, moving, removing and clearing rows.
#include "core/inifile.h"
#include "core/touchedfile.h"
#include "fake/fakeplatform.h"
#include "gui/windowfixture.h"
#include "window/filelistmodel.h"
#include "window/filelistview.h"
#include "window/mainwindow.h"
#include "winutil/filedialog.h"

#include <QtTest>

#include <QAbstractEventDispatcher>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>

#include <unistd.h>

namespace {

QStringList toQStringList(const std::vector<std::string>& paths)
{
    QStringList list;
    for (const std::string& path : paths)
        list.push_back(QString::fromStdString(path));
    return list;
}

// The list as a file manager writes it: a line for each URI, each ending in CR LF.
QMimeData* uriList(const QStringList& uris)
{
    auto* data = new QMimeData;
    data->setData("text/uri-list", (uris.join("\r\n") + "\r\n").toLatin1());
    return data;
}

} // namespace

class FileListTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void modelKeepsItsIndexRight();
    void addingAListedPathRefreshesItsRow();
    void failuresAreNamedUpToNineteen();
    void cancellingStillFitsTheColumns();
    void horizontalScrollBarOnlyWhenColumnsDoNotFit();
    void dialogRefusesNetworkAndCdRomDrives();
    void sortingByColumns();
    void movingUpAndDown();
    void removingClearingAndSelectingAll();
    void rowAppearance();
    void popupMenuOffersTheListCommands();
    void keysAndButtons();
    void dropFromNetworkDrivesAndALocalFolder();
    void dropFromCdRomDrives();
    void draggingARowInsideTheList();
    void namesThatAreNoTextKeepTheirBytes();
    void controlCharactersInNamesShowAsEscapes();

private:
    void addThroughDialog(MainWindow& form, const std::vector<std::string>& paths);
    static FileListView* listView(MainWindow& form) { return form.findChild<FileListView*>("lvMain"); }
    static QStringList listedNames(MainWindow& form);
    static std::vector<int> selectedRows(MainWindow& form);
    static void selectRows(MainWindow& form, std::initializer_list<int> rows);
    static void dropUris(MainWindow& form, const QStringList& uris);
    static std::vector<std::string> listedPaths(MainWindow& form);
    static QPoint rowCentre(MainWindow& form, int row);

    std::vector<bool> hourglassAtBox;
};

void FileListTest::init()
{
    WindowFixture::init();
    hourglassAtBox.clear();
    setMessageBoxHandler([this](const MessageBoxRequest& box) {
        const QCursor* cursor = QApplication::overrideCursor();
        hourglassAtBox.push_back(cursor && cursor->shape() == Qt::WaitCursor);
        return recordBox(box);
    });
}

void FileListTest::addThroughDialog(MainWindow& form, const std::vector<std::string>& paths)
{
    setNextFileDialogAnswer(toQStringList(paths));
    trigger(form, "acSelect");
}

QStringList FileListTest::listedNames(MainWindow& form)
{
    QStringList names;
    const FileListModel& files = form.fileList();
    for (int row = 0; row < files.rowCount(); ++row)
        names.push_back(files.index(row, FileListModel::ColFilename).data().toString());
    return names;
}

std::vector<int> FileListTest::selectedRows(MainWindow& form)
{
    std::vector<int> rows;
    for (const QModelIndex& index : listView(form)->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListTest::selectRows(MainWindow& form, std::initializer_list<int> rows)
{
    QItemSelectionModel* selection = listView(form)->selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->select(form.fileList().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// A drop from a file manager: the names arrive as a URI list.
void FileListTest::dropUris(MainWindow& form, const QStringList& uris)
{
    std::unique_ptr<QMimeData> data(uriList(uris));
    QWidget* viewport = listView(form)->viewport();
    const QPoint pos(5, 5);
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
    idle();
}

std::vector<std::string> FileListTest::listedPaths(MainWindow& form)
{
    std::vector<std::string> paths;
    for (int row = 0; row < form.fileList().rowCount(); ++row)
        paths.push_back(form.fileList().object(row).FileName);
    return paths;
}

QPoint FileListTest::rowCentre(MainWindow& form, int row)
{
    return listView(form)->visualRect(form.fileList().index(row, 0)).center();
}

void FileListTest::modelKeepsItsIndexRight()
{
    // The model on its own: the model tester watches every change, the path index must follow each of them.
    FileListModel model(formats);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* name : {"/d/c", "/d/a", "/d/B", "/d/b", "/e/a"})
        model.AddFile(name, EntrySnapshot{});
    QCOMPARE(model.rowCount(), 5);
    // Letter case makes another file here.
    QCOMPARE(model.findPath("/d/B"), 2);
    QCOMPARE(model.findPath("/d/b"), 3);
    QCOMPARE(model.AddFile("/d/a", EntrySnapshot{}), 1);
    QCOMPARE(model.rowCount(), 5);

    model.moveRowTo(0, 3);
    QCOMPARE(model.findPath("/d/c"), 3);
    QCOMPARE(model.findPath("/d/a"), 0);
    model.moveRowTo(4, 1);
    QCOMPARE(model.findPath("/e/a"), 1);
    QCOMPARE(model.findPath("/d/c"), 4);

    model.sortByKey(-5); // by folder, descending: /e before /d, names descending inside
    QCOMPARE(model.findPath("/e/a"), 0);
    QCOMPARE(model.findPath("/d/c"), 1);
    QCOMPARE(model.findPath("/d/a"), 4);

    model.removeRowsAt({1, 3});
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.findPath("/d/c"), -1);
    QCOMPARE(model.findPath("/d/a"), 2);

    // A name that comes in after a sort takes its place in the next one.
    model.AddFile("/a/zz", EntrySnapshot{});
    model.sortByKey(1);
    QCOMPARE(model.findPath("/a/zz"), 3);
    QCOMPARE(model.findPath("/e/a"), 0); // equal names keep their order
    QCOMPARE(model.findPath("/d/a"), 1);
    model.removeRowsAt({3});

    // Dragged rows leave as one file URL each, whatever number of columns the view hands over.
    const std::unique_ptr<QMimeData> data(model.mimeData({model.index(1, 0), model.index(1, 3), model.index(0, 1)}));
    QCOMPARE(data->urls(), QList<QUrl>({QUrl::fromLocalFile("/e/a"), QUrl::fromLocalFile("/d/a")}));
    QCOMPARE(model.supportedDragActions(), Qt::CopyAction);

    // Many separate runs go in one rebuild.
    model.clear();
    std::vector<int> everyOther;
    for (int i = 0; i < 300; ++i) {
        model.AddFile("/f/" + std::to_string(i), EntrySnapshot{});
        if (i % 2 == 1)
            everyOther.push_back(i);
    }
    model.removeRowsAt(everyOther);
    QCOMPARE(model.rowCount(), 150);
    QCOMPARE(model.findPath("/f/1"), -1);
    QCOMPARE(model.findPath("/f/298"), 149);
    model.clear();
    QCOMPARE(model.findPath("/f/0"), -1);
}

void FileListTest::addingAListedPathRefreshesItsRow()
{
    MainWindow form(iniPath(), formats);
    const std::string a = folder->makeFile("a.txt");
    const std::string b = folder->makeFile("b.txt");
    const std::string c = folder->makeFile("c.txt");
    setModified(a, kUnixEpoch + 10'000'000ull * 86400 * 10000);
    addThroughDialog(form, {a, b});
    QCOMPARE(listedNames(form), QStringList({"a.txt", "b.txt"}));
    QCOMPARE(selectedRows(form), std::vector<int>({0, 1}));

    FileListModel& files = form.fileList();
    selectRows(form, {1});
    files.setRowImage(0, FileListModel::ImageTouched);
    files.object(0).StatusText = "touched";
    const TouchedFile* before = &files.object(0);
    const QString modifiedBefore = files.index(0, FileListModel::ColModified).data().toString();
    setModified(a, kUnixEpoch + 10'000'000ull * 86400 * 12000);

    addThroughDialog(form, {a, c});
    QCOMPARE(listedNames(form), QStringList({"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(files.rowImage(0), int(FileListModel::ImageListed));
    QVERIFY(&files.object(0) != before);
    QCOMPARE(files.object(0).StatusText, std::string());
    QVERIFY(files.index(0, FileListModel::ColModified).data().toString() != modifiedBefore);
    // The earlier selection stays; the refreshed and the new row join it.
    QCOMPARE(selectedRows(form), std::vector<int>({0, 1, 2}));
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 3 files, 3 selected."));
    QCOMPARE(files.index(0, FileListModel::ColPath).data().toString(), QString::fromStdString(folder->path()));

    // Names that differ only in letter case are two files here.
    const std::string upper = folder->makeFile("A.TXT");
    addThroughDialog(form, {upper});
    QCOMPARE(files.rowCount(), 4);

    // A link chosen in the dialog stands for its target, which is what a Touch then changes.
    const std::string link = *folder / "link-to-b";
    QCOMPARE(symlink(b.c_str(), link.c_str()), 0);
    addThroughDialog(form, {link});
    QCOMPARE(files.rowCount(), 4);
    QCOMPARE(files.object(1).FileName, b);

    // The dialog will start where the last files came from, also in the next run.
    const std::string other = folder->makeFile("sub/d.txt");
    addThroughDialog(form, {other});
    form.close();
    QCOMPARE(IniFile(iniPath()).readString("Location", "Location", ""), folder->path() + "/sub/");
}

void FileListTest::failuresAreNamedUpToNineteen()
{
    MainWindow form(iniPath(), formats);
    const std::string listed = folder->makeFile("present.txt");
    std::vector<std::string> chosen = {listed};
    std::string lines;
    for (int i = 1; i <= 19; ++i) {
        chosen.push_back(folder->path() + "/gone" + std::to_string(i));
        lines += "\t" + chosen.back() + "\r\n";
    }
    addThroughDialog(form, chosen);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, "Stampkeep was unable to select the following 19 files:\r\n\r\n" + lines +
                                "\r\nThese files may be in use by the system or by another process.");
    QCOMPARE(boxes[0].caption, std::string("Stampkeep"));
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QVERIFY(hourglassAtBox[0]);
    QCOMPARE(listedNames(form), QStringList({"present.txt"}));

    chosen.push_back(folder->path() + "/gone20");
    addThroughDialog(form, chosen);
    QCOMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(boxes[1].text, std::string("Stampkeep was unable to select 20 of the specified files.\r\n"
                                        "These files may be in use by the system or by another process."));
    QCOMPARE(form.fileList().rowCount(), 1);

    // The hourglass and the busy state end with the run: the list commands work again.
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    trigger(form, "acRemove");
}

void FileListTest::cancellingStillFitsTheColumns()
{
    MainWindow form(iniPath(), formats);
    QHeaderView* header = listView(form)->header();
    for (int column = 0; column < header->count(); ++column)
        header->resizeSection(column, 3);
    addThroughDialog(form, {});
    for (int column = 0; column < header->count(); ++column)
        QVERIFY2(header->sectionSize(column) > 3, qPrintable(QString::number(column)));
    QCOMPARE(form.fileList().rowCount(), 0);
    QVERIFY(boxes.empty());
}

// The lower scroll bar is there only while the fitted columns are wider than the list: not when the window is wide
// enough for them, at once when it is made narrower, and gone again when it is widened; with a few rows and with
// enough rows for the side scroll bar.
void FileListTest::horizontalScrollBarOnlyWhenColumnsDoNotFit()
{
    for (const int rows : {2, 60}) {
        MainWindow form(iniPath(), formats);
        std::vector<std::string> paths;
        for (int i = 0; i < rows; ++i)
            paths.push_back(folder->makeFile("a-name-of-some-length-" + std::to_string(i) + ".txt"));
        addThroughDialog(form, paths);
        showActive(form);
        FileListView* list = listView(form);
        const int columnsWidth = list->header()->length();
        const auto scrollBarShown = [&](int width) {
            form.resize(width, form.height());
            idle();
            return list->horizontalScrollBar()->isVisible();
        };
        QVERIFY(!scrollBarShown(columnsWidth + 200));
        QVERIFY(scrollBarShown(form.minimumWidth()));
        QVERIFY(list->viewport()->width() < columnsWidth);
        QVERIFY(!scrollBarShown(columnsWidth + 200));
    }
    // Rows added once the window is shown, as a start's own files come, leave short columns within the list.
    MainWindow form(iniPath(), formats);
    showActive(form);
    addThroughDialog(form, {folder->makeFile("a.txt"), folder->makeFile("b.jpg")});
    idle();
    const FileListView* list = listView(form);
    QVERIFY(list->header()->length() <= list->viewport()->width());
}

void FileListTest::dialogRefusesNetworkAndCdRomDrives()
{
    // Only the first chosen file's drive decides; a refusal adds nothing at all.
    MainWindow form(iniPath(), formats);
    FakePlatform platform;
    platform.setDrive("/net/mapped/", DriveType::Network, "//server/share");
    platform.setDrive("/net/plain/", DriveType::Network);
    platform.setDrive("/cd/", DriveType::CdRom);
    for (const char* path : {"/net/mapped/a", "/net/plain/a", "/cd/a", "/data/a"})
        platform.addEntry(path, 0, 0, 0);

    addThroughDialog(form, {"/net/mapped/a", "/data/a"});
    addThroughDialog(form, {"/net/plain/a"});
    addThroughDialog(form, {"/cd/a"});
    QCOMPARE(boxes.size(), std::size_t{3});
    QCOMPARE(
        boxes[0].text,
        std::string("You have selected files from the Network drive \"//server/share\", mapped to \"/net/mapped/\" "
                    "on your system. Stampkeep only works with files on local drives. Please run Stampkeep on "
                    "the machine that contains the drive identified as \"//server/share\"."));
    QCOMPARE(boxes[1].text,
             std::string("You have selected files from the Network drive \"/net/plain/\". Stampkeep only works with "
                         "files on local drives. Please run Stampkeep on the machine that contains the drive "
                         "identified as \"/net/plain/\"."));
    QCOMPARE(boxes[2].text, std::string("You have selected files from the CD-ROM drive \"/cd/\". Stampkeep cannot "
                                        "modify files on a CD-ROM."));
    QCOMPARE(form.fileList().rowCount(), 0);

    addThroughDialog(form, {"/data/a", "/cd/a"});
    QCOMPARE(form.fileList().rowCount(), 2);
    QCOMPARE(boxes.size(), std::size_t{3});
}

void FileListTest::sortingByColumns()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    // A base stamp well inside one 2^32 span, so that the half-second rule applies to its neighbours.
    const FileTime base = ((kUnixEpoch + 10'000'000ull * 1'600'000'000) & ~FileTime{0xFFFFFFFF}) + 100'000'000;
    const std::pair<const char*, FileTime> files[] = {
        {"b.txt", base},
        {"A.txt", base},
        {"e.txt", base + 3'000'000}, // 0.3 s later: the same Modified stamp for sorting
        {"c.txt", base + 50'000'000},
        {"d.txt", base - 50'000'000},
        {"sub/a2.txt", base + 100'000'000},
    };
    std::vector<std::string> paths;
    for (const auto& [name, stamp] : files) {
        paths.push_back(folder->makeFile(name));
        setModified(paths.back(), stamp);
    }
    addThroughDialog(form, paths);
    selectRows(form, {0});

    QHeaderView* header = listView(form)->header();
    const auto click = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
    };
    const auto marks = [&] {
        QList<int> images;
        for (int column = 0; column < FileListModel::ColumnCount; ++column)
            images.push_back(form.fileList().headerImage(column));
        return images;
    };

    click(FileListModel::ColModified);
    QCOMPARE(listedNames(form), QStringList({"d.txt", "A.txt", "b.txt", "e.txt", "c.txt", "a2.txt"}));
    QCOMPARE(marks(), QList<int>({0, 4, 0, 0, 0}));
    // The selection travels with its row.
    QCOMPARE(selectedRows(form), std::vector<int>({2}));

    click(FileListModel::ColModified);
    QCOMPARE(listedNames(form), QStringList({"a2.txt", "c.txt", "e.txt", "b.txt", "A.txt", "d.txt"}));
    QCOMPARE(marks(), QList<int>({0, 5, 0, 0, 0}));

    click(FileListModel::ColFilename);
    QCOMPARE(listedNames(form), QStringList({"A.txt", "a2.txt", "b.txt", "c.txt", "d.txt", "e.txt"}));
    QCOMPARE(marks(), QList<int>({4, 0, 0, 0, 0}));

    click(FileListModel::ColPath);
    QCOMPARE(listedNames(form), QStringList({"A.txt", "b.txt", "c.txt", "d.txt", "e.txt", "a2.txt"}));
    QCOMPARE(marks(), QList<int>({0, 0, 0, 0, 4}));
}

void FileListTest::movingUpAndDown()
{
    MainWindow form(iniPath(), formats);
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c", "d"})
        paths.push_back(folder->makeFile(name));
    addThroughDialog(form, paths);
    auto* up = form.findChild<QAction*>("acItemUp");
    auto* down = form.findChild<QAction*>("acItemDown");
    const auto enabling = [&] {
        idle();
        return std::make_pair(up->isEnabled(), down->isEnabled());
    };

    // Both need exactly one selected row; neither leaves the list.
    QCOMPARE(enabling(), std::make_pair(false, false)); // all four selected
    selectRows(form, {});
    QCOMPARE(enabling(), std::make_pair(false, false));
    selectRows(form, {0});
    QCOMPARE(enabling(), std::make_pair(false, true));
    selectRows(form, {3});
    QCOMPARE(enabling(), std::make_pair(true, false));
    selectRows(form, {1});
    QCOMPARE(enabling(), std::make_pair(true, true));

    listView(form)->header()->sectionClicked(FileListModel::ColFilename);
    QCOMPARE(form.fileList().headerImage(FileListModel::ColFilename), FileListModel::kHeaderAscending);
    selectRows(form, {2});
    trigger(form, "acItemUp");
    QCOMPARE(listedNames(form), QStringList({"a", "c", "b", "d"}));
    QCOMPARE(selectedRows(form), std::vector<int>({1}));
    QCOMPARE(listView(form)->currentIndex().row(), 1);
    QCOMPARE(form.fileList().headerImage(FileListModel::ColFilename), FileListModel::kHeaderPlain);
    trigger(form, "acItemDown");
    trigger(form, "acItemDown");
    QCOMPARE(listedNames(form), QStringList({"a", "b", "d", "c"}));
    QCOMPARE(selectedRows(form), std::vector<int>({3}));

    // Re-adding the moved file refreshes it where it now is.
    form.fileList().setRowImage(3, FileListModel::ImageTouchFailed);
    addThroughDialog(form, {paths[2]});
    QCOMPARE(listedNames(form), QStringList({"a", "b", "d", "c"}));
    QCOMPARE(form.fileList().rowImage(3), int(FileListModel::ImageListed));
    QCOMPARE(form.fileList().findPath(paths[2]), 3);
}

void FileListTest::removingClearingAndSelectingAll()
{
    MainWindow form(iniPath(), formats);
    auto* remove = form.findChild<QAction*>("acRemove");
    auto* clear = form.findChild<QAction*>("acClear");
    auto* selectAll = form.findChild<QAction*>("acSelAll");
    idle();
    QVERIFY(!remove->isEnabled() && !clear->isEnabled() && !selectAll->isEnabled());

    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c", "d"})
        paths.push_back(folder->makeFile(name));
    addThroughDialog(form, paths);
    selectRows(form, {});
    idle();
    QVERIFY(!remove->isEnabled() && clear->isEnabled() && selectAll->isEnabled());

    selectRows(form, {1, 3});
    trigger(form, "acRemove");
    QCOMPARE(listedNames(form), QStringList({"a", "c"}));
    QCOMPARE(form.fileList().findPath(paths[1]), -1);
    QCOMPARE(form.fileList().findPath(paths[2]), 1);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 2 files, 0 selected."));
    addThroughDialog(form, {paths[1]});
    QCOMPARE(listedNames(form), QStringList({"a", "c", "b"}));

    selectRows(form, {});
    trigger(form, "acSelAll");
    QCOMPARE(selectedRows(form), std::vector<int>({0, 1, 2}));
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 3 files, 3 selected."));

    trigger(form, "acClear");
    QCOMPARE(form.fileList().rowCount(), 0);
    QCOMPARE(form.fileList().findPath(paths[0]), -1);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));
    idle();
    QVERIFY(!remove->isEnabled() && !clear->isEnabled() && !selectAll->isEnabled());
}

void FileListTest::rowAppearance()
{
    // What a row shows beyond its texts: italics for folders, the status text as the tip of a touched row.
    MainWindow form(iniPath(), formats);
    const std::string folderPath = folder->makeFolder("folder");
    const std::string file = folder->makeFile("file");
    addThroughDialog(form, {folderPath, file});
    FileListModel& files = form.fileList();
    QVERIFY(files.index(0, FileListModel::ColPath).data(Qt::FontRole).value<QFont>().italic());
    QVERIFY(!files.index(1, FileListModel::ColFilename).data(Qt::FontRole).value<QFont>().italic());

    files.object(1).StatusText = "line one\r\nline two";
    QVERIFY(!files.index(1, 0).data(Qt::ToolTipRole).isValid());
    files.setRowImage(1, FileListModel::ImageTouchFailed);
    QCOMPARE(files.index(1, 0).data(Qt::ToolTipRole).toString(), QString("Touched status:\nline one\nline two"));
    files.setRowImage(1, FileListModel::ImageUndoFailed);
    QCOMPARE(files.index(1, 0).data(Qt::ToolTipRole).toString(), QString("Undo status:\nline one\nline two"));
}

void FileListTest::popupMenuOffersTheListCommands()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    auto* menu = form.findChild<QMenu*>("pmList");
    QVERIFY(menu);
    QStringList items;
    for (QAction* action : menu->actions())
        items.push_back(action->isSeparator() ? "-" : action->objectName());
    QCOMPARE(items, QStringList({"acSelect", "acRemove", "acClear", "-", "acItemUp", "acItemDown", "acSelAll"}));
    listView(form)->customContextMenuRequested(QPoint(10, 10));
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

void FileListTest::keysAndButtons()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c"})
        paths.push_back(folder->makeFile(name));
    setNextFileDialogAnswer(toQStringList(paths));
    idle();
    FileListView* list = listView(form);
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(listedNames(form), QStringList({"a", "b", "c"}));

    selectRows(form, {0});
    idle();
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(listedNames(form), QStringList({"b", "a", "c"}));
    idle();
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(listedNames(form), QStringList({"a", "b", "c"}));
    idle();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(listedNames(form), QStringList({"b", "c"}));
    idle();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selectedRows(form), std::vector<int>({0, 1}));
    idle();
    QTest::mouseClick(form.findChild<QToolButton*>("tbClear"), Qt::LeftButton);
    QCOMPARE(form.fileList().rowCount(), 0);
}

void FileListTest::dropFromNetworkDrivesAndALocalFolder()
{
    MainWindow form(iniPath(), formats);
    FakePlatform platform;
    platform.setDrive("/mnt/b/", DriveType::Network, "//server/b");
    platform.setDrive("/mnt/a/", DriveType::Network);
    platform.addEntry("/data/listed", 0, 0, 0);
    platform.addEntry("/data/local.txt", 0, 0, 0);
    platform.addEntry("/data/folder", kAttrDirectory, 0, 0);
    form.AddFile("/data/listed", EntrySnapshot{});
    listView(form)->header()->sectionClicked(FileListModel::ColFilename);
    QHeaderView* header = listView(form)->header();
    header->resizeSection(FileListModel::ColPath, 3);
    selectRows(form, {});

    dropUris(form,
             {"file:///mnt/b/one.txt", "file:///mnt/a/two.txt", "file:///mnt/b/three.txt", "file:///data/local.txt",
              "file:///data/folder", "file:///data/vanished.txt", "https://example.com/data/local.txt"});
    // One message for the drop, each drive once, sorted, in the plural.
    QTRY_COMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, std::string("You have selected one or more files from the following Network drives:\r\n"
                                        "\t//server/b (mapped to /mnt/b/)\r\n\t/mnt/a/\r\n\r\n"
                                        "Stampkeep only works with files on local drives. Please run Stampkeep on the "
                                        "machine that contains the drives listed above."));
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QVERIFY(hourglassAtBox[0]);
    // The new rows come at the end and are selected; the sort mark stays; the columns fit the new rows.
    QCOMPARE(listedNames(form), QStringList({"listed", "local.txt", "folder"}));
    QCOMPARE(selectedRows(form), std::vector<int>({1, 2}));
    QCOMPARE(form.fileList().headerImage(FileListModel::ColFilename), FileListModel::kHeaderAscending);
    QVERIFY(header->sectionSize(FileListModel::ColPath) > 3);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // A single network drive takes the singular.
    dropUris(form, {"file:///mnt/a/x", "file:///data/listed"});
    QTRY_COMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(boxes[1].text, std::string("You have selected one or more files from the following Network drive:\r\n"
                                        "\t/mnt/a/\r\n\r\nStampkeep only works with files on local drives. Please "
                                        "run Stampkeep on the machine that contains the drive listed above."));
    QCOMPARE(form.fileList().rowCount(), 3);
}

void FileListTest::dropFromCdRomDrives()
{
    MainWindow form(iniPath(), formats);
    FakePlatform platform;
    platform.setDrive("/media/cd1/", DriveType::CdRom);
    platform.setDrive("/media/cd2/", DriveType::CdRom);
    platform.setDrive("/mnt/net/", DriveType::Network);
    platform.addEntry("/data/a", 0, 0, 0);

    dropUris(form, {"file:///media/cd1/a", "file:///media/cd1/b", "file:///data/a"});
    QTRY_COMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, std::string("You have selected one or more files from the CD-ROM drive /media/cd1/. "
                                        "Stampkeep cannot modify files on a CD-ROM."));
    QCOMPARE(form.fileList().rowCount(), 1);

    // The network message comes first, then the drives joined by a comma and a blank.
    dropUris(form, {"file:///media/cd2/a", "file:///mnt/net/a", "file:///media/cd1/a"});
    QTRY_COMPARE(boxes.size(), std::size_t{3});
    QVERIFY(boxes[1].text.find("Network drive:") != std::string::npos);
    QCOMPARE(boxes[2].text, std::string("You have selected one or more files from the CD-ROM drives /media/cd1/, "
                                        "/media/cd2/. Stampkeep cannot modify files on a CD-ROM."));
}

void FileListTest::draggingARowInsideTheList()
{
    // Drags inside the list cannot run offscreen, so the view's signals stand in for it: the drag starts, passes
    // over rows and ends in a drop, marked as coming from the list itself.
    MainWindow form(iniPath(), formats);
    showActive(form);
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c", "d"})
        paths.push_back(folder->makeFile(name));
    addThroughDialog(form, paths);
    FileListView* list = listView(form);
    QMimeData data;
    const auto drag = [&](std::initializer_list<QPoint> over) {
        list->dragStarted();
        QPoint last;
        for (const QPoint& pos : over) {
            QDragMoveEvent move(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            list->dragOver(&move, true);
            if (!move.isAccepted())
                return false;
            last = pos;
        }
        QDropEvent drop(last, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        list->dragDrop(&drop, true);
        return true;
    };

    list->header()->sectionClicked(FileListModel::ColFilename);
    selectRows(form, {0});
    QVERIFY(drag({rowCentre(form, 1), rowCentre(form, 2)}));
    QCOMPARE(listedNames(form), QStringList({"b", "c", "a", "d"}));
    QCOMPARE(form.fileList().findPath(paths[0]), 2);
    QCOMPARE(form.fileList().headerImage(FileListModel::ColFilename), FileListModel::kHeaderPlain);

    selectRows(form, {3});
    QVERIFY(drag({rowCentre(form, 1)}));
    QCOMPARE(listedNames(form), QStringList({"b", "d", "c", "a"}));

    selectRows(form, {1});
    QVERIFY(drag({rowCentre(form, 1)}));
    QCOMPARE(listedNames(form), QStringList({"b", "d", "c", "a"}));

    // Over empty space the row last marked is the target; only the first selected row moves.
    selectRows(form, {0, 3});
    const QPoint below(rowCentre(form, 0).x(), list->viewport()->height() - 2);
    QVERIFY(!list->indexAt(below).isValid());
    QVERIFY(drag({rowCentre(form, 2), below}));
    QCOMPARE(listedNames(form), QStringList({"d", "c", "b", "a"}));
    QCOMPARE(selectedRows(form), std::vector<int>({2, 3}));
    QCOMPARE(list->currentIndex().row(), 2);

    // Nothing selected: nothing to drag.
    selectRows(form, {});
    QVERIFY(!drag({rowCentre(form, 1)}));
}

// A name whose bytes are no text is listed byte for byte, whether the dialog or a file manager hands it over.
void FileListTest::namesThatAreNoTextKeepTheirBytes()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    const std::string odd = folder->makeFile("bad\xFF\xFEname.txt");
    const std::string plain = folder->makeFile("plain.txt");
    folder->makeFile("other.txt");
    // Answered as the dialog answers: the names as text, each such byte a replacement character.
    addThroughDialog(form, {odd, plain});
    QCOMPARE(listedPaths(form), (std::vector<std::string>{odd, plain}));

    // A file manager escapes the bytes; a file of another host is not ours to change.
    trigger(form, "acClear");
    const QString at = QString::fromLatin1(QByteArray::fromStdString(folder->path()).toPercentEncoding("/"));
    dropUris(form, {"# dropped", "file://" + at + "/bad%FF%FEname.txt", "file://localhost" + at + "/plain.txt",
                    "file://elsewhere" + at + "/other.txt"});
    QCOMPARE(listedPaths(form), (std::vector<std::string>{odd, plain}));
    QVERIFY(boxes.empty());
}

// Line breaks, terminal controls and a right-to-left override in a file's or its folder's name show as the report
// writes them, neither dropped nor obeyed.
void FileListTest::controlCharactersInNamesShowAsEscapes()
{
    FileListModel files(formats);
    files.AddFile(*folder / "two\nlines/evil\xe2\x80\xaegpj.exe\r\x1b", EntrySnapshot{});
    const auto shown = [&](int column) { return files.index(0, column).data().toString(); };
    QCOMPARE(shown(FileListModel::ColFilename), QString("evil\\u202egpj.exe\\r\\x1b"));
    QCOMPARE(shown(FileListModel::ColPath), QString::fromStdString(folder->path()) + "/two\\nlines");
}

QTEST_MAIN(FileListTest)
#include "filelist_test.moc"
