// Touch, undo and reset of the selected rows, checked on real files.
#include "core/inifile.h"
#include "core/skobju.h"
#include "core/tfuncs2.h"
#include "gui/windowfixture.h"
#include "window/filelistmodel.h"
#include "window/mainu.h"
#include "winutil/qtdatetime.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>

#include <stdexcept>

namespace {

void SetCreated(const std::string& path, const QDateTime& when)
{
    const FileTime stamp = LocalToStamp(DateTimeToSerial(when));
    QVERIFY(CurrentPlatform().OpenForStamps(path)->SetTimes(stamp, std::nullopt));
}

// The Created stamp as the file now has it on disk.
QDateTime DiskCreated(const std::string& path)
{
    FileTime created = 0;
    FileTime modified = 0;
    if (!GetFileStamps(path, created, modified))
        return {};
    return SerialToDateTime(StampToLocal(created));
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
    void failureMessageCountsFiles();
    void runEndsBusyEvenWhenItThrows();
    void undo();
    void resetKeepsThePickers();

private:
    int List(TMainForm& form, const std::string& path);
    void Select(TMainForm& form, std::initializer_list<int> rows);
    void Press(TMainForm& form, const char* name) { Find<QAction>(form, name)->setChecked(true); }
    void SetClock(TMainForm& form, const QDateTime& when);
};

int TouchTest::List(TMainForm& form, const std::string& path)
{
    FileTime created = 0;
    FileTime modified = 0;
    std::uint32_t attrs = 0;
    if (!GetFileStamps(path, created, modified, attrs))
        qWarning("cannot list %s", path.c_str());
    return form.Files().AddFile(path, created, modified, attrs);
}

void TouchTest::Select(TMainForm& form, std::initializer_list<int> rows)
{
    auto* list = Find<QTreeView>(form, "lvMain");
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TouchTest::SetClock(TMainForm& form, const QDateTime& when)
{
    Find<QDateEdit>(form, "DTDateMod")->setDateTime(when);
    Find<QTimeEdit>(form, "DTTimeMod")->setDateTime(when);
}

void TouchTest::enablingRules()
{
    TMainForm form(Ini());
    auto* apply = Find<QAction>(form, "acApply");
    auto* undo = Find<QAction>(form, "acUndoTouch");
    List(form, MakeFile("a.txt", Local(2000, 1, 1, 12, 0, 0)));

    // Nothing selected: no touch and no undo, however the panel is set.
    Press(form, "acModFmCre");
    Idle();
    QVERIFY(!apply->isEnabled());
    QVERIFY(!undo->isEnabled());

    // Selected, but no source or attribute button down: undo only.
    Find<QAction>(form, "acModFmCre")->setChecked(false);
    Select(form, {0});
    Idle();
    QVERIFY(undo->isEnabled());
    QVERIFY(!apply->isEnabled());
    Press(form, "acRMinus");
    Idle();
    QVERIFY(apply->isEnabled());

    // Busy: every command and button of the panel waits, the sequence check excepted.
    form.SetBusy(true);
    for (const char* name :
         {"acApply", "acUndoTouch", "acSelect", "acReset", "acNow", "acClkFmFile", "acZerSec", "acZerMin", "acModFmClk",
          "acModFmFld", "acCreFmMod", "acAPlus", "acRMinus", "acDate", "acTime"})
        QVERIFY2(!Find<QAction>(form, name)->isEnabled(), name);
    QVERIFY(!Find<QToolButton>(form, "tbPre1")->isEnabled());
    QVERIFY(!Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!Find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
    QVERIFY(Find<QAction>(form, "acSeq")->isEnabled());
    form.SetBusy(false);
    QVERIFY(apply->isEnabled());
    QVERIFY(Find<QToolButton>(form, "tbPre1")->isEnabled());
    QVERIFY(Find<QDateEdit>(form, "DTDateMod")->isEnabled());
}

void TouchTest::displayedDateAndTimeLandExactly()
{
    const std::string path = MakeFile("report.doc", Local(1999, 1, 2, 8, 0, 0));
    const QDateTime created = DiskCreated(path);
    TMainForm form(Ini());
    ShowActive(form);
    List(form, path);
    Select(form, {0});
    SetClock(form, Local(2001, 5, 6, 13, 14, 15));
    Press(form, "acModFmClk");

    // The keyboard runs the touch as the button does.
    Idle();
    QVERIFY(Find<QAction>(form, "acApply")->isEnabled());
    QTest::keyClick(&form, Qt::Key_Return, Qt::ControlModifier);
    QTRY_COMPARE(DiskModified(path), Local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(DiskCreated(path), created);
    QVERIFY(boxes.empty());

    const FileListModel& files = form.Files();
    QCOMPARE(files.RowImage(0), int(FileListModel::ImageTouched));
    QCOMPARE(files.data(files.index(0, FileListModel::ColModified), Qt::DisplayRole).toString(),
             QString::fromStdString(StampText(DateTimeToSerial(Local(2001, 5, 6, 13, 14, 15)))));
    QVERIFY(files.data(files.index(0, 0), Qt::ToolTipRole).toString().contains("Modified date/time changed"));
}

void TouchTest::onlyTimeOrOnlyDateKeepsEachFilesOwnPart()
{
    const std::string early = MakeFile("early.txt", Local(1999, 1, 2, 8, 0, 0));
    const std::string late = MakeFile("late.txt", Local(2003, 4, 5, 18, 30, 0));
    const std::string early2 = MakeFile("early2.txt", Local(1999, 1, 2, 8, 0, 0));
    const std::string late2 = MakeFile("late2.txt", Local(2003, 4, 5, 18, 30, 0));
    TMainForm form(Ini());
    for (const std::string& path : {early, late, early2, late2})
        List(form, path);
    SetClock(form, Local(2001, 5, 6, 13, 14, 15));
    Press(form, "acModFmClk");

    // Only the time included: each file keeps its date.
    Select(form, {0, 1});
    Trigger(form, "acDate");
    Trigger(form, "acApply");
    QCOMPARE(DiskModified(early), Local(1999, 1, 2, 13, 14, 15));
    QCOMPARE(DiskModified(late), Local(2003, 4, 5, 13, 14, 15));

    // Only the date included: each file keeps its time of day.
    Find<QTreeView>(form, "lvMain")->clearSelection();
    Select(form, {2, 3});
    Trigger(form, "acDate");
    Trigger(form, "acTime");
    Trigger(form, "acApply");
    QCOMPARE(DiskModified(early2), Local(2001, 5, 6, 8, 0, 0));
    QCOMPARE(DiskModified(late2), Local(2001, 5, 6, 18, 30, 0));
}

void TouchTest::sequenceCarriesPastMidnight()
{
    std::vector<std::string> paths;
    TMainForm form(Ini());
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        List(form, paths.emplace_back(MakeFile(name, Local(2000, 1, 1, 0, 0, 0))));
    Select(form, {0, 1, 2});
    SetClock(form, Local(2001, 5, 6, 23, 59, 55));
    Find<QComboBox>(form, "comSeqN")->setCurrentText("10");
    Press(form, "acModFmClk");
    Trigger(form, "acSeq");
    Trigger(form, "acApply");
    QCOMPARE(DiskModified(paths[0]), Local(2001, 5, 6, 23, 59, 55));
    QCOMPARE(DiskModified(paths[1]), Local(2001, 5, 7, 0, 0, 5));
    QCOMPARE(DiskModified(paths[2]), Local(2001, 5, 7, 0, 0, 15));
}

void TouchTest::sequenceStepsOverSelectedRowsAndFailures()
{
    const QDateTime before = Local(2000, 1, 1, 0, 0, 0);
    const std::string first = MakeFile("a.txt", before);
    const std::string skipped = MakeFile("b.txt", before);
    const std::string vanished = MakeFile("c.txt", before);
    const std::string last = MakeFile("d.txt", before);
    TMainForm form(Ini());
    for (const std::string& path : {first, skipped, vanished, last})
        List(form, path);
    QVERIFY(QFile::remove(QString::fromStdString(vanished)));
    Select(form, {0, 2, 3});
    SetClock(form, Local(2001, 5, 6, 12, 0, 0));
    Find<QComboBox>(form, "comSeqN")->setCurrentText("10");
    Press(form, "acModFmClk");
    Trigger(form, "acSeq");
    Trigger(form, "acApply");

    // The unselected row takes no step; the failed one does.
    QCOMPARE(DiskModified(first), Local(2001, 5, 6, 12, 0, 0));
    QCOMPARE(DiskModified(skipped), before);
    QCOMPARE(DiskModified(last), Local(2001, 5, 6, 12, 0, 20));
    QCOMPARE(boxes.size(), std::size_t{1});
}

void TouchTest::sequenceStepFollowsTheLists()
{
    // The step always matches what the lists show: at creation from fresh settings ("1" "sec", not the 60 it
    // starts from) and from stored ones, and after every change.
    std::vector<std::string> paths;
    for (const char* name : {"1.txt", "2.txt"})
        paths.push_back(MakeFile(name, Local(2000, 1, 1, 0, 0, 0)));
    const auto touchBoth = [&](TMainForm& form) {
        for (const std::string& path : paths)
            List(form, path);
        Select(form, {0, 1});
        SetClock(form, Local(2001, 5, 6, 12, 0, 0));
        Press(form, "acModFmClk");
        Find<QAction>(form, "acSeq")->setChecked(true);
        Trigger(form, "acApply");
    };
    {
        TMainForm fresh(Ini());
        touchBoth(fresh);
        QCOMPARE(DiskModified(paths[1]), Local(2001, 5, 6, 12, 0, 1));
    }
    {
        IniFile ini(Ini());
        ini.WriteInteger("Settings", "SeqNumber", 4);
        ini.WriteInteger("Settings", "SeqUnit", 1);
    }
    TMainForm form(Ini());
    touchBoth(form);
    QCOMPARE(DiskModified(paths[1]), Local(2001, 5, 6, 12, 20, 0));

    Find<QComboBox>(form, "comSeqN")->setCurrentText("30");
    Find<QComboBox>(form, "comSeqU")->setCurrentText("sec");
    Trigger(form, "acApply");
    QCOMPARE(DiskModified(paths[1]), Local(2001, 5, 6, 12, 0, 30));
}

void TouchTest::otherStampsSwap()
{
    const std::string path = MakeFile("swap.txt", Local(2003, 4, 5, 18, 30, 0));
    SetCreated(path, Local(1999, 1, 2, 8, 0, 0));
    TMainForm form(Ini());
    List(form, path);
    Select(form, {0});
    Press(form, "acModFmCre");
    Press(form, "acCreFmMod");
    Trigger(form, "acApply");
    QVERIFY(boxes.empty());
    QCOMPARE(DiskModified(path), Local(1999, 1, 2, 8, 0, 0));
    QCOMPARE(DiskCreated(path), Local(2003, 4, 5, 18, 30, 0));
}

void TouchTest::attributeMasks()
{
    const std::string path = MakeFile("attrs.txt", Local(2000, 1, 1, 0, 0, 0));
    QVERIFY(CurrentPlatform().SetAttributes(path, kAttrArchive | kAttrHidden));
    TMainForm form(Ini());
    List(form, path);
    Select(form, {0});
    Press(form, "acRPlus");
    Press(form, "acAminus");
    Trigger(form, "acApply");
    QCOMPARE(CurrentPlatform().GetAttributes(path), std::optional<std::uint32_t>(kAttrHidden | kAttrReadOnly));
    const FileListModel& files = form.Files();
    QCOMPARE(files.data(files.index(0, FileListModel::ColAttr), Qt::DisplayRole).toString(), QString("  HR "));
}

void TouchTest::failureMessageCountsFiles()
{
    const QDateTime before = Local(2000, 1, 1, 0, 0, 0);
    const std::string good = MakeFile("good.txt", before);
    const std::string gone = MakeFile("gone.txt", before);
    const std::string other = MakeFile("other.txt", before);
    TMainForm form(Ini());
    for (const std::string& path : {good, gone, other})
        List(form, path);
    QVERIFY(QFile::remove(QString::fromStdString(gone)));
    const FileListModel& files = form.Files();
    const QString oldText = files.data(files.index(1, FileListModel::ColModified), Qt::DisplayRole).toString();
    Select(form, {0, 1, 2});
    SetClock(form, Local(2001, 5, 6, 13, 14, 15));
    Press(form, "acModFmClk");
    Trigger(form, "acApply");

    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].caption, std::string("Stampkeep"));
    QCOMPARE(boxes[0].icon, MessageIcon::Error);
    QCOMPARE(boxes[0].text, std::string("Stampkeep was unable to touch 1 of 3 files. A red icon indicates a problem "
                                        "file. Move the mouse over the red icon for more information."));
    QCOMPARE(DiskModified(good), Local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(DiskModified(other), Local(2001, 5, 6, 13, 14, 15));
    QCOMPARE(files.RowImage(0), int(FileListModel::ImageTouched));
    QCOMPARE(files.RowImage(1), int(FileListModel::ImageTouchFailed));
    QCOMPARE(files.RowImage(2), int(FileListModel::ImageTouched));
    // The failed row keeps the stamp it still has and says why.
    QCOMPARE(files.data(files.index(1, FileListModel::ColModified), Qt::DisplayRole).toString(), oldText);
    QVERIFY(files.data(files.index(1, 0), Qt::ToolTipRole).toString().contains("No such file or directory"));

    // The only selected file failing: no plural.
    boxes.clear();
    Find<QTreeView>(form, "lvMain")->clearSelection();
    Select(form, {1});
    Trigger(form, "acApply");
    QCOMPARE(boxes.size(), std::size_t{1});
    QVERIFY(boxes[0].text.starts_with("Stampkeep was unable to touch 1 of 1 file. "));
}

void TouchTest::runEndsBusyEvenWhenItThrows()
{
    const std::string gone = MakeFile("gone.txt", Local(2000, 1, 1, 0, 0, 0));
    TMainForm form(Ini());
    ShowActive(form);
    List(form, gone);
    QVERIFY(QFile::remove(QString::fromStdString(gone)));
    Select(form, {0});
    Press(form, "acModFmClk");

    // The summary comes while the run is still busy; here it fails on top.
    bool busyDuringBox = false;
    SetMessageBoxHandler([&](const MessageBoxRequest&) -> MessageResult {
        busyDuringBox = QApplication::overrideCursor() && !Find<QAction>(form, "acUndoTouch")->isEnabled();
        throw std::runtime_error("box failed");
    });
    Idle();
    QVERIFY(Find<QAction>(form, "acApply")->isEnabled());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, Find<QAction>(form, "acApply")->trigger());
    QVERIFY(busyDuringBox);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(Find<QAction>(form, "acUndoTouch")->isEnabled());
    QVERIFY(Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 1 files, 1 selected."));
}

void TouchTest::undo()
{
    const QDateTime before = Local(2000, 1, 1, 0, 0, 0);
    const std::string touched = MakeFile("touched.txt", before);
    const std::string untouched = MakeFile("untouched.txt", before);
    TMainForm form(Ini());
    List(form, touched);
    List(form, untouched);
    Select(form, {0});
    SetClock(form, Local(2001, 5, 6, 13, 14, 15));
    Press(form, "acModFmClk");
    Press(form, "acHPlus");
    Trigger(form, "acApply");
    QCOMPARE(DiskModified(touched), Local(2001, 5, 6, 13, 14, 15));

    // Undo takes both back to the first-known state; a file never touched reports success and stays as it is.
    Select(form, {1});
    Trigger(form, "acUndoTouch");
    QVERIFY(boxes.empty());
    QCOMPARE(DiskModified(touched), before);
    QCOMPARE(CurrentPlatform().GetAttributes(touched), std::optional<std::uint32_t>(0));
    QCOMPARE(DiskModified(untouched), before);
    const FileListModel& files = form.Files();
    QCOMPARE(files.RowImage(0), int(FileListModel::ImageListed));
    QCOMPARE(files.RowImage(1), int(FileListModel::ImageListed));
    QCOMPARE(files.data(files.index(0, FileListModel::ColModified), Qt::DisplayRole).toString(),
             QString::fromStdString(StampText(DateTimeToSerial(before))));
}

void TouchTest::resetKeepsThePickers()
{
    TMainForm form(Ini());
    for (const char* name : {"acModFmCre", "acCreFmFld", "acAPlus", "acSMinus", "acHPlus", "acRMinus"})
        Press(form, name);
    Trigger(form, "acSeq");
    Trigger(form, "acDate");
    SetClock(form, Local(2001, 5, 6, 13, 14, 15));
    Find<QComboBox>(form, "comSeqN")->setCurrentIndex(3);

    Trigger(form, "acReset");
    for (const char* name :
         {"acModFmClk", "acModFmCre", "acModFmFld", "acCreFmClk", "acCreFmMod", "acCreFmFld", "acAminus", "acAPlus",
          "acSMinus", "acSPlus", "acHMinus", "acHPlus", "acRMinus", "acRPlus", "acSeq"})
        QVERIFY2(!Find<QAction>(form, name)->isChecked(), name);
    QVERIFY(Find<QAction>(form, "acDate")->isChecked());
    QVERIFY(Find<QAction>(form, "acTime")->isChecked());
    QVERIFY(Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(Find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(13, 14, 15));
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->currentIndex(), 3);
}

QTEST_MAIN(TouchTest)
#include "touch_test.moc"
