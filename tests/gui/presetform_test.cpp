// The preset dialog: loading a preset or the panel, the enabling rules, label cycling, hints, checks and saving.
#include "core/datetime.h"
#include "core/inifile.h"
#include "core/tfuncs2.h"
#include "gui/windowfixture.h"
#include "presets/presetu.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>

namespace {

const QStringList kButtons = {"tbModFmClk", "tbModFmCre", "tbModFmFld", "tbCreFmClk", "tbCreFmMod", "tbCreFmFld",
                              "tbAminus",   "tbAPlus",    "tbSMinus",   "tbSPlus",    "tbHMinus",   "tbHPlus",
                              "tbRMinus",   "tbRPlus",    "tbtSpec",    "tbtSys",     "tbtZMin",    "tbtZSec"};

const std::string kNoAction = "You must select at least one action from the Attributes or Settings pane.";
const std::string kNoDateOrTime = "In order to set the Modified or Created date/time stamp to a specific value, "
                                  "either the date, the time, or both must be checked.";
const std::string kNoName = "You must supply a name and description for this preset.";

double Serial(const QDate& date, const QTime& time = QTime(0, 0))
{
    double serial = 0;
    CalendarToSerial({date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), 0}, serial);
    return serial;
}

// A date as the settings file holds it, with all four digits of the year whatever the locale's short format.
std::string LongYearDate(const QDate& date)
{
    return FormatDateTime(SetFormatRun('y', 4, ShortDateFormat), Serial(date));
}

} // namespace

class PresetFormTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void componentsAndLimits();
    void configuredPresetPressesStoredButtons();
    void valuesOutsideTheirListsPressNothing();
    void unconfiguredPresetCopiesThePanel();
    void okChecksInOrder();
    void namesAreUniqueWithoutRegardToCase();
    void dateAndTimeUncheckedDisableClockSources();
    void systemClockDisablesPickersButKeepsTheirValues();
    void labelsCycleTheirGroups();
    void storedDateOutsideThePickerRange();
    void refusedWriteKeepsTheDialogOpen();
    void utf8TextRoundTrips();
    void savedSectionHoldsSeventeenKeysInOrder();
    void statusBarShowsTheHintUnderThePointer();
    void layoutLinesUpTheRows();
    void helpOpensThePage();

private:
    void WriteIni(const std::string& text) const { folder->MakeFile("stampkeep.ini", text); }
    std::vector<std::string> Texts() const;
    void Click(TPresetForm& form, const char* name) { QTest::mouseClick(Find<QWidget>(form, name), Qt::LeftButton); }
    QStringList Pressed(TPresetForm& form);
};

std::vector<std::string> PresetFormTest::Texts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : boxes) {
        // A box of another kind does not compare equal to its expected text.
        const bool errorBox = box.caption == "Stampkeep" && box.icon == MessageIcon::Error;
        texts.push_back(errorBox ? box.text : "(not an error box of Stampkeep) " + box.text);
    }
    return texts;
}

QStringList PresetFormTest::Pressed(TPresetForm& form)
{
    QStringList pressed;
    for (const QString& name : kButtons) {
        if (Find<QToolButton>(form, qPrintable(name))->isChecked())
            pressed.append(name);
    }
    return pressed;
}

void PresetFormTest::componentsAndLimits()
{
    TPresetForm form(Ini());
    QCOMPARE(form.objectName(), QString("PresetForm"));
    for (const char* name : {"gbAttr", "gbStamp", "gbClock", "tbAttrA", "tbAttrS", "tbAttrH", "tbAttrR", "tbMod",
                             "tbCre", "tbTimes", "cbDatex", "cbTimex", "cbSeq", "btnHelp", "btnCancel", "sbPre"})
        QVERIFY2(Find<QWidget>(form, name), name);

    // The clock buttons' hints say which of the two zeroing buttons is which.
    QCOMPARE(Find<QToolButton>(form, "tbtZMin")->toolTip(), QString("System date/time, zero seconds"));
    QCOMPARE(Find<QToolButton>(form, "tbtZSec")->statusTip(),
             QString("Use the current system date/time with seconds and minutes set to zero"));
    QCOMPARE(Find<QToolButton>(form, "tbCreFmMod")->statusTip(),
             QString("Set new Created date/time from old Modified date/time"));
    QCOMPARE(Find<QCheckBox>(form, "cbSeq")->statusTip(), QString("Enable sequential timestamps"));
    QCOMPARE(Find<QAction>(form, "acLblR")->shortcut(), QKeySequence("Alt+R"));
    QCOMPARE(Find<QAction>(form, "acHelp")->shortcut(), QKeySequence("F1"));
    QVERIFY(Find<QPushButton>(form, "btnOK")->isDefault());
    QVERIFY(!Find<QStatusBar>(form, "sbPre")->isSizeGripEnabled());

    auto* name = Find<QLineEdit>(form, "ebName");
    auto* desc = Find<QLineEdit>(form, "ebDesc");
    name->setText(QString(25, 'n'));
    desc->setText(QString(120, 'd'));
    QCOMPARE(name->text().size(), 20);
    QCOMPARE(desc->text().size(), 100);
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->maximumDate(), QDate(2105, 12, 31));
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->minimumDate(), QDate(1980, 1, 1));
}

void PresetFormTest::configuredPresetPressesStoredButtons()
{
    WriteIni("[Preset3]\nEnabled=1\nName=Night shift\nDesc=Stamp at ten past one\nDate=" +
             DateToText(Serial(QDate(2001, 5, 6))) +
             "\nTime=" + TimeToText(Serial(QDate(2001, 5, 6), QTime(13, 14, 15))) +
             "\nUseDate=1\nUseTime=0\nUseSeq=1\nSeqNum=4\nSeqUnit=1\nClock=2\nMod=3\nCre=2\nAttrA=1\nAttrS=2\n"
             "AttrH=0\nAttrR=1\n");
    TPresetForm form(Ini());
    // Buttons pressed from an earlier use are raised by the next load.
    PanelState panel;
    panel.mod = kSourceClock;
    panel.attrH = kAttrAdd;
    QVERIFY(form.LoadPreset(4, panel));
    QCOMPARE(Pressed(form), QStringList({"tbModFmClk", "tbHPlus", "tbtSpec"}));

    QVERIFY(form.LoadPreset(3, panel));
    QCOMPARE(form.windowTitle(), QString("Configure preset #3"));
    QCOMPARE(Pressed(form), QStringList({"tbModFmFld", "tbCreFmMod", "tbAminus", "tbSPlus", "tbRMinus", "tbtZSec"}));
    QCOMPARE(Find<QLineEdit>(form, "ebName")->text(), QString("Night shift"));
    QCOMPARE(Find<QLineEdit>(form, "ebDesc")->text(), QString("Stamp at ten past one"));
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(Find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(13, 14, 15));
    QVERIFY(Find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(!Find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(Find<QCheckBox>(form, "cbSeq")->isChecked());
    QVERIFY(!Find<QCheckBox>(form, "cbSeq")->isEnabled()); // the time is not included
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->currentText(), QString("20"));
    QCOMPARE(Find<QComboBox>(form, "comSeqU")->currentText(), QString("min"));
    QVERIFY(!Find<QDateEdit>(form, "DTDateMod")->isEnabled()); // a system clock button is down
}

void PresetFormTest::valuesOutsideTheirListsPressNothing()
{
    // Codes outside their lists press no button; absent keys take the dialog's defaults.
    WriteIni("[Preset1]\nEnabled=1\nName=Odd\nDesc=Odd values\nClock=5\nMod=4\nCre=-1\nAttrA=3\nAttrR=2\n"
             "SeqNum=9\nSeqUnit=-2\n[Preset2]\nEnabled=1\n");
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(1, {}));
    QCOMPARE(Pressed(form), QStringList({"tbRPlus"}));
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->currentIndex(), -1);
    QCOMPARE(Find<QComboBox>(form, "comSeqU")->currentIndex(), -1);
    QVERIFY(!Find<QDateEdit>(form, "DTDateMod")->isEnabled());

    QVERIFY(form.LoadPreset(2, {}));
    QCOMPARE(Pressed(form), QStringList({"tbtSys"}));
    QVERIFY(Find<QLineEdit>(form, "ebName")->text().isEmpty());
    QVERIFY(Find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(Find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(!Find<QCheckBox>(form, "cbSeq")->isChecked());
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->currentText(), QString("1"));
    QCOMPARE(Find<QComboBox>(form, "comSeqU")->currentText(), QString("sec"));
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->date(), QDate::currentDate());
}

void PresetFormTest::unconfiguredPresetCopiesThePanel()
{
    WriteIni("[Preset1]\nEnabled=1\nName=First\nDesc=The first\nClock=0\nMod=1\n"
             "[Preset4]\nName=Left behind\nClock=1\nMod=3\n");
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(1, {}));

    PanelState panel;
    panel.date = QDateTime(QDate(2003, 4, 5), QTime(10, 20, 30));
    panel.time = QDateTime(QDate(2000, 1, 1), QTime(11, 22, 33));
    panel.useTime = false;
    panel.useSeq = true;
    panel.seqNum = 2;
    panel.seqUnit = 1;
    panel.mod = kSourceOtherStamp;
    panel.cre = kSourceFolder;
    panel.attrH = kAttrAdd;
    panel.attrR = kAttrRemove;
    // A section without Enabled counts as not configured.
    QVERIFY(form.LoadPreset(4, panel));
    QCOMPARE(form.windowTitle(), QString("Configure preset #4"));
    QCOMPARE(Pressed(form), QStringList({"tbModFmCre", "tbCreFmFld", "tbHPlus", "tbRMinus", "tbtSpec"}));
    QVERIFY(Find<QLineEdit>(form, "ebName")->text().isEmpty());
    QVERIFY(Find<QLineEdit>(form, "ebDesc")->text().isEmpty());
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->date(), QDate(2003, 4, 5));
    QCOMPARE(Find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(11, 22, 33));
    QVERIFY(Find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(!Find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(Find<QCheckBox>(form, "cbSeq")->isChecked());
    QCOMPARE(Find<QComboBox>(form, "comSeqN")->currentText(), QString("5"));
    QCOMPARE(Find<QComboBox>(form, "comSeqU")->currentText(), QString("min"));
    QVERIFY(Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!Find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
}

void PresetFormTest::okChecksInOrder()
{
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(2, {}));
    ShowActive(form);

    Click(form, "btnOK");
    Trigger(form, "acLblM");
    Trigger(form, "acDate");
    Trigger(form, "acTime");
    // Unchecking both raised the displayed-date button, so no action is left.
    Click(form, "btnOK");
    // The date/time rule, reached only when a displayed-date button is down without date or time.
    Find<QAction>(form, "acModFmClk")->setChecked(true);
    Click(form, "btnOK");
    Trigger(form, "acDate");
    Trigger(form, "acLblM");
    Click(form, "btnOK");
    Find<QLineEdit>(form, "ebName")->setText("Only a name");
    Click(form, "btnOK");
    QCOMPARE(Texts(), std::vector<std::string>({kNoAction, kNoAction, kNoDateOrTime, kNoName, kNoName}));
    QVERIFY(form.isVisible());
    QVERIFY(!IniFile(Ini()).ReadValue("Preset2", "Enabled").has_value());

    // Any character counts, blanks too.
    Find<QLineEdit>(form, "ebDesc")->setText(" ");
    Click(form, "btnOK");
    QCOMPARE(boxes.size(), std::size_t{5});
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(IniFile(Ini()).ReadString("Preset2", "Desc", "?"), std::string(""));
    QString name;
    QString desc;
    form.GetNameAndDesc(name, desc);
    QCOMPARE(name, QString("Only a name"));
    QCOMPARE(desc, QString(" "));
}

void PresetFormTest::namesAreUniqueWithoutRegardToCase()
{
    WriteIni("[Preset2]\nEnabled=1\nName=Sample: fix copy\nDesc=Fix\nAttrR=1\nCre=2\n");
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(2, {}));
    Find<QLineEdit>(form, "ebName")->setText("SAMPLE: FIX COPY");
    Click(form, "btnOK");
    QVERIFY(boxes.empty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(IniFile(Ini()).ReadString("Preset2", "Name", ""), std::string("SAMPLE: FIX COPY"));

    QVERIFY(form.LoadPreset(3, {}));
    form.show();
    Find<QLineEdit>(form, "ebName")->setText("sample: Fix Copy");
    Find<QLineEdit>(form, "ebDesc")->setText("Another");
    Trigger(form, "acLblA");
    Click(form, "btnOK");
    QCOMPARE(Texts(), std::vector<std::string>({"Preset #2 is named \"SAMPLE: FIX COPY\". Please choose a different "
                                                "name."}));
    QVERIFY(form.isVisible());
    QVERIFY(!IniFile(Ini()).ReadValue("Preset3", "Name").has_value());
}

void PresetFormTest::dateAndTimeUncheckedDisableClockSources()
{
    TPresetForm form(Ini());
    PanelState panel;
    panel.useSeq = true;
    panel.mod = kSourceClock;
    panel.cre = kSourceClock;
    QVERIFY(form.LoadPreset(1, panel));
    ShowActive(form);
    auto* modClock = Find<QToolButton>(form, "tbModFmClk");
    auto* creClock = Find<QToolButton>(form, "tbCreFmClk");
    QVERIFY(Find<QComboBox>(form, "comSeqN")->isEnabled());

    Trigger(form, "acDate");
    QVERIFY(!Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!Find<QCheckBox>(form, "cbSeq")->isEnabled());
    QVERIFY(!Find<QComboBox>(form, "comSeqU")->isEnabled());
    QVERIFY(modClock->isChecked());
    Click(form, "cbTimex");
    QVERIFY(!Find<QAction>(form, "acTime")->isChecked());
    QVERIFY(!modClock->isChecked() && !modClock->isEnabled());
    QVERIFY(!creClock->isChecked() && !creClock->isEnabled());
    QVERIFY(!Find<QComboBox>(form, "comSeqN")->isEnabled());

    // Checking one again enables the buttons without pressing them; the sequence needs both.
    Trigger(form, "acTime");
    QVERIFY(modClock->isEnabled() && !modClock->isChecked());
    QVERIFY(!Find<QCheckBox>(form, "cbSeq")->isEnabled());
    QTRY_VERIFY(Find<QTimeEdit>(form, "DTTimeMod")->hasFocus());
    Trigger(form, "acDate");
    QVERIFY(Find<QCheckBox>(form, "cbSeq")->isEnabled());
    QVERIFY(Find<QComboBox>(form, "comSeqN")->isEnabled());
    QTRY_VERIFY(Find<QDateEdit>(form, "DTDateMod")->hasFocus());
}

void PresetFormTest::systemClockDisablesPickersButKeepsTheirValues()
{
    TPresetForm form(Ini());
    PanelState panel;
    panel.date = QDateTime(QDate(2004, 2, 3), QTime(0, 0));
    panel.time = QDateTime(QDate(2004, 2, 3), QTime(8, 9, 10));
    panel.cre = kSourceClock;
    QVERIFY(form.LoadPreset(5, panel));
    Find<QLineEdit>(form, "ebName")->setText("Morning");
    Find<QLineEdit>(form, "ebDesc")->setText("Created at the clock");

    Click(form, "tbtSys");
    QVERIFY(!Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!Find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
    Click(form, "tbtSys"); // exactly one clock button stays down
    QCOMPARE(Pressed(form), QStringList({"tbCreFmClk", "tbtSys"}));
    Click(form, "btnOK");
    const IniFile ini(Ini());
    QCOMPARE(ini.ReadInteger("Preset5", "Clock", 99), 0);
    QCOMPARE(ini.ReadString("Preset5", "Date", ""), DateToText(Serial(QDate(2004, 2, 3))));
    QCOMPARE(ini.ReadString("Preset5", "Time", ""), TimeToText(Serial(QDate(2004, 2, 3), QTime(8, 9, 10))));

    Click(form, "tbtSpec");
    QVERIFY(Find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(Find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
}

void PresetFormTest::labelsCycleTheirGroups()
{
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(1, {}));
    ShowActive(form);

    QStringList walk;
    for (int click = 0; click < 4; ++click) {
        Click(form, "lblM");
        walk.append(Pressed(form).join(' '));
    }
    QCOMPARE(walk, QStringList({"tbModFmClk tbtSpec", "tbModFmCre tbtSpec", "tbModFmFld tbtSpec", "tbtSpec"}));

    // The second click of a double click is one more click.
    auto* archive = Find<QLabel>(form, "lblA");
    QTest::mouseClick(archive, Qt::LeftButton);
    QTest::mouseDClick(archive, Qt::LeftButton);
    QTest::mouseRelease(archive, Qt::LeftButton);
    QCOMPARE(Pressed(form), QStringList({"tbAPlus", "tbtSpec"}));

    walk.clear();
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
        walk.append(Pressed(form).join(' '));
    }
    QCOMPARE(walk, QStringList({"tbAPlus tbRMinus tbtSpec", "tbAPlus tbRPlus tbtSpec", "tbAPlus tbtSpec"}));

    // A disabled displayed-date button is skipped.
    Trigger(form, "acDate");
    Trigger(form, "acTime");
    Click(form, "lblC");
    QCOMPARE(Pressed(form), QStringList({"tbCreFmMod", "tbAPlus", "tbtSpec"}));
    Click(form, "lblM");
    QCOMPARE(Pressed(form), QStringList({"tbModFmCre", "tbCreFmMod", "tbAPlus", "tbtSpec"}));
}

void PresetFormTest::storedDateOutsideThePickerRange()
{
    WriteIni("[Preset1]\nEnabled=1\nName=Late\nDesc=Late\nMod=1\nDate=" + LongYearDate(QDate(2106, 1, 1)) +
             "\n[Preset2]\nEnabled=1\nName=Early\nDesc=Early\nMod=1\nDate=" + LongYearDate(QDate(1979, 12, 31)) +
             "\n[Preset3]\nEnabled=1\nName=Edge\nDesc=Edge\nMod=1\nDate=" + LongYearDate(QDate(2105, 12, 31)) + "\n");
    TPresetForm form(Ini());
    const QString format = Find<QDateEdit>(form, "DTDateMod")->displayFormat();
    QVERIFY(!form.LoadPreset(1, {}));
    QVERIFY(!form.LoadPreset(2, {}));
    QCOMPARE(Texts(), std::vector<std::string>(
                          {"Date exceeds maximum of " + QDate(2105, 12, 31).toString(format).toStdString(),
                           "Date is less than minimum of " + QDate(1980, 1, 1).toString(format).toStdString()}));
    QVERIFY(form.LoadPreset(3, {}));
    QCOMPARE(Find<QDateEdit>(form, "DTDateMod")->date(), QDate(2105, 12, 31));
}

void PresetFormTest::refusedWriteKeepsTheDialogOpen()
{
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(1, {}));
    form.show();
    Find<QLineEdit>(form, "ebName")->setText("Kept");
    Find<QLineEdit>(form, "ebDesc")->setText("Kept too");
    Trigger(form, "acLblS");
    // A folder in place of the settings file refuses every write, also for root.
    folder->MakeFolder("stampkeep.ini");
    Click(form, "btnOK");
    QCOMPARE(Texts(), std::vector<std::string>({"Unable to write to " + Ini()}));
    QVERIFY(form.isVisible());
    QVERIFY(form.result() != QDialog::Accepted);
    QCOMPARE(Find<QLineEdit>(form, "ebName")->text(), QString("Kept"));
    QCOMPARE(Find<QLineEdit>(form, "ebDesc")->text(), QString("Kept too"));
    QCOMPARE(Pressed(form), QStringList({"tbSMinus", "tbtSpec"}));
}

void PresetFormTest::utf8TextRoundTrips()
{
    const QString name = QString::fromUtf8("Überstunden ☀ 日本");
    const QString desc = QString::fromUtf8("Ändert „Erstellt“ – 🕒 時刻 = '#1'; [x] \"quoted\"");
    {
        TPresetForm form(Ini());
        QVERIFY(form.LoadPreset(4, {}));
        Find<QLineEdit>(form, "ebName")->setText(name);
        Find<QLineEdit>(form, "ebDesc")->setText(desc);
        Trigger(form, "acLblH");
        Click(form, "btnOK");
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
    QCOMPARE(IniFile(Ini()).ReadString("Preset4", "Name", ""), name.toStdString());
    TPresetForm again(Ini());
    QVERIFY(again.LoadPreset(4, {}));
    QCOMPARE(Find<QLineEdit>(again, "ebName")->text(), name);
    QCOMPARE(Find<QLineEdit>(again, "ebDesc")->text(), desc);
}

void PresetFormTest::savedSectionHoldsSeventeenKeysInOrder()
{
    // A section that is not configured: the dialog starts from the panel, and saving drops the stale keys.
    WriteIni("[Preset5]\nEnabled=0\nName=Old\nStale=1\nMod=1\n[Settings]\nSeqUnit=1\n");
    TPresetForm form(Ini());
    PanelState panel;
    panel.date = QDateTime(QDate(1999, 6, 2), QTime(0, 0));
    panel.time = QDateTime(QDate(1999, 6, 2), QTime(23, 45, 1));
    panel.useSeq = true;
    panel.seqNum = 3;
    panel.seqUnit = 1;
    panel.cre = kSourceOtherStamp;
    panel.attrS = kAttrRemove;
    panel.attrH = kAttrAdd;
    QVERIFY(form.LoadPreset(5, panel));
    Find<QLineEdit>(form, "ebName")->setText("New");
    Find<QLineEdit>(form, "ebDesc")->setText("New one");
    Click(form, "tbtZMin");
    Click(form, "btnOK");

    QFile file(QString::fromStdString(Ini()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const qsizetype start = lines.indexOf("[Preset5]");
    QVERIFY(start >= 0);
    const QStringList expected = {
        "Enabled=1",
        "Name=New",
        "Desc=New one",
        "Date=" + QString::fromStdString(DateToText(Serial(QDate(1999, 6, 2)))),
        "Time=" + QString::fromStdString(TimeToText(Serial(QDate(1999, 6, 2), QTime(23, 45, 1)))),
        "UseDate=1",
        "UseTime=1",
        "UseSeq=1",
        "SeqNum=3",
        "SeqUnit=1",
        "Clock=1",
        "Mod=0",
        "Cre=2",
        "AttrA=0",
        "AttrS=1",
        "AttrH=2",
        "AttrR=0",
    };
    QCOMPARE(lines.mid(start + 1, expected.size()), expected);
    QVERIFY(start + 1 + expected.size() == lines.size() || lines[start + 1 + expected.size()].startsWith('['));
    QVERIFY(lines.contains("SeqUnit=1")); // other sections stay

    // Clock is the clock button's position minus one: the stored date/time is -1.
    const std::pair<const char*, int> clocks[] = {{"tbtSpec", -1}, {"tbtSys", 0}, {"tbtZMin", 1}, {"tbtZSec", 2}};
    for (const auto& [button, clock] : clocks) {
        Click(form, button);
        Click(form, "btnOK");
        QCOMPARE(IniFile(Ini()).ReadInteger("Preset5", "Clock", 99), clock);
    }
    QVERIFY(boxes.empty());
}

void PresetFormTest::statusBarShowsTheHintUnderThePointer()
{
    TPresetForm form(Ini());
    QVERIFY(form.LoadPreset(1, {}));
    ShowActive(form);
    auto* bar = Find<QStatusBar>(form, "sbPre");
    QCOMPARE(bar->currentMessage(), QString(" "));
    QStatusTipEvent hint("Short name for preset (20 characters max)");
    QCoreApplication::sendEvent(Find<QLineEdit>(form, "ebName"), &hint);
    QCOMPARE(bar->currentMessage(), QString(" Short name for preset (20 characters max)"));
    QStatusTipEvent none(QString{});
    QCoreApplication::sendEvent(&form, &none);
    QCOMPARE(bar->currentMessage(), QString(" "));

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(Find<QToolButton>(form, "tbHMinus"), &enter);
    QCOMPARE(bar->currentMessage(), QString(" Remove the hidden attribute"));

    // Over a group box: the hint of the control under the pointer, disabled ones included.
    auto moveOver = [](QWidget* group, const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, group->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(group, &move);
    };
    auto* clock = Find<QGroupBox>(form, "gbClock");
    Click(form, "tbtSys");
    moveOver(clock, Find<QWidget>(form, "DTDateMod")->geometry().center());
    QCOMPARE(bar->currentMessage(), QString(" Click date element and press up/down keys, or down arrow for calendar"));
    QCOMPARE(clock->toolTip(), QString("Date"));
    moveOver(clock, Find<QWidget>(form, "cbSeq")->geometry().center());
    QCOMPARE(bar->currentMessage(), QString(" Enable sequential timestamps"));
    const QPoint emptySpot(clock->width() - 2, clock->height() - 2);
    QVERIFY(!clock->childAt(emptySpot));
    moveOver(clock, emptySpot);
    QCOMPARE(bar->currentMessage(), QString(" "));
    auto* attributes = Find<QGroupBox>(form, "gbAttr");
    moveOver(attributes, QPoint(attributes->width() - 2, attributes->height() - 2));
    QCOMPARE(bar->currentMessage(), QString(" Click a button to select; click again to de-select"));
    QVERIFY(attributes->toolTip().isEmpty());
}

void PresetFormTest::layoutLinesUpTheRows()
{
    TPresetForm form(Ini());
    ShowActive(form);
    for (const char* row : {"A", "S", "H", "R"}) {
        auto* bar = Find<QWidget>(form, qPrintable(QString("tbAttr") + row));
        auto* label = Find<QLabel>(form, qPrintable(QString("lbl") + row));
        QCOMPARE(bar->x() + bar->width(), bar->parentWidget()->width() - 8);
        QCOMPARE(bar->y(), label->y() + label->height() - bar->height() + 2);
        QCOMPARE(label->x() + label->width(), bar->x() - 8);
    }
    for (const char* centred : {"tbMod", "tbCre", "lblM", "lblC"}) {
        auto* widget = Find<QWidget>(form, centred);
        QCOMPARE(widget->x(), (widget->parentWidget()->width() - widget->width()) / 2);
    }
    QCOMPARE(Find<QWidget>(form, "lblM")->y(), Find<QWidget>(form, "lblA")->y());
    QCOMPARE(Find<QWidget>(form, "tbMod")->y(), Find<QWidget>(form, "tbAttrS")->y());
    QCOMPARE(Find<QWidget>(form, "lblC")->y(), Find<QWidget>(form, "lblH")->y());
    QCOMPARE(Find<QWidget>(form, "tbCre")->y(), Find<QWidget>(form, "tbAttrR")->y());
    const QRect time = Find<QWidget>(form, "DTTimeMod")->geometry();
    auto* times = Find<QWidget>(form, "tbTimes");
    QCOMPARE(times->x(), time.x());
    QCOMPARE(times->y(), (time.bottom() + 1 + Find<QWidget>(form, "comSeqN")->y() - times->height()) / 2);
    auto* bar = Find<QStatusBar>(form, "sbPre");
    QCOMPARE(bar->geometry().bottom(), form.height() - 1);
}

void PresetFormTest::helpOpensThePage()
{
    TPresetForm form(Ini());
    ShowActive(form);
    // The test program has no help page beside it, so the help engine reports the missing page.
    QTest::keyClick(&form, Qt::Key_F1);
    Click(form, "btnHelp");
    const std::vector<std::string> texts = Texts();
    QCOMPARE(texts.size(), std::size_t{2});
    for (const std::string& text : texts)
        QVERIFY(QString::fromStdString(text).startsWith("Help file not found: "));
}

QTEST_MAIN(PresetFormTest)
#include "presetform_test.moc"
