// The preset buttons and menus of the main window: apply, configure, remove and the Shift+Alt+n menus.
#include "core/datetimeformats.h"
#include "core/inifile.h"
#include "gui/windowfixture.h"
#include "window/mainwindow.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QTimeEdit>
#include <QToolButton>

class PresetButtonsTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void applyingTheSamplesSetsThePanel();
    void storedClockAndIncrement();
    void removedPresetOpensTheDialogOnItsButton();
    void configuringAnUnconfiguredPresetCopiesThePanel();
    void shiftAltNumberOpensTheMenu();
    void enterRunsTheDefaultOfAMenuOpenedByItsKey();
    void eachArrowBelongsToItsButton();

private:
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    // The names of the panel's pressed state buttons.
    QStringList pressedButtons() const
    {
        QStringList names;
        for (const char* name :
             {"acModFmClk", "acModFmCre", "acModFmFld", "acCreFmClk", "acCreFmMod", "acCreFmFld", "acAminus", "acAPlus",
              "acSMinus", "acSPlus", "acHMinus", "acHPlus", "acRMinus", "acRPlus"})
            if (action(name)->isChecked())
                names << name;
        return names;
    }
    // Answers the preset dialog from inside its event loop once it shows; `trigger` lets the event loop run before,
    // where an answer already waiting would find no dialog.
    void whenDialogOpens(std::function<void(QDialog&)> answer)
    {
        dialogAnswer = std::move(answer);
        find<QDialog>(*form, "PresetForm")->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [answer = std::exchange(dialogAnswer, {})] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                answer(*dialog);
            });
        }
        return false;
    }

    std::unique_ptr<MainWindow> form;
    std::function<void(QDialog&)> dialogAnswer;
};

void PresetButtonsTest::init()
{
    WindowFixture::init();
    form = std::make_unique<MainWindow>(iniPath(), formats);
    showActive(*form);
}

void PresetButtonsTest::cleanup()
{
    form.reset();
    WindowFixture::cleanup();
}

void PresetButtonsTest::applyingTheSamplesSetsThePanel()
{
    action("acAPlus")->setChecked(true);
    action("acModFmCre")->setChecked(true);
    action("acDate")->setChecked(false);
    form->findChild<QComboBox*>("comSeqN")->setCurrentIndex(4);
    form->findChild<QDateEdit*>("DTDateMod")->setDate(QDate(2001, 5, 6));

    QTest::mouseClick(form->findChild<QToolButton*>("tbPre1"), Qt::LeftButton);
    QCOMPARE(pressedButtons(), (QStringList{"acModFmClk", "acCreFmClk"}));
    QVERIFY(action("acDate")->isChecked());
    QVERIFY(action("acTime")->isChecked());
    QVERIFY(!action("acSeq")->isChecked());
    QCOMPARE(form->findChild<QComboBox*>("comSeqN")->currentText(), QString("1"));
    QCOMPARE(form->findChild<QComboBox*>("comSeqU")->currentText(), QString("sec"));
    QCOMPARE(form->findChild<QDateEdit*>("DTDateMod")->date(), QDate::currentDate());

    trigger(*form, "preA2");
    QCOMPARE(pressedButtons(), (QStringList{"acCreFmMod", "acRMinus"}));
}

void PresetButtonsTest::storedClockAndIncrement()
{
    IniFile ini(iniPath());
    ini.writeBool("Preset3", "Enabled", true);
    ini.writeInteger("Preset3", "Clock", 5); // outside the code set: the stored date and time
    ini.writeString("Preset3", "Date", dateToText(formats, 37017.0));
    ini.writeString("Preset3", "Time", timeToText(formats, 0.5));
    ini.writeInteger("Preset3", "SeqNum", 3);
    ini.writeInteger("Preset3", "SeqUnit", 1);
    ini.writeBool("Preset3", "UseSeq", true);
    ini.writeInteger("Preset3", "Mod", 7); // outside the code set: the group stays as it is
    ini.writeInteger("Preset3", "AttrH", 2);
    MainWindow again(iniPath(), formats);
    again.findChild<QAction*>("acModFmFld")->setChecked(true);
    again.findChild<QAction*>("preA3")->trigger();
    QCOMPARE(again.findChild<QDateEdit*>("DTDateMod")->date(), QDate(2001, 5, 6));
    QCOMPARE(again.findChild<QTimeEdit*>("DTTimeMod")->time(), QTime(12, 0));
    QCOMPARE(again.findChild<QComboBox*>("comSeqN")->currentText(), QString("10"));
    QCOMPARE(again.findChild<QComboBox*>("comSeqU")->currentText(), QString("min"));
    QVERIFY(again.findChild<QAction*>("acSeq")->isChecked());
    QVERIFY(again.findChild<QAction*>("acModFmFld")->isChecked());
    QVERIFY(again.findChild<QAction*>("acHPlus")->isChecked());
}

void PresetButtonsTest::removedPresetOpensTheDialogOnItsButton()
{
    trigger(*form, "preR2");
    QVERIFY(!IniFile(iniPath()).readValue("Preset2", "Enabled"));
    QVERIFY(!action("preA2")->isEnabled());
    QVERIFY(!action("preR2")->isEnabled());
    QCOMPARE(form->findChild<QMenu*>("pmPre2")->defaultAction(), action("preC2"));
    QCOMPARE(form->findChild<QToolButton*>("tbPre2")->toolTip(), QString("Configure preset 2"));
    QCOMPARE(action("preA2")->statusTip(), QString("Apply settings from preset #2"));

    QString caption;
    whenDialogOpens([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        dialog.reject();
    });
    QTest::mouseClick(form->findChild<QToolButton*>("tbPre2"), Qt::LeftButton);
    QCOMPARE(caption, QString("Configure preset #2"));
    QVERIFY(!action("preA2")->isEnabled());
}

void PresetButtonsTest::configuringAnUnconfiguredPresetCopiesThePanel()
{
    action("acCreFmMod")->setChecked(true);
    action("acSMinus")->setChecked(true);
    whenDialogOpens([](QDialog& dialog) {
        QVERIFY(dialog.findChild<QToolButton*>("tbCreFmMod")->isChecked());
        QVERIFY(dialog.findChild<QToolButton*>("tbSMinus")->isChecked());
        QVERIFY(dialog.findChild<QToolButton*>("tbtSpec")->isChecked());
        dialog.findChild<QLineEdit*>("ebName")->setText("Mine");
        dialog.findChild<QLineEdit*>("ebDesc")->setText("Created from Modified, no system");
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    trigger(*form, "preC4");
    QVERIFY(action("preA4")->isEnabled());
    QCOMPARE(action("preA4")->toolTip(), QString("Mine"));
    QCOMPARE(action("preA4")->statusTip(), QString("Preset 4 - Created from Modified, no system"));
    QCOMPARE(form->findChild<QMenu*>("pmPre4")->defaultAction(), action("preA4"));
    QCOMPARE(IniFile(iniPath()).readInteger("Preset4", "Cre", 0), 2);
}

void PresetButtonsTest::shiftAltNumberOpensTheMenu()
{
    QMenu* shown = nullptr;
    QTimer::singleShot(0, this, [&] {
        shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (shown)
            shown->close();
    });
    QTest::keyClick(form.get(), Qt::Key_4, Qt::ShiftModifier | Qt::AltModifier);
    QCOMPARE(shown, form->findChild<QMenu*>("pmPre4"));
    QVERIFY(!action("preA4")->isEnabled());
    QVERIFY(!action("preR4")->isEnabled());
}

// A menu opened by its key runs its bold default item on the first Enter: Apply for the configured sample preset 1.
void PresetButtonsTest::enterRunsTheDefaultOfAMenuOpenedByItsKey()
{
    QSignalSpy applied(action("preA1"), &QAction::triggered);
    QTimer::singleShot(0, this, [] {
        if (QWidget* shown = QApplication::activePopupWidget())
            QTest::keyClick(shown, Qt::Key_Return);
        // A menu that took no item from Enter is closed, so that the test goes on.
        if (QWidget* stillShown = QApplication::activePopupWidget())
            stillShown->close();
    });
    QTest::keyClick(form.get(), Qt::Key_1, Qt::ShiftModifier | Qt::AltModifier);
    QCOMPARE(applied.size(), 1);
}

// Each preset's menu arrow lies inside the frame of its own button, which is drawn at rest, and the buttons stand
// apart, so that an arrow is nearer its own button than the next; the row keeps clear of the Help button.
void PresetButtonsTest::eachArrowBelongsToItsButton()
{
    const QColor panel = form->palette().color(QPalette::Window);
    for (int n = 1; n <= 5; ++n) {
        const QString which = QString("preset %1").arg(n);
        auto* button = form->findChild<QToolButton*>(QString("tbPre%1").arg(n));
        QStyleOptionToolButton option;
        option.initFrom(button);
        option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
        option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;
        const QRect arrow = button->style()
                                ->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, button)
                                .translated(button->pos());
        QVERIFY2(button->geometry().contains(arrow), qPrintable(which));
        if (n < 5) {
            const QWidget* next = form->findChild<QToolButton*>(QString("tbPre%1").arg(n + 1));
            QVERIFY2(next->x() - (arrow.right() + 1) >= 4, qPrintable(which));
        }

        // The frame: the pixels down the button's left and right edges are not the panel's.
        const QImage picture = button->grab().toImage();
        int framed = 0;
        for (int y = picture.height() / 4; y < picture.height() * 3 / 4; ++y)
            for (const int x : {0, picture.width() - 1})
                framed += picture.pixelColor(x, y) != panel;
        QVERIFY2(framed >= picture.height() / 2, qPrintable(which));
    }
    QVERIFY(form->findChild<QWidget*>("tbPresets")->geometry().right() <
            form->findChild<QWidget*>("btnHelp")->geometry().left());
}

QTEST_MAIN(PresetButtonsTest)
#include "presetbuttons_test.moc"
