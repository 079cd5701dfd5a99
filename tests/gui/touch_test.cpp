// Touch, undo and reset of the selected rows, checked on real files.
#include "core/inifile.h"
#include "core/presets.h"
#include "core/stamps.h"
#include "core/touchedfile.h"
#include "fake/entrysetup.h"
#include "fake/fakerecordeddate.h"
#include "gui/windowfixture.h"
#include "platform/filetime.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"
#include "winutil/qtdatetime.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {

// What a user can see of an entry, its change time apart: every mode bit, Modified to the nanosecond, Created, and
// each extended attribute with its bytes (as `getfattr -d` lists them).
struct EntryState
{
    unsigned mode = 0;
    std::int64_t modifiedSeconds = 0;
    std::uint32_t modifiedNanoseconds = 0;
    FileTime created = 0;
    std::map<std::string, std::string> attributes;

    bool operator==(const EntryState&) const = default;
};

EntryState entryState(const std::string& path)
{
    EntryState state;
    struct statx status
    {
    };
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_MODE | STATX_MTIME, &status) != 0)
        return state;
    state.mode = status.stx_mode & 07777;
    state.modifiedSeconds = status.stx_mtime.tv_sec;
    state.modifiedNanoseconds = status.stx_mtime.tv_nsec;
    state.created = currentPlatform().readEntry(path).value_or(EntryInfo{}).created;
    std::string names(4096, '\0');
    names.resize(static_cast<std::size_t>(std::max<ssize_t>(llistxattr(path.c_str(), names.data(), names.size()), 0)));
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
        std::string value(4096, '\0');
        const ssize_t size = lgetxattr(path.c_str(), names.c_str() + at, value.data(), value.size());
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
        state.attributes[names.c_str() + at] = value;
    }
    return state;
}

QByteArray describe(const EntryState& state)
{
    QByteArray text = QByteArray::number(state.mode, 8) + " " + QByteArray::number(state.modifiedSeconds) + "." +
                      QByteArray::number(state.modifiedNanoseconds) + " created " + QByteArray::number(state.created);
    for (const auto& [name, value] : state.attributes)
        text += " " + QByteArray::fromStdString(name) + "=" + QByteArray::fromStdString(value).toHex();
    return text;
}

// The process's umask for one scope.
class UmaskScope
{
public:
    explicit UmaskScope(mode_t mask) : saved(umask(mask)) {}
    ~UmaskScope() { umask(saved); }

private:
    mode_t saved;
};

void setModifiedExactly(const std::string& path, const timespec& when)
{
    const timespec times[2] = {{0, UTIME_OMIT}, when};
    QCOMPARE(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

void setCreated(const std::string& path, const QDateTime& when)
{
    const FileTime stamp = LocalToStamp(dateTimeToSerial(when));
    QCOMPARE(setStamps(path, stamp, std::nullopt), std::string());
}

// The Created stamp as the file now has it on disk.
QDateTime diskCreated(const std::string& path)
{
    FileTime created = 0;
    FileTime modified = 0;
    if (!GetFileStamps(path, created, modified))
        return {};
    return serialToDateTime(StampToLocal(created));
}

} // namespace

class TouchTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void enablingRules();
    void displayedDateAndTimeLandExactly();
    void onlyTimeOrOnlyDateKeepsEachFilesOwnPart();
    void sequenceCarriesPastMidnight();
    void sequenceStepsOverSelectedRowsAndFailures();
    void sequenceStepFollowsTheLists();
    void otherStampsSwap();
    void attributeMasks();
    void recordedDateFromAPreset();
    void failureMessageCountsFiles();
    void runEndsBusyEvenWhenItThrows();
    void undo();
    void undoPutsFilesBackExactly();
    void clockStampsHaveWholeSeconds();
    void failedChangeIsNotRetried();
    void resetKeepsThePickers();

private:
    int listFile(MainWindow& form, const std::string& path);
    void selectRows(MainWindow& form, std::initializer_list<int> rows);
    void press(MainWindow& form, const char* name) { find<QAction>(form, name)->setChecked(true); }
    void setClock(MainWindow& form, const QDateTime& when);
};

int TouchTest::listFile(MainWindow& form, const std::string& path)
{
    return form.fileList().AddFile(path, listedState(path));
}

void TouchTest::selectRows(MainWindow& form, std::initializer_list<int> rows)
{
    auto* list = find<QTreeView>(form, "lvMain");
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TouchTest::setClock(MainWindow& form, const QDateTime& when)
{
    find<QDateEdit>(form, "DTDateMod")->setDateTime(when);
    find<QTimeEdit>(form, "DTTimeMod")->setDateTime(when);
}

void TouchTest::enablingRules()
{
    MainWindow form(iniPath(), formats);
    auto* apply = find<QAction>(form, "acApply");
    auto* undo = find<QAction>(form, "acUndoTouch");
    listFile(form, makeFile("a.txt", local(2000, 1, 1, 12, 0, 0)));

    // Nothing selected: no touch and no undo, however the panel is set.
    press(form, "acModFmCre");
    idle();
    QVERIFY(!apply->isEnabled());
    QVERIFY(!undo->isEnabled());

    // Selected, but no source or attribute button down: undo only.
    find<QAction>(form, "acModFmCre")->setChecked(false);
    selectRows(form, {0});
    idle();
    QVERIFY(undo->isEnabled());
    QVERIFY(!apply->isEnabled());
    press(form, "acRMinus");
    idle();
    QVERIFY(apply->isEnabled());

    // Busy: every command and button of the panel waits, the sequence check excepted.
    form.busyState().setBusy(true);
    for (const char* name :
         {"acApply", "acUndoTouch", "acSelect", "acReset", "acNow", "acClkFmFile", "acZerSec", "acZerMin", "acModFmClk",
          "acModFmFld", "acCreFmMod", "acAPlus", "acRMinus", "acDate", "acTime"})
        QVERIFY2(!find<QAction>(form, name)->isEnabled(), name);
    QVERIFY(!find<QToolButton>(form, "tbPre1")->isEnabled());
    QVERIFY(!find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
    QVERIFY(find<QAction>(form, "acSeq")->isEnabled());
    form.busyState().setBusy(false);
    QVERIFY(apply->isEnabled());
    QVERIFY(find<QToolButton>(form, "tbPre1")->isEnabled());
    QVERIFY(find<QDateEdit>(form, "DTDateMod")->isEnabled());
}

void TouchTest::displayedDateAndTimeLandExactly()
{
    const std::string path = makeFile("report.doc", local(1999, 1, 2, 8, 0, 0));
    const QDateTime created = diskCreated(path);
    MainWindow form(iniPath(), formats);
    showActive(form);
    listFile(form, path);
    selectRows(form, {0});
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    press(form, "acModFmClk");

    // The keyboard runs the touch as the button does.
    idle();
    QVERIFY(find<QAction>(form, "acApply")->isEnabled());
    QTest::keyClick(&form, Qt::Key_Return, Qt::ControlModifier);
    QTRY_COMPARE(diskModified(path), local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(diskCreated(path), created);
    QVERIFY(boxes.empty());

    const FileListModel& files = form.fileList();
    QCOMPARE(files.rowImage(0), int(FileListModel::ImageTouched));
    QCOMPARE(files.data(files.index(0, FileListModel::ColModified), Qt::DisplayRole).toString(),
             QString::fromStdString(StampText(formats, dateTimeToSerial(local(2001, 5, 6, 13, 14, 15)))));
    QVERIFY(files.data(files.index(0, 0), Qt::ToolTipRole).toString().contains("Modified date/time changed"));
}

void TouchTest::onlyTimeOrOnlyDateKeepsEachFilesOwnPart()
{
    const std::string early = makeFile("early.txt", local(1999, 1, 2, 8, 0, 0));
    const std::string late = makeFile("late.txt", local(2003, 4, 5, 18, 30, 0));
    const std::string early2 = makeFile("early2.txt", local(1999, 1, 2, 8, 0, 0));
    const std::string late2 = makeFile("late2.txt", local(2003, 4, 5, 18, 30, 0));
    MainWindow form(iniPath(), formats);
    for (const std::string& path : {early, late, early2, late2})
        listFile(form, path);
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    press(form, "acModFmClk");

    // Only the time included: each file keeps its date.
    selectRows(form, {0, 1});
    trigger(form, "acDate");
    trigger(form, "acApply");
    QCOMPARE(diskModified(early), local(1999, 1, 2, 13, 14, 15));
    QCOMPARE(diskModified(late), local(2003, 4, 5, 13, 14, 15));

    // Only the date included: each file keeps its time of day.
    find<QTreeView>(form, "lvMain")->clearSelection();
    selectRows(form, {2, 3});
    trigger(form, "acDate");
    trigger(form, "acTime");
    trigger(form, "acApply");
    QCOMPARE(diskModified(early2), local(2001, 5, 6, 8, 0, 0));
    QCOMPARE(diskModified(late2), local(2001, 5, 6, 18, 30, 0));
}

void TouchTest::sequenceCarriesPastMidnight()
{
    std::vector<std::string> paths;
    MainWindow form(iniPath(), formats);
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        listFile(form, paths.emplace_back(makeFile(name, local(2000, 1, 1, 0, 0, 0))));
    selectRows(form, {0, 1, 2});
    setClock(form, local(2001, 5, 6, 23, 59, 55));
    find<QComboBox>(form, "comSeqN")->setCurrentText("10");
    press(form, "acModFmClk");
    trigger(form, "acSeq");
    trigger(form, "acApply");
    QCOMPARE(diskModified(paths[0]), local(2001, 5, 6, 23, 59, 55));
    QCOMPARE(diskModified(paths[1]), local(2001, 5, 7, 0, 0, 5));
    QCOMPARE(diskModified(paths[2]), local(2001, 5, 7, 0, 0, 15));
}

void TouchTest::sequenceStepsOverSelectedRowsAndFailures()
{
    const QDateTime before = local(2000, 1, 1, 0, 0, 0);
    const std::string first = makeFile("a.txt", before);
    const std::string skipped = makeFile("b.txt", before);
    const std::string vanished = makeFile("c.txt", before);
    const std::string last = makeFile("d.txt", before);
    MainWindow form(iniPath(), formats);
    for (const std::string& path : {first, skipped, vanished, last})
        listFile(form, path);
    QVERIFY(QFile::remove(QString::fromStdString(vanished)));
    selectRows(form, {0, 2, 3});
    setClock(form, local(2001, 5, 6, 12, 0, 0));
    find<QComboBox>(form, "comSeqN")->setCurrentText("10");
    press(form, "acModFmClk");
    trigger(form, "acSeq");
    trigger(form, "acApply");

    // The unselected row takes no step; the failed one does.
    QCOMPARE(diskModified(first), local(2001, 5, 6, 12, 0, 0));
    QCOMPARE(diskModified(skipped), before);
    QCOMPARE(diskModified(last), local(2001, 5, 6, 12, 0, 20));
    QCOMPARE(boxes.size(), std::size_t{1});
}

void TouchTest::sequenceStepFollowsTheLists()
{
    // The step always matches what the lists show: at creation from fresh settings ("1" "sec", not the 60 it
    // starts from) and from stored ones, and after every change.
    std::vector<std::string> paths;
    for (const char* name : {"1.txt", "2.txt"})
        paths.push_back(makeFile(name, local(2000, 1, 1, 0, 0, 0)));
    const auto touchBoth = [&](MainWindow& form) {
        for (const std::string& path : paths)
            listFile(form, path);
        selectRows(form, {0, 1});
        setClock(form, local(2001, 5, 6, 12, 0, 0));
        press(form, "acModFmClk");
        find<QAction>(form, "acSeq")->setChecked(true);
        trigger(form, "acApply");
    };
    {
        MainWindow fresh(iniPath(), formats);
        touchBoth(fresh);
        QCOMPARE(diskModified(paths[1]), local(2001, 5, 6, 12, 0, 1));
    }
    {
        IniFile ini(iniPath());
        ini.writeInteger("Settings", "SeqNumber", 4);
        ini.writeInteger("Settings", "SeqUnit", 1);
    }
    MainWindow form(iniPath(), formats);
    touchBoth(form);
    QCOMPARE(diskModified(paths[1]), local(2001, 5, 6, 12, 20, 0));

    find<QComboBox>(form, "comSeqN")->setCurrentText("30");
    find<QComboBox>(form, "comSeqU")->setCurrentText("sec");
    trigger(form, "acApply");
    QCOMPARE(diskModified(paths[1]), local(2001, 5, 6, 12, 0, 30));
}

void TouchTest::otherStampsSwap()
{
    const std::string path = makeFile("swap.txt", local(2003, 4, 5, 18, 30, 0));
    setCreated(path, local(1999, 1, 2, 8, 0, 0));
    MainWindow form(iniPath(), formats);
    listFile(form, path);
    selectRows(form, {0});
    press(form, "acModFmCre");
    press(form, "acCreFmMod");
    trigger(form, "acApply");
    QVERIFY(boxes.empty());
    QCOMPARE(diskModified(path), local(1999, 1, 2, 8, 0, 0));
    QCOMPARE(diskCreated(path), local(2003, 4, 5, 18, 30, 0));
}

// A preset's recorded-date code presses the panel's buttons; a file without a recorded date keeps its stamps and
// counts in the failure message.
void TouchTest::recordedDateFromAPreset()
{
    FakeRecordedDateReader reader;
    const std::string photo = makeFile("photo.jpg", local(2020, 1, 1, 0, 0, 0));
    const std::string notes = makeFile("notes.txt", local(2020, 1, 1, 0, 0, 0));
    reader.dates[photo] = LocalToStamp(dateTimeToSerial(local(2019, 8, 9, 10, 11, 12)));
    IniFile ini(iniPath());
    ini.writeBool("Preset1", "Enabled", true);
    ini.writeInteger("Preset1", "Mod", kSourceRecorded);
    ini.writeInteger("Preset1", "Cre", kSourceRecorded);
    MainWindow form(iniPath(), formats);
    trigger(form, "preA1");
    QVERIFY(find<QAction>(form, "acModFmRec")->isChecked());
    QVERIFY(find<QAction>(form, "acCreFmRec")->isChecked());

    listFile(form, photo);
    listFile(form, notes);
    selectRows(form, {0, 1});
    trigger(form, "acApply");
    QCOMPARE(boxes.size(), std::size_t{1});
    QVERIFY(boxes[0].text.starts_with("Stampkeep was unable to touch 1 of 2 files."));
    QCOMPARE(diskModified(photo), local(2019, 8, 9, 10, 11, 12));
    QCOMPARE(diskCreated(photo), local(2019, 8, 9, 10, 11, 12));
    QCOMPARE(diskModified(notes), local(2020, 1, 1, 0, 0, 0));
}

void TouchTest::attributeMasks()
{
    const std::string path = makeFile("attrs.txt", local(2000, 1, 1, 0, 0, 0));
    QCOMPARE(setAttributes(path, kAttrArchive | kAttrHidden), std::string());
    // A file already read-only loses its archive bit and stays read-only, its mode untouched.
    const std::string readOnly = makeFile("ro.txt", local(2000, 1, 1, 0, 0, 0));
    QCOMPARE(setAttributes(readOnly, kAttrArchive | kAttrReadOnly), std::string());
    const QFile::Permissions readOnlyMode = QFileInfo(QString::fromStdString(readOnly)).permissions();
    MainWindow form(iniPath(), formats);
    listFile(form, path);
    listFile(form, readOnly);
    selectRows(form, {0, 1});
    press(form, "acRPlus");
    press(form, "acAminus");
    trigger(form, "acApply");
    QVERIFY(boxes.empty());
    QCOMPARE(currentPlatform().readEntry(path)->attrs, kAttrHidden | kAttrReadOnly);
    QCOMPARE(currentPlatform().readEntry(readOnly)->attrs, kAttrReadOnly);
    QCOMPARE(QFileInfo(QString::fromStdString(readOnly)).permissions(), readOnlyMode);
    const FileListModel& files = form.fileList();
    QCOMPARE(files.data(files.index(0, FileListModel::ColAttr), Qt::DisplayRole).toString(), QString("  HR "));
}

void TouchTest::failureMessageCountsFiles()
{
    const QDateTime before = local(2000, 1, 1, 0, 0, 0);
    const std::string good = makeFile("good.txt", before);
    const std::string gone = makeFile("gone.txt", before);
    const std::string other = makeFile("other.txt", before);
    MainWindow form(iniPath(), formats);
    for (const std::string& path : {good, gone, other})
        listFile(form, path);
    QVERIFY(QFile::remove(QString::fromStdString(gone)));
    const FileListModel& files = form.fileList();
    const QString oldText = files.data(files.index(1, FileListModel::ColModified), Qt::DisplayRole).toString();
    selectRows(form, {0, 1, 2});
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    press(form, "acModFmClk");
    trigger(form, "acApply");

    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].caption, std::string("Stampkeep"));
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QCOMPARE(boxes[0].text, std::string("Stampkeep was unable to touch 1 of 3 files. A red icon indicates a problem "
                                        "file. Move the mouse over the red icon for more information."));
    QCOMPARE(diskModified(good), local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(diskModified(other), local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(files.rowImage(0), int(FileListModel::ImageTouched));
    QCOMPARE(files.rowImage(1), int(FileListModel::ImageTouchFailed));
    QCOMPARE(files.rowImage(2), int(FileListModel::ImageTouched));
    // The failed row keeps the stamp it still has and says why.
    QCOMPARE(files.data(files.index(1, FileListModel::ColModified), Qt::DisplayRole).toString(), oldText);
    // In the language of the process's locale, as the program writes it.
    const QString missingReason = QString::fromLocal8Bit(std::strerror(ENOENT));
    QVERIFY(files.data(files.index(1, 0), Qt::ToolTipRole).toString().contains(missingReason));

    // The only selected file failing: no plural.
    boxes.clear();
    find<QTreeView>(form, "lvMain")->clearSelection();
    selectRows(form, {1});
    trigger(form, "acApply");
    QCOMPARE(boxes.size(), std::size_t{1});
    QVERIFY(boxes[0].text.starts_with("Stampkeep was unable to touch 1 of 1 file. "));
}

void TouchTest::runEndsBusyEvenWhenItThrows()
{
    const std::string gone = makeFile("gone.txt", local(2000, 1, 1, 0, 0, 0));
    MainWindow form(iniPath(), formats);
    showActive(form);
    listFile(form, gone);
    QVERIFY(QFile::remove(QString::fromStdString(gone)));
    selectRows(form, {0});
    press(form, "acModFmClk");

    // The summary comes while the run is still busy; here it fails on top.
    bool busyDuringBox = false;
    setMessageBoxHandler([&](const MessageBoxRequest&) -> MessageResult {
        busyDuringBox = QApplication::overrideCursor() && !find<QAction>(form, "acUndoTouch")->isEnabled();
        throw std::runtime_error("box failed");
    });
    idle();
    QVERIFY(find<QAction>(form, "acApply")->isEnabled());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, find<QAction>(form, "acApply")->trigger());
    QVERIFY(busyDuringBox);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(find<QAction>(form, "acUndoTouch")->isEnabled());
    QVERIFY(find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 1 files, 1 selected."));
}

void TouchTest::undo()
{
    const QDateTime before = local(2000, 1, 1, 0, 0, 0);
    const std::string touched = makeFile("touched.txt", before);
    const std::string untouched = makeFile("untouched.txt", before);
    MainWindow form(iniPath(), formats);
    listFile(form, touched);
    listFile(form, untouched);
    selectRows(form, {0});
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    press(form, "acModFmClk");
    press(form, "acHPlus");
    trigger(form, "acApply");
    QCOMPARE(diskModified(touched), local(2001, 5, 6, 13, 14, 15));

    // Undo takes both back to the first-known state; a file never touched reports success and stays as it is.
    selectRows(form, {1});
    trigger(form, "acUndoTouch");
    QVERIFY(boxes.empty());
    QCOMPARE(diskModified(touched), before);
    QCOMPARE(currentPlatform().readEntry(touched)->attrs, 0u);
    QCOMPARE(diskModified(untouched), before);
    const FileListModel& files = form.fileList();
    QCOMPARE(files.rowImage(0), int(FileListModel::ImageListed));
    QCOMPARE(files.rowImage(1), int(FileListModel::ImageListed));
    QCOMPARE(files.data(files.index(0, FileListModel::ColModified), Qt::DisplayRole).toString(),
             QString::fromStdString(StampText(formats, dateTimeToSerial(before))));
}

// Undo puts every file back exactly as it was listed, under either usual umask: every mode bit (set-group-id too),
// Modified to the nanosecond although the touch moved it by less than half a second, Created, and the stored value,
// which goes again from a file that had none.
void TouchTest::undoPutsFilesBackExactly()
{
    for (const mode_t mask : {mode_t{002}, mode_t{022}}) {
        const UmaskScope scope(mask);
        const QDateTime shown = local(2001, 5, 6, 13, 14, 15);
        timespec listedTime = timespecFromFileTime(LocalToStamp(dateTimeToSerial(shown)));
        listedTime.tv_nsec = 298'992'382;
        const std::string prefix = "umask" + std::to_string(mask) + "-";
        const std::string shared = makeFile(prefix + "shared.txt", shown);
        const std::string setGroupId = makeFile(prefix + "setgid.txt", shown);
        const std::string plain = makeFile(prefix + "plain.txt", shown);
        QCOMPARE(setAttributes(shared, kAttrArchive), std::string());
        QCOMPARE(setAttributes(setGroupId, kAttrArchive | kAttrHidden), std::string());
        QCOMPARE(chmod(shared.c_str(), 0664), 0);
        QCOMPARE(chmod(setGroupId.c_str(), 02775), 0);
        std::vector<EntryState> before;
        for (const std::string& path : {shared, setGroupId, plain}) {
            setModifiedExactly(path, listedTime);
            before.push_back(entryState(path));
        }
        QVERIFY(before[2].attributes.empty());

        MainWindow form(iniPath(), formats);
        for (const std::string& path : {shared, setGroupId, plain})
            listFile(form, path);
        selectRows(form, {0, 1, 2});
        setClock(form, shown);
        press(form, "acModFmClk");
        press(form, "acRPlus");
        trigger(form, "acApply");
        QVERIFY(boxes.empty());
        for (const std::string& path : {shared, setGroupId, plain}) {
            const EntryState touched = entryState(path);
            QCOMPARE(touched.mode & 0222, 0u);
            QCOMPARE(touched.modifiedNanoseconds, 0u);
        }

        trigger(form, "acUndoTouch");
        QVERIFY(boxes.empty());
        int row = 0;
        for (const std::string& path : {shared, setGroupId, plain}) {
            const EntryState after = entryState(path);
            QVERIFY2(after == before[static_cast<std::size_t>(row)],
                     describe(after) + " != " + describe(before[static_cast<std::size_t>(row)]));
            QCOMPARE(form.fileList().rowImage(row++), int(FileListModel::ImageListed));
        }
    }
}

// A clock read carries milliseconds that the pickers do not show: the stamp gets the whole seconds shown.
void TouchTest::clockStampsHaveWholeSeconds()
{
    const std::string path = makeFile("now.txt", local(2000, 1, 1, 0, 0, 0));
    MainWindow form(iniPath(), formats);
    listFile(form, path);
    selectRows(form, {0});
    trigger(form, "acNow");
    setClock(form, local(2001, 5, 6, 13, 14, 15).addMSecs(517));
    QCOMPARE(find<QTimeEdit>(form, "DTTimeMod")->time().msec(), 517);
    press(form, "acModFmClk");
    trigger(form, "acApply");
    QVERIFY(boxes.empty());
    QCOMPARE(entryState(path).modifiedNanoseconds, 0u);
    QCOMPARE(diskModified(path), local(2001, 5, 6, 13, 14, 15));
}

// What failed in one touch is not tried again by the next, which does only what the panel asks for then.
void TouchTest::failedChangeIsNotRetried()
{
    const QDateTime before = local(2000, 1, 1, 0, 0, 0);
    const std::string good = makeFile("good.txt", before);
    const std::string away = makeFile("away.txt", before);
    MainWindow form(iniPath(), formats);
    for (const std::string& path : {good, away})
        listFile(form, path);
    QVERIFY(QFile::remove(QString::fromStdString(away)));
    find<QTreeView>(form, "lvMain")->selectAll();
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    press(form, "acModFmClk");
    trigger(form, "acApply");
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(form.fileList().rowImage(1), int(FileListModel::ImageTouchFailed));

    // The file is back when the user, now asking for hidden only, touches both again.
    makeFile("away.txt", before);
    find<QAction>(form, "acModFmClk")->setChecked(false);
    press(form, "acHPlus");
    trigger(form, "acApply");
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(diskModified(away), before);
    QCOMPARE(currentPlatform().readEntry(away)->attrs, kAttrHidden);
    QCOMPARE(form.fileList().rowImage(1), int(FileListModel::ImageTouched));
}

void TouchTest::resetKeepsThePickers()
{
    MainWindow form(iniPath(), formats);
    for (const char* name : {"acModFmCre", "acCreFmFld", "acAPlus", "acSMinus", "acHPlus", "acRMinus"})
        press(form, name);
    trigger(form, "acSeq");
    trigger(form, "acDate");
    setClock(form, local(2001, 5, 6, 13, 14, 15));
    find<QComboBox>(form, "comSeqN")->setCurrentIndex(3);

    trigger(form, "acReset");
    for (const char* name :
         {"acModFmClk", "acModFmCre", "acModFmFld", "acCreFmClk", "acCreFmMod", "acCreFmFld", "acAminus", "acAPlus",
          "acSMinus", "acSPlus", "acHMinus", "acHPlus", "acRMinus", "acRPlus", "acSeq"})
        QVERIFY2(!find<QAction>(form, name)->isChecked(), name);
    QVERIFY(find<QAction>(form, "acDate")->isChecked());
    QVERIFY(find<QAction>(form, "acTime")->isChecked());
    QVERIFY(find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(13, 14, 15));
    QCOMPARE(find<QComboBox>(form, "comSeqN")->currentIndex(), 3);
}

QTEST_MAIN(TouchTest)
#include "touch_test.moc"
