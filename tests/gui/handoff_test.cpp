// Start-up and the hand-off: later starts, run as real processes, reach the running window held by this test.
#include "core/inifile.h"
#include "core/tfuncs2.h"
#include "gui/windowfixture.h"
#include "platform/sharedblock.h"
#include "window/filelistmodel.h"
#include "window/handoffchannel.h"
#include "window/mainu.h"
#include "window/startup.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>

#include <csignal>
#include <unistd.h>

class HandOffTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartListsItsFiles();
    void laterStartAddsFiles();
    void laterStartWithOnlySwitchesSetsThePanel();
    void presetSwitchAppliesOnlyThePreset();
    void badSwitchHandsOverNothing();
    void killedFirstInstanceIsReplaced();
    void twoQuickLaterStartsLeaveTheLaterOne();
    void longSpecificationsAreCut();

private:
    // This test process as the running instance.
    void becomeRunningInstance(const std::vector<std::string>& arguments = {});
    // A later start of the real program in the test folder; returns its exit code.
    int runLaterStart(const QStringList& arguments);
    QStringList listedNames() const;
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }

    QString program; // a copy of stampkeep in the test folder, so that its settings file is the test's
    std::unique_ptr<StartUp> start;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<HandOffChannel> channel;
    TempDir runtime;
};

void HandOffTest::initTestCase()
{
    WindowFixture::initTestCase();
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
    std::string error;
    const auto probe = SharedBlock::openOrCreate(kHandOffBlockName, sizeof(TTouchSettings), error);
    if (!probe || !probe->isOwner())
        QSKIP("a Stampkeep of this user is running; its hand-off block cannot be borrowed");
}

void HandOffTest::init()
{
    WindowFixture::init();
    program = QString::fromStdString(*folder / "stampkeep");
    QVERIFY(QFile::copy(STAMPKEEP_PROGRAM, program));
    QDir::setCurrent(QString::fromStdString(folder->path()));
    for (const char* name : {"a.txt", "b.txt", "x.txt"})
        folder->makeFile(name);
}

void HandOffTest::cleanup()
{
    channel.reset();
    form.reset();
    start.reset();
    QDir::setCurrent("/");
    WindowFixture::cleanup();
}

void HandOffTest::becomeRunningInstance(const std::vector<std::string>& arguments)
{
    const std::string ini = iniPath();
    start = std::make_unique<StartUp>();
    QVERIFY(!start->handOver(StartUp::parseArguments(arguments, ini)));
    QVERIFY(start->hasSharedBlock());
    form = std::make_unique<TMainForm>(ini);
    form->attachHandOffBlock(&start->record());
    start->storeHandles(static_cast<std::uint32_t>(getpid()), static_cast<std::uint32_t>(form->winId()));
    channel = std::make_unique<HandOffChannel>();
    QString error;
    QVERIFY2(channel->listen(error), qPrintable(error));
    connect(channel.get(), &HandOffChannel::messageArrived, form.get(), &TMainForm::handOffMessage);
    showActive(*form);
}

int HandOffTest::runLaterStart(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(folder->path()));
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        return -1;
    }
    // A later start hands over and ends at once.
    [&] { QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()) + " ms")); }();
    return process.exitCode();
}

QStringList HandOffTest::listedNames() const
{
    QStringList names;
    for (int row = 0; row < form->fileList().rowCount(); ++row)
        names << form->fileList()
                     .data(form->fileList().index(row, FileListModel::ColFilename), Qt::DisplayRole)
                     .toString();
    return names;
}

void HandOffTest::firstStartListsItsFiles()
{
    becomeRunningInstance({"*.txt", "/MS"});
    QTRY_COMPARE(listedNames(), (QStringList{"a.txt", "b.txt", "x.txt"}));
    QVERIFY(action("acModFmClk")->isChecked());
    const auto& record = start->record();
    QCOMPARE(record.AppWindow, static_cast<std::uint32_t>(getpid()));
    QVERIFY(record.MainWindow != 0);
    // The raw bytes: the record sits at the offsets the block's layout gives.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    QCOMPARE(int(bytes[36]), 1); // ModifiedSource
    QCOMPARE(int(bytes[72]), 1); // SwitchesGiven
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes + 74), bytes[73]), QByteArray("*.txt\r\n"));
}

void HandOffTest::laterStartAddsFiles()
{
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"x.txt", "a.txt"}), 0);
    QTRY_COMPARE(listedNames(), (QStringList{"x.txt", "a.txt"}));
    QVERIFY(!action("acModFmClk")->isChecked());
}

void HandOffTest::laterStartWithOnlySwitchesSetsThePanel()
{
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"/MS", "/A+", "/S:45", "/cm"}), 0);
    QTRY_VERIFY(action("acModFmClk")->isChecked());
    QVERIFY(action("acAPlus")->isChecked());
    QVERIFY(action("acCreFmMod")->isChecked());
    QVERIFY(action("acSeq")->isChecked());
    QCOMPARE(form->findChild<QComboBox*>("comSeqN")->currentText(), QString("1"));
    QCOMPARE(form->findChild<QComboBox*>("comSeqU")->currentText(), QString("min"));
    QCOMPARE(listedNames(), QStringList{});
}

void HandOffTest::presetSwitchAppliesOnlyThePreset()
{
    for (const std::string& ini : {iniPath()}) {
        IniFile settings(ini);
        settings.writeBool("Preset3", "Enabled", true);
        settings.writeInteger("Preset3", "AttrH", 2);
    }
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"/3", "/A+", "/MS", "x.txt"}), 0);
    QTRY_COMPARE(listedNames(), QStringList{"x.txt"});
    QTRY_VERIFY(action("acHPlus")->isChecked());
    QVERIFY(!action("acAPlus")->isChecked());
    QVERIFY(!action("acModFmClk")->isChecked());
}

void HandOffTest::badSwitchHandsOverNothing()
{
    becomeRunningInstance();
    QSignalSpy woken(channel.get(), &HandOffChannel::messageArrived);
    // The later start runs here, so that its error box can be answered.
    StartUp later;
    QVERIFY(later.handOver(StartUp::parseArguments({"x.txt", "/Q", "/A+"}, iniPath())));
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, std::string("\"/Q\" is not a valid switch\r\n"));
    QTRY_COMPARE(woken.count(), 1);
    QCOMPARE(listedNames(), QStringList{});
    QVERIFY(!action("acAPlus")->isChecked());
}

void HandOffTest::killedFirstInstanceIsReplaced()
{
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    first.setProcessEnvironment(environment);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    // Wait until the other process owns the block and listens.
    const QString socket = QString::fromStdString(runtime.path()) + "/" +
                           QString::fromStdString(SharedBlock::systemName(kHandOffBlockName).substr(1)) + ".socket";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 5000);
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished());

    becomeRunningInstance({"x.txt"});
    QTRY_COMPARE(listedNames(), QStringList{"x.txt"});
    QCOMPARE(runLaterStart({"a.txt"}), 0);
    QTRY_COMPARE(listedNames(), (QStringList{"x.txt", "a.txt"}));
}

void HandOffTest::twoQuickLaterStartsLeaveTheLaterOne()
{
    becomeRunningInstance();
    // Both write the block before this instance gets to read it: both wake-ups read the later command line.
    QCOMPARE(runLaterStart({"a.txt"}), 0);
    QCOMPARE(runLaterStart({"b.txt"}), 0);
    QTRY_COMPARE(listedNames(), QStringList{"b.txt"});
    QTest::qWait(100);
    QCOMPARE(listedNames(), QStringList{"b.txt"});
}

void HandOffTest::longSpecificationsAreCut()
{
    QStringList names;
    for (char letter = 'c'; letter < 'n'; ++letter)
        names << QString::fromStdString(folder->makeFile(std::string(25, letter)));
    becomeRunningInstance();
    QCOMPARE(runLaterStart(names), 0);
    // Each full path with CR LF; what is past 255 bytes is lost, and a cut path names nothing.
    const int perName = static_cast<int>(names[0].size()) + 2;
    const int whole = 255 / perName;
    QTRY_COMPARE(listedNames().size(), whole);
    QCOMPARE(listedNames().last(), QFileInfo(names[whole - 1]).fileName());
}

QTEST_MAIN(HandOffTest)
#include "handoff_test.moc"
