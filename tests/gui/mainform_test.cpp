// The main window as a frame: its components, settings across runs, status text, layout in every font and its keys.
#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "gui/windowfixture.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"
#include "window/startup.h"
#include "winutil/helppage.h"
#include "winutil/windowplacement.h"

#include <QtTest>

#include <QMouseEvent>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

class MainFormTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void componentTree();
    void firstStartWritesSamplePresets();
    void settingsSurviveARestart();
    void refusedSettingsFileAtExit();
    void unreadableSettingsFileAtStartAndExit();
    void firstStartSize();
    void layoutHoldsInEveryFont();
    void layoutFollowsTheFontBackAndForth();
    void panelGrowsWithTheWindow();
    void keysReachOneThingEach();
    void statusTextFollowsHints();
    void helpOpensThePage();
};

void MainFormTest::componentTree()
{
    MainWindow form(iniPath(), formats);
    for (const char* name :
         {"pnlControl", "gbFiles", "gbAttr",    "gbSettings", "gbDateTime", "tbFiles", "tbTouch", "tbMod",
          "tbCre",      "tbAttrA", "tbAttrS",   "tbAttrH",    "tbAttrR",    "tbClkA",  "tbClkB",  "tbPresets",
          "lvMain",     "sbMain",  "DTDateMod", "DTTimeMod",  "comSeqN",    "comSeqU"})
        QVERIFY2(find<QWidget>(form, name), name);
    for (const char* name :
         {"tbSelect",    "tbRemove",   "tbClear",    "tbApply",    "tbUndo",     "tbReset",  "tbModFmClk",
          "tbModFmCre",  "tbModFmFld", "tbCreFmClk", "tbCreFmMod", "tbCreFmFld", "tbAminus", "tbAPlus",
          "tbSMinus",    "tbSPlus",    "tbHMinus",   "tbHPlus",    "tbRMinus",   "tbRPlus",  "tbNow",
          "tbClkFmFile", "tbZerSec",   "tbZerMin",   "tbPre1",     "tbPre5"})
        QVERIFY2(find<QToolButton>(form, name), name);

    auto* list = find<QTreeView>(form, "lvMain");
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
}

void MainFormTest::firstStartWritesSamplePresets()
{
    MainWindow form(iniPath(), formats);
    const IniFile ini(iniPath());
    QCOMPARE(ini.readString("Preset1", "Name", ""), std::string("Sample: simple touch"));
    QCOMPARE(ini.readInteger("Preset2", "Cre", 0), 2);

    auto* apply1 = find<QAction>(form, "preA1");
    QVERIFY(apply1->isEnabled());
    QCOMPARE(apply1->toolTip(), QString("Sample: simple touch"));
    QCOMPARE(apply1->statusTip(), QString("Preset 1 - Set Modified and Created from current date/time"));
    QCOMPARE(find<QMenu>(form, "pmPre1")->defaultAction(), apply1);
    QVERIFY(find<QAction>(form, "preR2")->isEnabled());
    QVERIFY(!find<QAction>(form, "preA3")->isEnabled());
    QCOMPARE(find<QMenu>(form, "pmPre3")->defaultAction(), find<QAction>(form, "preC3"));
    QCOMPARE(find<QToolButton>(form, "tbPre3")->toolTip(), QString("Preset 3"));

    showActive(form);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));
}

void MainFormTest::settingsSurviveARestart()
{
    {
        MainWindow form(iniPath(), formats);
        find<QAction>(form, "acDate")->setChecked(false);
        find<QAction>(form, "acSeq")->setChecked(true);
        find<QComboBox>(form, "comSeqN")->setCurrentIndex(4);
        find<QComboBox>(form, "comSeqU")->setCurrentIndex(1);
        find<QDateEdit>(form, "DTDateMod")->setDate(QDate(2001, 5, 6));
        find<QTimeEdit>(form, "DTTimeMod")->setTime(QTime(13, 14, 15));
        form.show();
        form.close();
    }
    const IniFile ini(iniPath());
    QCOMPARE(ini.readString("Settings", "ClockDate", ""), dateToText(formats, 37017.0));
    QVERIFY(ini.readValue("MainForm Settings", "Left").has_value());
    QVERIFY(ini.readValue("Location", "Location").has_value());

    MainWindow again(iniPath(), formats);
    QVERIFY(!find<QAction>(again, "acDate")->isChecked());
    QVERIFY(find<QAction>(again, "acTime")->isChecked());
    QVERIFY(find<QAction>(again, "acSeq")->isChecked());
    QCOMPARE(find<QComboBox>(again, "comSeqN")->currentText(), QString("20"));
    QCOMPARE(find<QComboBox>(again, "comSeqU")->currentText(), QString("min"));
    QCOMPARE(find<QDateEdit>(again, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(find<QTimeEdit>(again, "DTTimeMod")->time(), QTime(13, 14, 15));
}

void MainFormTest::refusedSettingsFileAtExit()
{
    MainWindow form(iniPath(), formats);
    form.show();
    // A folder in place of the settings file refuses every write, also for root.
    QFile::remove(QString::fromStdString(iniPath()));
    QVERIFY(QDir().mkpath(QString::fromStdString(iniPath())));
    form.close();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, "Unable to write to " + iniPath());
}

// A FIFO in the settings file's place: one box at the start says why it is not read, no sample presets are written
// over it, and one box at exit says it was not saved; it stays a FIFO. The alarm ends a run that would block on it.
void MainFormTest::unreadableSettingsFileAtStartAndExit()
{
    QCOMPARE(::mkfifo(iniPath().c_str(), 0600), 0);
    ::alarm(20);
    {
        MainWindow form(iniPath(), formats);
        QCOMPARE(boxes.size(), std::size_t{1});
        QCOMPARE(boxes[0].caption, std::string("Stampkeep"));
        QCOMPARE(boxes[0].text, "Cannot read " + iniPath() + ": not a regular file");
        QVERIFY(!find<QAction>(form, "preA1")->isEnabled());
        showActive(form);
        QCOMPARE(boxes.size(), std::size_t{1});
        form.close();
    }
    ::alarm(0);
    QCOMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(boxes[1].text, "Unable to write to " + iniPath());
    QVERIFY(std::filesystem::is_fifo(iniPath()));
}

// Without a stored placement the window opens large enough for fifteen rows and the stamp and attribute columns
// of a camera's files, centred; a small screen keeps it within, and a stored placement wins.
void MainFormTest::firstStartSize()
{
    const auto restore = qScopeGuard([] { setAvailableAreaOverride({}); });
    std::vector<std::string> files;
    for (const char* name : {"DSC_0042.JPG", "DSC_0043.JPG", "holiday-notes.txt"})
        files.push_back(makeFile(name, local(2023, 12, 28, 20, 58, 58)));

    const QRect large(0, 0, 1920, 1080);
    setAvailableAreaOverride(large);
    QRect firstStart;
    {
        MainWindow form(iniPath(), formats);
        form.setOwnCommandLine(StartUp::parseArguments(files, iniPath(), formats));
        showActive(form);
        auto* list = find<QTreeView>(form, "lvMain");
        QCOMPARE(list->model()->rowCount(), 3);
        QVERIFY(list->viewport()->height() / list->sizeHintForRow(0) >= 15);
        for (const int column : {FileListModel::ColModified, FileListModel::ColCreated, FileListModel::ColAttr}) {
            // What the rows' texts need: the stamps are not cut.
            QVERIFY(list->header()->sectionSize(column) >=
                    static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column));
            QVERIFY(list->header()->sectionViewportPosition(column) + list->header()->sectionSize(column) <=
                    list->viewport()->width());
        }
        QCOMPARE(form.geometry().center(), large.center());
        firstStart = form.geometry();
    }

    const QRect small(100, 50, 640, 480);
    setAvailableAreaOverride(small);
    {
        MainWindow form(iniPath(), formats);
        showActive(form);
        QVERIFY(small.contains(form.geometry()));
    }

    IniFile ini(iniPath());
    for (const auto& [key, value] : {std::pair{"Left", 10}, {"Top", 20}, {"Right", 610}, {"Bottom", 470}})
        ini.writeInteger("MainForm Settings", key, value);
    setAvailableAreaOverride(large);
    MainWindow form(iniPath(), formats);
    showActive(form);
    QCOMPARE(form.geometry(), QRect(10, 20, 600, 450));
    QVERIFY(firstStart.width() > 600 && firstStart.height() > 450);
}

// In a small, the usual, a large and a very large font, at the size it opens with and at its smallest, every component
// of the window shows whole, clear of its neighbours.
void MainFormTest::layoutHoldsInEveryFont()
{
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    for (const int points : kFontPoints) {
        QApplication::setFont(QFont(QApplication::font().family(), points));
        QFile::remove(QString::fromStdString(iniPath()));
        MainWindow form(iniPath(), formats);
        showActive(form);
        QStringList faults = layoutFaults(form);
        form.resize(1, 1);
        idle();
        QCOMPARE(form.size(), form.minimumSize());
        faults << layoutFaults(form);
        QVERIFY2(faults.isEmpty(), qPrintable(QString("At %1 points:\n").arg(points) + faults.join('\n')));
    }
}

// A font change lays the panel out again: in a large font the window cannot be made narrower than the panel with Exit
// at its right end; back in the usual font, every component stands where it stood before.
void MainFormTest::layoutFollowsTheFontBackAndForth()
{
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    MainWindow form(iniPath(), formats);
    showActive(form);
    // The list and the status bar keep the window's size, which the user chooses.
    const QWidget* panel = find<QWidget>(form, "pnlControl");
    const QMap<QString, QRect> usual = componentPlaces(*panel);
    const QSize usualSize = form.size();
    const QSize usualMinimum = form.minimumSize();
    const int usualPoints = form.font().pointSize();

    QApplication::setFont(QFont(QApplication::font().family(), kFontPoints[2]));
    QTRY_COMPARE(form.font().pointSize(), kFontPoints[2]);
    form.resize(1, 1);
    idle();
    QVERIFY(form.minimumWidth() > usualMinimum.width());
    const int exitRight = find<QWidget>(form, "btnExit")->geometry().right() + 1;
    QVERIFY(exitRight <= panel->width());
    for (const char* name : {"gbFiles", "gbAttr", "gbSettings", "gbDateTime", "tbPresets"})
        QVERIFY2(find<QWidget>(form, name)->geometry().right() < exitRight, name);
    QVERIFY(panel->height() > usual.value("gbFiles").bottom());

    QApplication::setFont(QFont(QApplication::font().family(), usualPoints));
    QTRY_COMPARE(form.font().pointSize(), usualPoints);
    QTRY_COMPARE(form.minimumSize(), usualMinimum);
    form.resize(usualSize);
    idle();
    const QStringList moved = movedComponents(usual, componentPlaces(*panel));
    QVERIFY2(moved.isEmpty(), qPrintable(moved.join('\n')));
}

// A wider window gives the panel's groups the room: they grow with it, and Exit stays at the right end.
void MainFormTest::panelGrowsWithTheWindow()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    const auto groupsWidth = [&form] {
        int width = 0;
        for (const char* name : {"gbFiles", "gbAttr", "gbSettings", "gbDateTime"})
            width += find<QWidget>(form, name)->width();
        return width;
    };
    const auto exitGap = [&form] {
        const QWidget* exit = find<QWidget>(form, "btnExit");
        return form.width() - exit->mapTo(&form, exit->rect().topRight()).x();
    };
    const int before = groupsWidth();
    const int gapBefore = exitGap();
    form.resize(form.width() + 400, form.height());
    idle();
    QVERIFY2(groupsWidth() >= before + 380, qPrintable(QString("%1 -> %2").arg(before).arg(groupsWidth())));
    QCOMPARE(exitGap(), gapBefore);
}

// Every key the window declares reaches its one action or control, and the keys the guide names are there.
void MainFormTest::keysReachOneThingEach()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    find<QTreeView>(form, "lvMain")->setFocus();
    const ShortcutCheck check = checkShortcuts(form);
    QVERIFY2(check.faults.isEmpty(), qPrintable(check.faults.join('\n')));
    const std::pair<const char*, const char*> guide[] = {
        {"Ctrl+F", "acSelect"},   {"Ctrl+Return", "acApply"}, {"Ctrl+Z", "acUndoTouch"},
        {"Ctrl+R", "acReset"},    {"F1", "acHelp"},           {"Del", "acRemove"},
        {"Shift+Alt+1", "preM1"}, {"Shift+Alt+5", "preM5"},   {"Alt+R", "acLblR"},
    };
    for (const auto& [key, action] : guide)
        QCOMPARE(check.reached.value(QKeySequence(key).toString()), QString(action));
}

void MainFormTest::statusTextFollowsHints()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    QStatusTipEvent hint("Apply all pending changes");
    QCoreApplication::sendEvent(&form, &hint);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" Apply all pending changes"));
    QStatusTipEvent none(QString{});
    QCoreApplication::sendEvent(&form, &none);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));

    // The hint of an empty spot of a group goes when the pointer leaves the group.
    auto* attributes = find<QWidget>(form, "gbAttr");
    QMouseEvent move(QEvent::MouseMove, QPointF(2, attributes->height() - 2), attributes->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(attributes, &move);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" Click a button to select; click again to de-select"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(attributes, &leave);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));

    // Help, About and Exit are push buttons: they carry their actions' hints.
    for (const auto& [button, action] :
         {std::pair{"btnHelp", "acHelp"}, std::pair{"btnAbout", "acAbout"}, std::pair{"btnExit", "acExit"}}) {
        QVERIFY(!find<QAction>(form, action)->statusTip().isEmpty());
        QCOMPARE(find<QWidget>(form, button)->toolTip(), find<QAction>(form, action)->toolTip());
        QCOMPARE(find<QWidget>(form, button)->statusTip(), find<QAction>(form, action)->statusTip());
    }
}

void MainFormTest::helpOpensThePage()
{
    // The page lies beside the program; this test program has none, so the missing page is reported by its path.
    QList<QUrl> opened;
    setHelpUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    MainWindow form(iniPath(), formats);
    find<QAction>(form, "acHelp")->trigger();
    setHelpUrlOpener(nullptr);
    const QString page = QCoreApplication::applicationDirPath() + "/" +
                         QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".html";
    QVERIFY(opened.isEmpty());
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].text), "Help file not found: " + page);

    // An opener that cannot start, or gives up, leaves the user a box naming the page to open by hand.
    QFile(page).open(QIODevice::WriteOnly);
    for (const char* opener : {"/nonexistent/opener", "false"}) {
        boxes.clear();
        setHelpOpenerProgram(opener);
        find<QAction>(form, "acHelp")->trigger();
        QTRY_COMPARE(boxes.size(), std::size_t{1});
        QVERIFY2(QString::fromStdString(boxes[0].text).contains(page), boxes[0].text.c_str());
    }
    setHelpOpenerProgram("xdg-open");
    QFile::remove(page);
}

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
