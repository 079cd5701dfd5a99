// The touch settings panel: includes and their controls, the clock commands, group cycling, hints, and dates taken
// from files picked or dropped.
#include "core/datetimeformats.h"
#include "gui/windowfixture.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"
#include "winutil/filedialog.h"
#include "winutil/qtdatetime.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>
#include <QVector3D>

namespace {

// Which button of a group is down, by action name; empty when none is.
QString downButton(MainWindow& form, std::initializer_list<const char*> group)
{
    for (const char* name : group) {
        if (form.findChild<QAction*>(name)->isChecked())
            return name;
    }
    return {};
}

// Sends a drag over a picker and drops it there, as a drag from the file manager or the file list arrives.
bool dropOn(QWidget* picker, const QMimeData& data)
{
    const QPoint centre = picker->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picker, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picker, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// A colour as red, green and blue from 0 to 1; for a widget, the mean colour of its picture.
QVector3D rgb(const QColor& colour)
{
    return QVector3D(colour.redF(), colour.greenF(), colour.blueF());
}
QVector3D rgb(QWidget& widget)
{
    return rgb(widget.grab().toImage().scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0));
}

} // namespace

class PanelTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void includesEnableTheirControls();
    void zeroSecondsAndMinutes();
    void nowSetsBothPickers();
    void labelsCycleTheirGroups();
    void setFromFile();
    void dateOutsideThePickersRange();
    void hintsOfThePanel();
    void dropsOnThePickers();
    void pressedButtonsStandOut();
};

void PanelTest::includesEnableTheirControls()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    auto* datePicker = find<QDateEdit>(form, "DTDateMod");
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    auto* modFromClock = find<QAction>(form, "acModFmClk");
    auto* creFromClock = find<QAction>(form, "acCreFmClk");

    // The increment lists follow the sequence check, which needs both includes.
    QVERIFY(!find<QComboBox>(form, "comSeqN")->isEnabled());
    trigger(form, "acSeq");
    QVERIFY(find<QComboBox>(form, "comSeqN")->isEnabled());
    QVERIFY(find<QComboBox>(form, "comSeqU")->isEnabled());
    trigger(form, "acDate");
    QVERIFY(!datePicker->isEnabled());
    QVERIFY(!find<QAction>(form, "acSeq")->isEnabled());
    QVERIFY(!find<QCheckBox>(form, "cbSeq")->isEnabled());
    QVERIFY(!find<QComboBox>(form, "comSeqN")->isEnabled());
    QVERIFY(!find<QComboBox>(form, "comSeqU")->isEnabled());

    // Checking an include again gives its picker the focus.
    timePicker->setFocus();
    trigger(form, "acDate");
    QVERIFY(datePicker->isEnabled());
    QTRY_VERIFY(datePicker->hasFocus());
    QVERIFY(find<QComboBox>(form, "comSeqN")->isEnabled());

    // With neither include the two "from displayed" buttons are released and disabled; one include brings them
    // back, still released.
    modFromClock->setChecked(true);
    creFromClock->setChecked(true);
    trigger(form, "acDate");
    QVERIFY(modFromClock->isEnabled());
    QVERIFY(modFromClock->isChecked());
    trigger(form, "acTime");
    QVERIFY(!modFromClock->isChecked() && !modFromClock->isEnabled());
    QVERIFY(!creFromClock->isChecked() && !creFromClock->isEnabled());
    QVERIFY(!timePicker->isEnabled());
    QVERIFY(find<QAction>(form, "acModFmCre")->isEnabled());
    trigger(form, "acTime");
    QVERIFY(modFromClock->isEnabled() && creFromClock->isEnabled());
    QVERIFY(!modFromClock->isChecked() && !creFromClock->isChecked());
    QTRY_VERIFY(timePicker->hasFocus());
}

void PanelTest::zeroSecondsAndMinutes()
{
    MainWindow form(iniPath(), formats);
    auto* datePicker = find<QDateEdit>(form, "DTDateMod");
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    datePicker->setDateTime(local(2001, 5, 6, 1, 2, 3));
    timePicker->setDateTime(local(1999, 1, 2, 13, 47, 29));
    trigger(form, "acZerSec");
    QCOMPARE(timePicker->dateTime(), local(1999, 1, 2, 13, 47, 0));
    timePicker->setTime(QTime(13, 47, 29));
    trigger(form, "acZerMin");
    QCOMPARE(timePicker->dateTime(), local(1999, 1, 2, 13, 0, 0));
    QCOMPARE(datePicker->dateTime(), local(2001, 5, 6, 1, 2, 3));
}

void PanelTest::nowSetsBothPickers()
{
    MainWindow form(iniPath(), formats);
    find<QDateEdit>(form, "DTDateMod")->setDate(QDate(2001, 5, 6));
    find<QTimeEdit>(form, "DTTimeMod")->setTime(QTime(3, 4, 5));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    trigger(form, "acNow");
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    for (const QDateTime& shown :
         {find<QDateEdit>(form, "DTDateMod")->dateTime(), find<QTimeEdit>(form, "DTTimeMod")->dateTime()}) {
        QVERIFY(shown >= before);
        QVERIFY(shown <= after);
    }
}

void PanelTest::labelsCycleTheirGroups()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    const auto modified = {"acModFmClk", "acModFmCre", "acModFmFld", "acModFmRec"};
    auto* label = find<QLabel>(form, "lblM");

    // Clicks walk the group and back to none; the second click of a double click counts too.
    QStringList walk;
    for (int click = 0; click < 5; ++click) {
        QTest::mouseClick(label, Qt::LeftButton);
        walk << downButton(form, modified);
    }
    QCOMPARE(walk, QStringList({"acModFmClk", "acModFmCre", "acModFmFld", "acModFmRec", ""}));
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, label->mapTo(&form, label->rect().center()));
    QCOMPARE(downButton(form, modified), QString("acModFmCre"));

    // Alt+letter cycles from the keyboard; a disabled first button is skipped.
    find<QAction>(form, "acModFmCre")->setChecked(false);
    trigger(form, "acDate");
    trigger(form, "acTime");
    walk.clear();
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(&form, Qt::Key_M, Qt::AltModifier);
        walk << downButton(form, modified);
    }
    QCOMPARE(walk, QStringList({"acModFmCre", "acModFmFld", "acModFmRec", ""}));

    // An attribute pair runs remove, add, unchanged.
    const auto archive = {"acAminus", "acAPlus"};
    walk.clear();
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(find<QLabel>(form, "lblA"), Qt::LeftButton);
        walk << downButton(form, archive);
    }
    QCOMPARE(walk, QStringList({"acAminus", "acAPlus", ""}));
    QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
    QCOMPARE(downButton(form, {"acRMinus", "acRPlus"}), QString("acRMinus"));
}

void PanelTest::setFromFile()
{
    const std::string path = makeFile("clock.txt", local(1999, 1, 2, 8, 9, 10));
    MainWindow form(iniPath(), formats);
    auto* datePicker = find<QDateEdit>(form, "DTDateMod");
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    datePicker->setDate(QDate(2001, 5, 6));
    timePicker->setTime(QTime(13, 14, 15));

    // A cancelled dialog changes nothing.
    setNextFileDialogAnswer({});
    trigger(form, "acClkFmFile");
    QCOMPARE(datePicker->date(), QDate(2001, 5, 6));
    QCOMPARE(timePicker->time(), QTime(13, 14, 15));

    // Only the included picker takes the file's Modified stamp.
    trigger(form, "acDate");
    setNextFileDialogAnswer({QString::fromStdString(path)});
    trigger(form, "acClkFmFile");
    QCOMPARE(timePicker->time(), QTime(8, 9, 10));
    QCOMPARE(datePicker->date(), QDate(2001, 5, 6));

    trigger(form, "acDate");
    setNextFileDialogAnswer({QString::fromStdString(path)});
    trigger(form, "acClkFmFile");
    QCOMPARE(datePicker->date(), QDate(1999, 1, 2));

    // A file gone since it was picked changes nothing and says nothing.
    timePicker->setTime(QTime(13, 14, 15));
    setNextFileDialogAnswer({QString::fromStdString(folder->path() + "/gone.txt")});
    trigger(form, "acClkFmFile");
    QCOMPARE(timePicker->time(), QTime(13, 14, 15));
    QVERIFY(boxes.empty());
}

void PanelTest::dateOutsideThePickersRange()
{
    const std::string old = makeFile("old.txt", local(1975, 6, 7, 8, 9, 10));
    const std::string future = makeFile("future.txt", local(2106, 1, 1, 0, 0, 1));
    MainWindow form(iniPath(), formats);
    auto* datePicker = find<QDateEdit>(form, "DTDateMod");
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    datePicker->setDate(QDate(2001, 5, 6));
    timePicker->setTime(QTime(13, 14, 15));

    // The refused date leaves both pickers as they were.
    setNextFileDialogAnswer({QString::fromStdString(old)});
    trigger(form, "acClkFmFile");
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text,
             "Date is less than minimum of " + dateToText(formats, dateTimeToSerial(local(1980, 1, 1, 0, 0, 0))));
    QCOMPARE(boxes[0].caption, std::string("Stampkeep"));
    setNextFileDialogAnswer({QString::fromStdString(future)});
    trigger(form, "acClkFmFile");
    QCOMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(boxes[1].text,
             "Date exceeds maximum of " + dateToText(formats, dateTimeToSerial(local(2105, 12, 31, 0, 0, 0))));
    QCOMPARE(datePicker->date(), QDate(2001, 5, 6));
    QCOMPARE(timePicker->time(), QTime(13, 14, 15));

    // The time picker alone takes any date's time of day.
    trigger(form, "acDate");
    setNextFileDialogAnswer({QString::fromStdString(old)});
    trigger(form, "acClkFmFile");
    QCOMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(timePicker->time(), QTime(8, 9, 10));
}

void PanelTest::hintsOfThePanel()
{
    MainWindow form(iniPath(), formats);
    showActive(form);
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    trigger(form, "acTime");
    QVERIFY(!timePicker->isEnabled());

    // A disabled control still shows its hint.
    QTest::mouseMove(timePicker, timePicker->rect().center());
    QTRY_COMPARE(form.statusBar()->currentMessage(), " " + timePicker->statusTip());

    // The empty part of a group of buttons explains the buttons; elsewhere the file counts come back.
    auto* attributes = find<QGroupBox>(form, "gbAttr");
    QTest::mouseMove(attributes, QPoint(4, attributes->height() - 4));
    QTRY_COMPARE(form.statusBar()->currentMessage(), QString(" Click a button to select; click again to de-select"));
    QVERIFY(attributes->toolTip().isEmpty());
    auto* dateTime = find<QGroupBox>(form, "gbDateTime");
    QTest::mouseMove(dateTime, QPoint(dateTime->width() - 3, dateTime->height() - 3));
    QTRY_COMPARE(form.statusBar()->currentMessage(), QString(" 0 files, 0 selected."));
}

void PanelTest::dropsOnThePickers()
{
    const std::string first = makeFile("first.txt", local(1999, 1, 2, 8, 9, 10));
    const std::string second = makeFile("second.txt", local(2003, 4, 5, 18, 30, 0));
    const std::string sub = folder->makeFolder("sub");
    setModified(sub, local(2002, 3, 4, 5, 6, 7));
    MainWindow form(iniPath(), formats);
    showActive(form);
    auto* datePicker = find<QDateEdit>(form, "DTDateMod");
    auto* timePicker = find<QTimeEdit>(form, "DTTimeMod");
    datePicker->setDate(QDate(2001, 5, 6));
    timePicker->setTime(QTime(13, 14, 15));

    // Several files from the file manager with only the time included: the time picker takes the first file's.
    trigger(form, "acDate");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                   QUrl::fromLocalFile(QString::fromStdString(second)), QUrl::fromLocalFile("/nonexistent")});
    QVERIFY(dropOn(timePicker, files));
    QCOMPARE(timePicker->time(), QTime(8, 9, 10));
    QCOMPARE(datePicker->date(), QDate(2001, 5, 6));

    // A folder gives its own stamp, whichever picker it lands on.
    trigger(form, "acDate");
    QMimeData folderDrop;
    folderDrop.setUrls({QUrl::fromLocalFile(QString::fromStdString(sub))});
    QVERIFY(dropOn(datePicker, folderDrop));
    QCOMPARE(datePicker->date(), QDate(2002, 3, 4));
    QCOMPARE(timePicker->time(), QTime(5, 6, 7));

    // A row of the list is taken as a copy, so it stays in the list; with neither include nothing changes (the
    // pickers are disabled then, so the drop may not even arrive).
    form.fileList().AddFile(second, listedState(second));
    const std::unique_ptr<QMimeData> row(form.fileList().mimeData({form.fileList().index(0, 0)}));
    trigger(form, "acDate");
    trigger(form, "acTime");
    dropOn(datePicker, *row);
    QCOMPARE(datePicker->date(), QDate(2002, 3, 4));
    QCOMPARE(timePicker->time(), QTime(5, 6, 7));
    trigger(form, "acTime");
    QVERIFY(dropOn(timePicker, *row));
    QCOMPARE(timePicker->time(), QTime(18, 30, 0));
    QCOMPARE(form.fileList().rowCount(), 1);

    // Anything that carries no file is refused.
    QMimeData text;
    text.setText("13:14:15");
    QVERIFY(!dropOn(timePicker, text));
    QCOMPARE(timePicker->time(), QTime(18, 30, 0));
}

// In the two styles Qt brings and in a light and a dark palette, each source and attribute button looks clearly
// different once pressed, and nearer to the palette's highlight colour.
void PanelTest::pressedButtonsStandOut()
{
    const QString ownStyle = QApplication::style()->name();
    const QPalette ownPalette = QApplication::palette();
    const auto restore = qScopeGuard([&] {
        QApplication::setStyle(ownStyle);
        QApplication::setPalette(ownPalette);
    });
    QPalette dark(QColor(45, 45, 48));
    dark.setColor(QPalette::Highlight, QColor(61, 142, 201));

    for (const char* style : {"Fusion", "Windows"}) {
        for (const bool darkPalette : {false, true}) {
            QApplication::setStyle(style);
            QApplication::setPalette(darkPalette ? dark : QApplication::style()->standardPalette());
            const QString where = QString("%1 %2: ").arg(style, darkPalette ? "dark" : "light");
            MainWindow form(iniPath(), formats);
            showActive(form);
            for (const char* name :
                 {"acModFmClk", "acModFmCre", "acModFmFld", "acCreFmClk", "acCreFmMod", "acCreFmFld", "acAminus",
                  "acAPlus", "acSMinus", "acSPlus", "acHMinus", "acHPlus", "acRMinus", "acRPlus"}) {
                auto* action = find<QAction>(form, name);
                auto* button = find<QToolButton>(form, qPrintable("tb" + QString(name).mid(2)));
                QCOMPARE(button->defaultAction(), action);
                action->setChecked(false);
                const QVector3D released = rgb(*button);
                action->setChecked(true);
                const QVector3D pressed = rgb(*button);
                const QVector3D highlight = rgb(button->palette().color(QPalette::Highlight));
                // The styles' own pressed look moves the mean colour by 0.16 at most, and toward the highlight by 0.12.
                QVERIFY2((released - pressed).length() > 0.2f, qPrintable(where + name));
                QVERIFY2((pressed - highlight).length() < (released - highlight).length() - 0.17f,
                         qPrintable(where + name));
            }
        }
    }
}

QTEST_MAIN(PanelTest)
#include "panel_test.moc"
