// The main window as a frame: its components, settings across runs, status text, size limits and layout.
#include "core/inifile.h"
#include "core/tfuncs2.h"
#include "gui/windowfixture.h"
#include "window/mainu.h"
#include "winutil/helppage.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>

class MainFormTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void componentTree();
    void firstStartWritesSamplePresets();
    void settingsSurviveARestart();
    void refusedSettingsFileAtExit();
    void sizeLimits();
    void layoutPassLinesUpThePanel();
    void statusTextFollowsHints();
    void helpOpensThePage();
};

void MainFormTest::componentTree()
{
    TMainForm form(Ini());
    for (const char* name :
         {"pnlControl", "gbFiles", "gbAttr",    "gbSettings", "gbDateTime", "tbFiles", "tbTouch", "tbMod",
          "tbCre",      "tbAttrA", "tbAttrS",   "tbAttrH",    "tbAttrR",    "tbClkA",  "tbClkB",  "tbPresets",
          "lvMain",     "sbMain",  "DTDateMod", "DTTimeMod",  "comSeqN",    "comSeqU"})
        QVERIFY2(Find<QWidget>(form, name), name);
    for (const char* name :
         {"tbSelect",    "tbRemove",   "tbClear",    "tbApply",    "tbUndo",     "tbReset",  "tbModFmClk",
          "tbModFmCre",  "tbModFmFld", "tbCreFmClk", "tbCreFmMod", "tbCreFmFld", "tbAminus", "tbAPlus",
          "tbSMinus",    "tbSPlus",    "tbHMinus",   "tbHPlus",    "tbRMinus",   "tbRPlus",  "tbNow",
          "tbClkFmFile", "tbZerSec",   "tbZerMin",   "tbPre1",     "tbPre5"})
        QVERIFY2(Find<QToolButton>(form, name), name);

    // Captions and hints: the short part is the tool tip, the long part the status text.
    const struct
    {
        const char* name;
        const char* text;
        const char* tip;
        const char* status;
        const char* shortcut;
    } actions[] = {
        {"acHelp", "Help", "Help", "Activate the help system", "F1"},
        {"acAbout", "A&bout", "About", "Display copyright and version information", ""},
        {"acExit", "E&xit", "Exit", "Exit the program", ""},
        {"acSelect", "&Add files", "Add files", "Add files to list", "Ctrl+F"},
        {"acRemove", "&Remove highlighted files", "Remove files", "Remove the highlighted file(s) from the list",
         "Del"},
        {"acApply", "Touch (apply changes)", "Touch (apply changes)", "Apply all pending changes", "Ctrl+Return"},
        {"acUndoTouch", "Undo changes", "Undo changes", "Undo all changes to selected files", "Ctrl+Z"},
        {"acDate", "Include &date", "Include date", "Include date when setting file times from date/time", "Alt+D"},
        {"acClkFmFile", "Set from &file", "Set date/time from file",
         "Set the date/time to match a file's Modified date/time", ""},
        {"acModFmCre", "Modified from Created", "Modified from Created",
         "Set new Modified date/time from old Created date/time", ""},
        {"acRPlus", "Add read-only attribute", "Add read-only attribute", "Add the read-only attribute", ""},
        {"preM3", "shortcut only", "", "", "Shift+Alt+3"},
    };
    for (const auto& expected : actions) {
        auto* action = Find<QAction>(form, expected.name);
        QVERIFY2(action, expected.name);
        QCOMPARE(action->text(), QString(expected.text));
        if (*expected.tip)
            QCOMPARE(action->toolTip(), QString(expected.tip));
        QCOMPARE(action->statusTip(), QString(expected.status));
        QCOMPARE(action->shortcut(), QKeySequence(expected.shortcut));
    }
    QCOMPARE(Find<QGroupBox>(form, "gbDateTime")->title(), QString("Date/time"));
    QCOMPARE(Find<QLabel>(form, "lblR")->statusTip(),
             QString("Click to cycle read-only attribute off, on, or unchanged"));
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->toolTip(), QString("Click to set date"));
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->count(), 6);
    QCOMPARE(Find<QComboBox>(form, "comSeqU")->itemText(1), QString("min"));
    QVERIFY(Find<QCheckBox>(form, "cbDatex")->text().isEmpty());
    QCOMPARE(Find<QPushButton>(form, "btnExit")->text(), QString("E&xit"));
    QCOMPARE(form.windowTitle(), QString("Stampkeep"));

    auto* list = Find<QTreeView>(form, "lvMain");
    const QStringList captions = {"Filename", "Modified", "Created", "Attr", "Path"};
    for (int column = 0; column < captions.size(); ++column)
        QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
}

void MainFormTest::firstStartWritesSamplePresets()
{
    TMainForm form(Ini());
    const IniFile ini(Ini());
    QCOMPARE(ini.ReadString("Preset1", "Name", ""), std::string("Sample: simple touch"));
    QCOMPARE(ini.ReadInteger("Preset2", "Cre", 0), 2);

    auto* apply1 = Find<QAction>(form, "preA1");
    QVERIFY(apply1->isEnabled());
    QCOMPARE(apply1->toolTip(), QString("Sample: simple touch"));
    QCOMPARE(apply1->statusTip(), QString("Preset 1 - Set Modified and Created from current date/time"));
    QCOMPARE(Find<QMenu>(form, "pmPre1")->defaultAction(), apply1);
    QVERIFY(Find<QAction>(form, "preR2")->isEnabled());
    QVERIFY(!Find<QAction>(form, "preA3")->isEnabled());
    QCOMPARE(Find<QMenu>(form, "pmPre3")->defaultAction(), Find<QAction>(form, "preC3"));
    QCOMPARE(Find<QToolButton>(form, "tbPre3")->toolTip(), QString("Preset 3"));

    ShowActive(form);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));
}

void MainFormTest::settingsSurviveARestart()
{
    {
        TMainForm form(Ini());
        Find<QAction>(form, "acDate")->setChecked(false);
        Find<QAction>(form, "acSeq")->setChecked(true);
        Find<QComboBox>(form, "comSeqN")->setCurrentIndex(4);
        Find<QComboBox>(form, "comSeqU")->setCurrentIndex(1);
        Find<QDateEdit>(form, "DTDateMod")->setDate(QDate(2001, 5, 6));
        Find<QTimeEdit>(form, "DTTimeMod")->setTime(QTime(13, 14, 15));
        form.show();
        form.close();
    }
    const IniFile ini(Ini());
    QCOMPARE(ini.ReadString("Settings", "ClockDate", ""), DateToText(37017.0));
    QVERIFY(ini.ReadValue("MainForm Settings", "Left").has_value());
    QVERIFY(ini.ReadValue("Location", "Location").has_value());

    TMainForm again(Ini());
    QVERIFY(!Find<QAction>(again, "acDate")->isChecked());
    QVERIFY(Find<QAction>(again, "acTime")->isChecked());
    QVERIFY(Find<QAction>(again, "acSeq")->isChecked());
    QCOMPARE(Find<QComboBox>(again, "comSeqN")->currentText(), QString("20"));
    QCOMPARE(Find<QComboBox>(again, "comSeqU")->currentText(), QString("min"));
    QCOMPARE(Find<QDateEdit>(again, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(Find<QTimeEdit>(again, "DTTimeMod")->time(), QTime(13, 14, 15));
}

void MainFormTest::refusedSettingsFileAtExit()
{
    TMainForm form(Ini());
    form.show();
    // A folder in place of the settings file refuses every write, also for root.
    QFile::remove(QString::fromStdString(Ini()));
    QVERIFY(QDir().mkpath(QString::fromStdString(Ini())));
    form.close();
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, "Unable to write to " + Ini());
}

void MainFormTest::sizeLimits()
{
    TMainForm form(Ini());
    const auto* exit = Find<QPushButton>(form, "btnExit");
    QCOMPARE(form.minimumWidth(), exit->x() + exit->width() + 16);
    QCOMPARE(form.minimumHeight(), 400);
    form.resize(100, 100);
    QCOMPARE(form.size(), QSize(form.minimumWidth(), 400));
}

void MainFormTest::layoutPassLinesUpThePanel()
{
    TMainForm form(Ini());
    ShowActive(form);
    for (const char* row : {"A", "S", "H", "R"}) {
        auto* bar = Find<QWidget>(form, qPrintable(QString("tbAttr") + row));
        auto* label = Find<QLabel>(form, qPrintable(QString("lbl") + row));
        QCOMPARE(bar->x() + bar->width(), bar->parentWidget()->width() - 8);
        QCOMPARE(label->x() + label->width(), bar->x() - 8);
        QCOMPARE(bar->y(), label->y() + label->height() - bar->height() + 2);
    }
    for (const char* centred : {"tbMod", "tbCre", "tbFiles", "tbTouch", "lblM", "lblC", "lblFilA", "lblFilT"}) {
        auto* widget = Find<QWidget>(form, centred);
        QCOMPARE(widget->x(), (widget->parentWidget()->width() - widget->width()) / 2);
    }
    QCOMPARE(Find<QWidget>(form, "lblM")->y(), Find<QWidget>(form, "lblA")->y());
    QCOMPARE(Find<QWidget>(form, "tbFiles")->y(), Find<QWidget>(form, "tbAttrS")->y());
    QCOMPARE(Find<QWidget>(form, "lblFilT")->y(), Find<QWidget>(form, "lblH")->y());
    QCOMPARE(Find<QWidget>(form, "tbCre")->y(), Find<QWidget>(form, "tbAttrR")->y());
    const auto* help = Find<QWidget>(form, "btnHelp");
    QCOMPARE(Find<QWidget>(form, "tbPresets")->y(),
             help->y() + help->height() - Find<QWidget>(form, "tbPresets")->height() + 2);
    QCOMPARE(Find<QWidget>(form, "tbClkA")->x(), Find<QWidget>(form, "DTTimeMod")->x());
}

void MainFormTest::statusTextFollowsHints()
{
    TMainForm form(Ini());
    ShowActive(form);
    QStatusTipEvent hint("Apply all pending changes");
    QCoreApplication::sendEvent(&form, &hint);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" Apply all pending changes"));
    QStatusTipEvent none(QString{});
    QCoreApplication::sendEvent(&form, &none);
    QCOMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));
}

void MainFormTest::helpOpensThePage()
{
    // The page lies beside the program; this test program has none, so the missing page is reported by its path.
    QList<QUrl> opened;
    SetHelpUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    TMainForm form(Ini());
    Find<QAction>(form, "acHelp")->trigger();
    SetHelpUrlOpener(nullptr);
    const QString page = QCoreApplication::applicationDirPath() + "/" +
                         QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".html";
    QVERIFY(opened.isEmpty());
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].text), "Help file not found: " + page);
}

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
