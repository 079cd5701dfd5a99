// The preset dialog: loading a preset or the panel, the enabling rules, label cycling, hints, checks and saving.
#include "core/datetime.h"
#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "gui/windowfixture.h"
#include "presets/presetdialog.h"
#include "winutil/qtdatetime.h"

#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>

namespace {

const QStringList kButtons = {"tbModFmClk", "tbModFmCre", "tbModFmFld", "tbModFmRec", "tbCreFmClk",
                              "tbCreFmMod", "tbCreFmFld", "tbCreFmRec", "tbAminus",   "tbAPlus",
                              "tbSMinus",   "tbSPlus",    "tbHMinus",   "tbHPlus",    "tbRMinus",
                              "tbRPlus",    "tbtSpec",    "tbtSys",     "tbtZMin",    "tbtZSec"};

const std::string kNoAction = "You must select at least one action from the Attributes or Settings pane.";
const std::string kNoDateOrTime = "In order to set the Modified or Created date/time stamp to a specific value, "
                                  "either the date, the time, or both must be checked.";
const std::string kNoName = "You must supply a name and description for this preset.";

double serialOf(const QDate& date, const QTime& time = QTime(0, 0))
{
    double serial = 0;
    calendarToSerial({date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), 0}, serial);
    return serial;
}

// A date as the settings file holds it, with all four digits of the year whatever the locale's short format.
std::string longYearDate(const DateTimeFormats& formats, const QDate& date)
{
    return formatDateTime(SetFormatRun('y', 4, formats.shortDateFormat), serialOf(date));
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
    void layoutHoldsInEveryFont();
    void layoutFollowsTheFontBackAndForth();
    void keysReachOneThingEach();
    void nameFieldShowsTheLongestName();
    void clockButtonsShowTheirGlyphsInFull();
    void keyOfADisabledActionTypesNothing();
    void helpOpensThePage();

private:
    void writeIni(const std::string& text) const { folder->makeFile("stampkeep.ini", text); }
    std::vector<std::string> boxTexts() const;
    void clickOn(PresetDialog& form, const char* name) { QTest::mouseClick(find<QWidget>(form, name), Qt::LeftButton); }
    QStringList pressedButtons(PresetDialog& form);
};

std::vector<std::string> PresetFormTest::boxTexts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : boxes) {
        // A box of another kind does not compare equal to its expected text.
        const bool errorBox = box.caption == "Stampkeep" && box.icon == MessageIcon::Error;
        texts.push_back(errorBox ? box.text : "(not an error box of Stampkeep) " + box.text);
    }
    return texts;
}

QStringList PresetFormTest::pressedButtons(PresetDialog& form)
{
    QStringList pressed;
    for (const QString& name : kButtons) {
        if (find<QToolButton>(form, qPrintable(name))->isChecked())
            pressed.append(name);
    }
    return pressed;
}

void PresetFormTest::componentsAndLimits()
{
    PresetDialog form(iniPath(), formats);
    QCOMPARE(form.objectName(), QString("PresetForm"));
    for (const char* name : {"gbAttr", "gbStamp", "gbClock", "tbAttrA", "tbAttrS", "tbAttrH", "tbAttrR", "tbMod",
                             "tbCre", "tbTimes", "cbDatex", "cbTimex", "cbSeq", "btnHelp", "btnCancel", "sbPre"})
        QVERIFY2(find<QWidget>(form, name), name);

    QVERIFY(find<QPushButton>(form, "btnOK")->isDefault());
    QVERIFY(!find<QStatusBar>(form, "sbPre")->isSizeGripEnabled());

    auto* name = find<QLineEdit>(form, "ebName");
    auto* desc = find<QLineEdit>(form, "ebDesc");
    name->setText(QString(25, 'n'));
    desc->setText(QString(120, 'd'));
    QCOMPARE(name->text().size(), 20);
    QCOMPARE(desc->text().size(), 100);
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->maximumDate(), QDate(2105, 12, 31));
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->minimumDate(), QDate(1980, 1, 1));
}

void PresetFormTest::configuredPresetPressesStoredButtons()
{
    writeIni("[Preset3]\nEnabled=1\nName=Night shift\nDesc=Stamp at ten past one\nDate=" +
             dateToText(formats, serialOf(QDate(2001, 5, 6))) +
             "\nTime=" + timeToText(formats, serialOf(QDate(2001, 5, 6), QTime(13, 14, 15))) +
             "\nUseDate=1\nUseTime=0\nUseSeq=1\nSeqNum=4\nSeqUnit=1\nClock=2\nMod=3\nCre=2\nAttrA=1\nAttrS=2\n"
             "AttrH=0\nAttrR=1\n");
    PresetDialog form(iniPath(), formats);
    // Buttons pressed from an earlier use are raised by the next load.
    PanelState panel;
    panel.mod = kSourceClock;
    panel.attrs[2] = kAttrAdd;
    QVERIFY(form.LoadPreset(4, panel));
    QCOMPARE(pressedButtons(form), QStringList({"tbModFmClk", "tbHPlus", "tbtSpec"}));

    QVERIFY(form.LoadPreset(3, panel));
    QCOMPARE(form.windowTitle(), QString("Configure preset #3"));
    QCOMPARE(pressedButtons(form),
             QStringList({"tbModFmFld", "tbCreFmMod", "tbAminus", "tbSPlus", "tbRMinus", "tbtZSec"}));
    QCOMPARE(find<QLineEdit>(form, "ebName")->text(), QString("Night shift"));
    QCOMPARE(find<QLineEdit>(form, "ebDesc")->text(), QString("Stamp at ten past one"));
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(13, 14, 15));
    QVERIFY(find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(!find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(find<QCheckBox>(form, "cbSeq")->isChecked());
    QVERIFY(!find<QCheckBox>(form, "cbSeq")->isEnabled()); // the time is not included
    QCOMPARE(find<QComboBox>(form, "comSeqN")->currentText(), QString("20"));
    QCOMPARE(find<QComboBox>(form, "comSeqU")->currentText(), QString("min"));
    QVERIFY(!find<QDateEdit>(form, "DTDateMod")->isEnabled()); // a system clock button is down
}

void PresetFormTest::valuesOutsideTheirListsPressNothing()
{
    // Codes outside their lists press no button; absent keys take the dialog's defaults.
    writeIni("[Preset1]\nEnabled=1\nName=Odd\nDesc=Odd values\nClock=5\nMod=5\nCre=-1\nAttrA=3\nAttrR=2\n"
             "SeqNum=9\nSeqUnit=-2\n[Preset2]\nEnabled=1\n");
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    QCOMPARE(pressedButtons(form), QStringList({"tbRPlus"}));
    QCOMPARE(find<QComboBox>(form, "comSeqN")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>(form, "comSeqU")->currentIndex(), -1);
    QVERIFY(!find<QDateEdit>(form, "DTDateMod")->isEnabled());

    QVERIFY(form.LoadPreset(2, {}));
    QCOMPARE(pressedButtons(form), QStringList({"tbtSys"}));
    QVERIFY(find<QLineEdit>(form, "ebName")->text().isEmpty());
    QVERIFY(find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(!find<QCheckBox>(form, "cbSeq")->isChecked());
    QCOMPARE(find<QComboBox>(form, "comSeqN")->currentText(), QString("1"));
    QCOMPARE(find<QComboBox>(form, "comSeqU")->currentText(), QString("sec"));
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->date(), QDate::currentDate());
}

void PresetFormTest::unconfiguredPresetCopiesThePanel()
{
    writeIni("[Preset1]\nEnabled=1\nName=First\nDesc=The first\nClock=0\nMod=1\n"
             "[Preset4]\nName=Left behind\nClock=1\nMod=3\n");
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));

    PanelState panel;
    panel.date = dateTimeToSerial(QDateTime(QDate(2003, 4, 5), QTime(10, 20, 30)));
    panel.time = dateTimeToSerial(QDateTime(QDate(2000, 1, 1), QTime(11, 22, 33)));
    panel.useTime = false;
    panel.useSeq = true;
    panel.seqNum = 2;
    panel.seqUnit = 1;
    panel.mod = kSourceOtherStamp;
    panel.cre = kSourceFolder;
    panel.attrs[2] = kAttrAdd;
    panel.attrs[3] = kAttrRemove;
    // A section without Enabled counts as not configured.
    QVERIFY(form.LoadPreset(4, panel));
    QCOMPARE(form.windowTitle(), QString("Configure preset #4"));
    QCOMPARE(pressedButtons(form), QStringList({"tbModFmCre", "tbCreFmFld", "tbHPlus", "tbRMinus", "tbtSpec"}));
    QVERIFY(find<QLineEdit>(form, "ebName")->text().isEmpty());
    QVERIFY(find<QLineEdit>(form, "ebDesc")->text().isEmpty());
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->date(), QDate(2003, 4, 5));
    QCOMPARE(find<QTimeEdit>(form, "DTTimeMod")->time(), QTime(11, 22, 33));
    QVERIFY(find<QCheckBox>(form, "cbDatex")->isChecked());
    QVERIFY(!find<QCheckBox>(form, "cbTimex")->isChecked());
    QVERIFY(find<QCheckBox>(form, "cbSeq")->isChecked());
    QCOMPARE(find<QComboBox>(form, "comSeqN")->currentText(), QString("5"));
    QCOMPARE(find<QComboBox>(form, "comSeqU")->currentText(), QString("min"));
    QVERIFY(find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
}

void PresetFormTest::okChecksInOrder()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(2, {}));
    showActive(form);

    clickOn(form, "btnOK");
    trigger(form, "acLblM");
    trigger(form, "acDate");
    trigger(form, "acTime");
    // Unchecking both raised the displayed-date button, so no action is left.
    clickOn(form, "btnOK");
    // The date/time rule, reached only when a displayed-date button is down without date or time.
    find<QAction>(form, "acModFmClk")->setChecked(true);
    clickOn(form, "btnOK");
    trigger(form, "acDate");
    trigger(form, "acLblM");
    clickOn(form, "btnOK");
    find<QLineEdit>(form, "ebName")->setText("Only a name");
    clickOn(form, "btnOK");
    QCOMPARE(boxTexts(), std::vector<std::string>({kNoAction, kNoAction, kNoDateOrTime, kNoName, kNoName}));
    QVERIFY(form.isVisible());
    QVERIFY(!IniFile(iniPath()).readValue("Preset2", "Enabled").has_value());

    // Any character counts, blanks too.
    find<QLineEdit>(form, "ebDesc")->setText(" ");
    clickOn(form, "btnOK");
    QCOMPARE(boxes.size(), std::size_t{5});
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(IniFile(iniPath()).readString("Preset2", "Desc", "?"), std::string(""));
    QString name;
    QString desc;
    form.GetNameAndDesc(name, desc);
    QCOMPARE(name, QString("Only a name"));
    QCOMPARE(desc, QString(" "));
}

void PresetFormTest::namesAreUniqueWithoutRegardToCase()
{
    writeIni("[Preset2]\nEnabled=1\nName=Sample: fix copy\nDesc=Fix\nAttrR=1\nCre=2\n");
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(2, {}));
    find<QLineEdit>(form, "ebName")->setText("SAMPLE: FIX COPY");
    clickOn(form, "btnOK");
    QVERIFY(boxes.empty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(IniFile(iniPath()).readString("Preset2", "Name", ""), std::string("SAMPLE: FIX COPY"));

    QVERIFY(form.LoadPreset(3, {}));
    form.show();
    find<QLineEdit>(form, "ebName")->setText("sample: Fix Copy");
    find<QLineEdit>(form, "ebDesc")->setText("Another");
    trigger(form, "acLblA");
    clickOn(form, "btnOK");
    QCOMPARE(boxTexts(), std::vector<std::string>({"Preset #2 is named \"SAMPLE: FIX COPY\". Please choose a different "
                                                   "name."}));
    QVERIFY(form.isVisible());
    QVERIFY(!IniFile(iniPath()).readValue("Preset3", "Name").has_value());
}

void PresetFormTest::dateAndTimeUncheckedDisableClockSources()
{
    PresetDialog form(iniPath(), formats);
    PanelState panel;
    panel.useSeq = true;
    panel.mod = kSourceClock;
    panel.cre = kSourceClock;
    QVERIFY(form.LoadPreset(1, panel));
    showActive(form);
    auto* modClock = find<QToolButton>(form, "tbModFmClk");
    auto* creClock = find<QToolButton>(form, "tbCreFmClk");
    QVERIFY(find<QComboBox>(form, "comSeqN")->isEnabled());

    trigger(form, "acDate");
    QVERIFY(!find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!find<QCheckBox>(form, "cbSeq")->isEnabled());
    QVERIFY(!find<QComboBox>(form, "comSeqU")->isEnabled());
    QVERIFY(modClock->isChecked());
    clickOn(form, "cbTimex");
    QVERIFY(!find<QAction>(form, "acTime")->isChecked());
    QVERIFY(!modClock->isChecked() && !modClock->isEnabled());
    QVERIFY(!creClock->isChecked() && !creClock->isEnabled());
    QVERIFY(!find<QComboBox>(form, "comSeqN")->isEnabled());

    // Checking one again enables the buttons without pressing them; the sequence needs both.
    trigger(form, "acTime");
    QVERIFY(modClock->isEnabled() && !modClock->isChecked());
    QVERIFY(!find<QCheckBox>(form, "cbSeq")->isEnabled());
    QTRY_VERIFY(find<QTimeEdit>(form, "DTTimeMod")->hasFocus());
    trigger(form, "acDate");
    QVERIFY(find<QCheckBox>(form, "cbSeq")->isEnabled());
    QVERIFY(find<QComboBox>(form, "comSeqN")->isEnabled());
    QTRY_VERIFY(find<QDateEdit>(form, "DTDateMod")->hasFocus());
}

void PresetFormTest::systemClockDisablesPickersButKeepsTheirValues()
{
    PresetDialog form(iniPath(), formats);
    PanelState panel;
    panel.date = dateTimeToSerial(QDateTime(QDate(2004, 2, 3), QTime(0, 0)));
    panel.time = dateTimeToSerial(QDateTime(QDate(2004, 2, 3), QTime(8, 9, 10)));
    panel.cre = kSourceClock;
    QVERIFY(form.LoadPreset(5, panel));
    find<QLineEdit>(form, "ebName")->setText("Morning");
    find<QLineEdit>(form, "ebDesc")->setText("Created at the clock");

    clickOn(form, "tbtSys");
    QVERIFY(!find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(!find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
    clickOn(form, "tbtSys"); // exactly one clock button stays down
    QCOMPARE(pressedButtons(form), QStringList({"tbCreFmClk", "tbtSys"}));
    clickOn(form, "btnOK");
    const IniFile ini(iniPath());
    QCOMPARE(ini.readInteger("Preset5", "Clock", 99), 0);
    QCOMPARE(ini.readString("Preset5", "Date", ""), dateToText(formats, serialOf(QDate(2004, 2, 3))));
    QCOMPARE(ini.readString("Preset5", "Time", ""), timeToText(formats, serialOf(QDate(2004, 2, 3), QTime(8, 9, 10))));

    clickOn(form, "tbtSpec");
    QVERIFY(find<QDateEdit>(form, "DTDateMod")->isEnabled());
    QVERIFY(find<QTimeEdit>(form, "DTTimeMod")->isEnabled());
}

void PresetFormTest::labelsCycleTheirGroups()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);

    QStringList walk;
    for (int click = 0; click < 5; ++click) {
        clickOn(form, "lblM");
        walk.append(pressedButtons(form).join(' '));
    }
    QCOMPARE(walk, QStringList({"tbModFmClk tbtSpec", "tbModFmCre tbtSpec", "tbModFmFld tbtSpec", "tbModFmRec tbtSpec",
                                "tbtSpec"}));

    // The second click of a double click is one more click.
    auto* archive = find<QLabel>(form, "lblA");
    QTest::mouseClick(archive, Qt::LeftButton);
    QTest::mouseDClick(archive, Qt::LeftButton);
    QTest::mouseRelease(archive, Qt::LeftButton);
    QCOMPARE(pressedButtons(form), QStringList({"tbAPlus", "tbtSpec"}));

    walk.clear();
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
        walk.append(pressedButtons(form).join(' '));
    }
    QCOMPARE(walk, QStringList({"tbAPlus tbRMinus tbtSpec", "tbAPlus tbRPlus tbtSpec", "tbAPlus tbtSpec"}));

    // A disabled displayed-date button is skipped.
    trigger(form, "acDate");
    trigger(form, "acTime");
    clickOn(form, "lblC");
    QCOMPARE(pressedButtons(form), QStringList({"tbCreFmMod", "tbAPlus", "tbtSpec"}));
    clickOn(form, "lblM");
    QCOMPARE(pressedButtons(form), QStringList({"tbModFmCre", "tbCreFmMod", "tbAPlus", "tbtSpec"}));
}

void PresetFormTest::storedDateOutsideThePickerRange()
{
    writeIni(
        "[Preset1]\nEnabled=1\nName=Late\nDesc=Late\nMod=1\nDate=" + longYearDate(formats, QDate(2106, 1, 1)) +
        "\n[Preset2]\nEnabled=1\nName=Early\nDesc=Early\nMod=1\nDate=" + longYearDate(formats, QDate(1979, 12, 31)) +
        "\n[Preset3]\nEnabled=1\nName=Edge\nDesc=Edge\nMod=1\nDate=" + longYearDate(formats, QDate(2105, 12, 31)) +
        "\n");
    PresetDialog form(iniPath(), formats);
    const QString format = find<QDateEdit>(form, "DTDateMod")->displayFormat();
    QVERIFY(!form.LoadPreset(1, {}));
    QVERIFY(!form.LoadPreset(2, {}));
    QCOMPARE(boxTexts(), std::vector<std::string>(
                             {"Date exceeds maximum of " + QDate(2105, 12, 31).toString(format).toStdString(),
                              "Date is less than minimum of " + QDate(1980, 1, 1).toString(format).toStdString()}));
    QVERIFY(form.LoadPreset(3, {}));
    QCOMPARE(find<QDateEdit>(form, "DTDateMod")->date(), QDate(2105, 12, 31));
}

void PresetFormTest::refusedWriteKeepsTheDialogOpen()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    form.show();
    find<QLineEdit>(form, "ebName")->setText("Kept");
    find<QLineEdit>(form, "ebDesc")->setText("Kept too");
    trigger(form, "acLblS");
    // A folder in place of the settings file refuses every write, also for root.
    folder->makeFolder("stampkeep.ini");
    clickOn(form, "btnOK");
    QCOMPARE(boxTexts(), std::vector<std::string>({"Unable to write to " + iniPath()}));
    QVERIFY(form.isVisible());
    QVERIFY(form.result() != QDialog::Accepted);
    QCOMPARE(find<QLineEdit>(form, "ebName")->text(), QString("Kept"));
    QCOMPARE(find<QLineEdit>(form, "ebDesc")->text(), QString("Kept too"));
    QCOMPARE(pressedButtons(form), QStringList({"tbSMinus", "tbtSpec"}));
}

void PresetFormTest::utf8TextRoundTrips()
{
    const QString name = QString::fromUtf8("Überstunden ☀ 日本");
    const QString desc = QString::fromUtf8("Ändert „Erstellt“ – 🕒 時刻 = '#1'; [x] \"quoted\"");
    {
        PresetDialog form(iniPath(), formats);
        QVERIFY(form.LoadPreset(4, {}));
        find<QLineEdit>(form, "ebName")->setText(name);
        find<QLineEdit>(form, "ebDesc")->setText(desc);
        trigger(form, "acLblH");
        clickOn(form, "btnOK");
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
    QCOMPARE(IniFile(iniPath()).readString("Preset4", "Name", ""), name.toStdString());
    PresetDialog again(iniPath(), formats);
    QVERIFY(again.LoadPreset(4, {}));
    QCOMPARE(find<QLineEdit>(again, "ebName")->text(), name);
    QCOMPARE(find<QLineEdit>(again, "ebDesc")->text(), desc);
}

void PresetFormTest::savedSectionHoldsSeventeenKeysInOrder()
{
    // A section that is not configured: the dialog starts from the panel, and saving drops the stale keys.
    writeIni("[Preset5]\nEnabled=0\nName=Old\nStale=1\nMod=1\n[Settings]\nSeqUnit=1\n");
    PresetDialog form(iniPath(), formats);
    PanelState panel;
    panel.date = dateTimeToSerial(QDateTime(QDate(1999, 6, 2), QTime(0, 0)));
    panel.time = dateTimeToSerial(QDateTime(QDate(1999, 6, 2), QTime(23, 45, 1)));
    panel.useSeq = true;
    panel.seqNum = 3;
    panel.seqUnit = 1;
    panel.cre = kSourceOtherStamp;
    panel.attrs[1] = kAttrRemove;
    panel.attrs[2] = kAttrAdd;
    QVERIFY(form.LoadPreset(5, panel));
    find<QLineEdit>(form, "ebName")->setText("New");
    find<QLineEdit>(form, "ebDesc")->setText("New one");
    clickOn(form, "tbtZMin");
    clickOn(form, "btnOK");

    QFile file(QString::fromStdString(iniPath()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const qsizetype start = lines.indexOf("[Preset5]");
    QVERIFY(start >= 0);
    const QStringList expected = {
        "Enabled=1",
        "Name=New",
        "Desc=New one",
        "Date=" + QString::fromStdString(dateToText(formats, serialOf(QDate(1999, 6, 2)))),
        "Time=" + QString::fromStdString(timeToText(formats, serialOf(QDate(1999, 6, 2), QTime(23, 45, 1)))),
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
        clickOn(form, button);
        clickOn(form, "btnOK");
        QCOMPARE(IniFile(iniPath()).readInteger("Preset5", "Clock", 99), clock);
    }
    QVERIFY(boxes.empty());
}

void PresetFormTest::statusBarShowsTheHintUnderThePointer()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);
    auto* bar = find<QStatusBar>(form, "sbPre");
    QCOMPARE(bar->currentMessage(), QString(" "));
    QStatusTipEvent hint("Short name for preset (20 characters max)");
    QCoreApplication::sendEvent(find<QLineEdit>(form, "ebName"), &hint);
    QCOMPARE(bar->currentMessage(), QString(" Short name for preset (20 characters max)"));
    QStatusTipEvent none(QString{});
    QCoreApplication::sendEvent(&form, &none);
    QCOMPARE(bar->currentMessage(), QString(" "));

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(find<QToolButton>(form, "tbHMinus"), &enter);
    QCOMPARE(bar->currentMessage(), QString(" Remove the hidden attribute"));

    // Over a group box: the hint of the control under the pointer, disabled ones included.
    auto moveOver = [](QWidget* group, const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, group->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(group, &move);
    };
    auto* clock = find<QGroupBox>(form, "gbClock");
    clickOn(form, "tbtSys");
    moveOver(clock, find<QWidget>(form, "DTDateMod")->geometry().center());
    QCOMPARE(bar->currentMessage(), QString(" Click date element and press up/down keys, or down arrow for calendar"));
    QCOMPARE(clock->toolTip(), QString("Date"));
    moveOver(clock, find<QWidget>(form, "cbSeq")->geometry().center());
    QCOMPARE(bar->currentMessage(), QString(" Enable sequential timestamps"));
    const QPoint emptySpot(clock->width() - 2, clock->height() - 2);
    QVERIFY(!clock->childAt(emptySpot));
    moveOver(clock, emptySpot);
    QCOMPARE(bar->currentMessage(), QString(" "));
    auto* attributes = find<QGroupBox>(form, "gbAttr");
    moveOver(attributes, QPoint(attributes->width() - 2, attributes->height() - 2));
    QCOMPARE(bar->currentMessage(), QString(" Click a button to select; click again to de-select"));
    QVERIFY(attributes->toolTip().isEmpty());
}

// In a small, the usual, a large and a very large font every component of the dialog shows whole, clear of its
// neighbours, and the dialog is never smaller than its design.
void PresetFormTest::layoutHoldsInEveryFont()
{
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    for (const int points : kFontPoints) {
        QApplication::setFont(QFont(QApplication::font().family(), points));
        PresetDialog form(iniPath(), formats);
        QVERIFY(form.LoadPreset(1, {}));
        showActive(form);
        QStringList faults = layoutFaults(form);
        if (form.width() < 419 || form.height() < 304)
            faults << QString("the dialog is %1x%2, smaller than 419x304").arg(form.width()).arg(form.height());
        QVERIFY2(faults.isEmpty(), qPrintable(QString("At %1 points:\n").arg(points) + faults.join('\n')));
    }
}

// A font change lays the dialog out again: a large font widens and heightens it; back in the usual font, every
// component stands where it stood before.
void PresetFormTest::layoutFollowsTheFontBackAndForth()
{
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);
    const QMap<QString, QRect> usual = componentPlaces(form);
    const QSize usualSize = form.size();
    const int usualPoints = form.font().pointSize();

    QApplication::setFont(QFont(QApplication::font().family(), kFontPoints[2]));
    QTRY_VERIFY(form.width() > usualSize.width() && form.height() > usualSize.height());

    QApplication::setFont(QFont(QApplication::font().family(), usualPoints));
    QTRY_COMPARE(form.size(), usualSize);
    const QStringList moved = movedComponents(usual, componentPlaces(form));
    QVERIFY2(moved.isEmpty(), qPrintable(moved.join('\n')));
}

// Every key the dialog declares, and every letter its labels underline, reaches one action or control; the
// description's letter moves there.
void PresetFormTest::keysReachOneThingEach()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);
    const ShortcutCheck check = checkShortcuts(form);
    QVERIFY2(check.faults.isEmpty(), qPrintable(check.faults.join('\n')));
    QCOMPARE(check.reached.value(QKeySequence("F1").toString()), QString("acHelp"));
    // Each label also names the control it stands for, to those who listen to the screen.
    for (const QLabel* label : form.findChildren<QLabel*>(QRegularExpression("^lbl")))
        QVERIFY2(label->buddy(), qPrintable(label->objectName()));

    QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(find<QLineEdit>(form, "ebDesc")->hasFocus());
}

// A name as long as the field takes shows whole: with the cursor at its end, its start is still in sight. So too in
// a large system font, where the dialog widens with the field.
void PresetFormTest::nameFieldShowsTheLongestName()
{
    PresetDialog form(iniPath(), formats);
    showActive(form);
    auto* name = find<QLineEdit>(form, "ebName");
    name->setText("Sample: simple touch");
    const auto restore = qScopeGuard([font = QApplication::font()] { QApplication::setFont(font); });
    const auto startInSight = [name] {
        name->grab(); // a line edit scrolls to its cursor while it paints
        return name->cursorPositionAt(QPoint(0, name->height() / 2)) == 0;
    };
    for (const int points : {QApplication::font().pointSize(), 24}) {
        QApplication::setFont(QFont(QApplication::font().family(), points));
        QTRY_COMPARE(name->font().pointSize(), points);
        QTRY_VERIFY(startInSight());
        QVERIFY(name->geometry().right() < form.width());
    }
}

// Clock buttons that can be pressed are drawn in full contrast, pressed or not and without the pointer over them: their
// black outlines show, where a greyed glyph has none.
void PresetFormTest::clockButtonsShowTheirGlyphsInFull()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);
    for (const char* name : {"tbtSpec", "tbtSys", "tbtZMin", "tbtZSec"}) {
        auto* button = find<QToolButton>(form, name);
        QVERIFY2(button->isEnabled() && !button->underMouse(), name);
        const QImage image = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
        QVERIFY2(darkest < 48, qPrintable(QString("%1: darkest grey %2").arg(name).arg(darkest)));
    }
}

// A key whose action is disabled does nothing: Alt+Q (sequential times, which need both date and time) types no "q"
// into the description while the time is left out; once the action is enabled again the key runs it.
void PresetFormTest::keyOfADisabledActionTypesNothing()
{
    PresetDialog form(iniPath(), formats);
    QVERIFY(form.LoadPreset(1, {}));
    showActive(form);
    trigger(form, "acTime");
    auto* sequence = find<QAction>(form, "acSeq");
    QVERIFY(!sequence->isEnabled());
    auto* desc = find<QLineEdit>(form, "ebDesc");
    desc->setFocus();
    QTRY_VERIFY(desc->hasFocus());
    QTest::keyClicks(desc, "Stamps");
    QTest::keyClick(desc, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(desc->text(), QString("Stamps"));
    QVERIFY(!sequence->isChecked());

    trigger(form, "acTime");
    QTest::keyClick(desc, Qt::Key_Q, Qt::AltModifier);
    QVERIFY(sequence->isChecked());
    QCOMPARE(desc->text(), QString("Stamps"));
}

void PresetFormTest::helpOpensThePage()
{
    PresetDialog form(iniPath(), formats);
    showActive(form);
    // The test program has no help page beside it, so the help engine reports the missing page.
    QTest::keyClick(&form, Qt::Key_F1);
    clickOn(form, "btnHelp");
    const std::vector<std::string> texts = boxTexts();
    QCOMPARE(texts.size(), std::size_t{2});
    for (const std::string& text : texts)
        QVERIFY(QString::fromStdString(text).startsWith("Help file not found: "));
}

QTEST_MAIN(PresetFormTest)
#include "presetform_test.moc"
