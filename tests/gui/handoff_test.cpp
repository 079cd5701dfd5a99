// Start-up and the hand-off: later starts, run as real processes (stampkeep, or stkcli starting it), reach the
// running window held by this test.
#include "core/handoffblock.h"
#include "core/inifile.h"
#include "gui/windowfixture.h"
#include "platform/sharedblock.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/handoffchannel.h"
#include "window/mainwindow.h"
#include "window/startup.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QLocalSocket>
#include <QTreeView>

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
    void windowShownButNeverActivatedListsItsFiles();
    void laterStartAddsFiles();
    void laterStartFromAnotherFolderListsItsOwnFiles();
    void everyNameArrivesWhole();
    void stkcliHandsOverNamesWithQuotes();
    void laterStartWithOnlySwitchesSetsThePanel();
    void keptDateHandsOverNoSequence();
    void presetSwitchAppliesOnlyThePreset();
    void badSwitchHandsOverNothing();
    void handOffDuringABusyRunWaitsForItsEnd();
    void windowKeptFromItsEventsStillConfirms();
    void killedFirstInstanceIsReplaced();
    void twoQuickLaterStartsBothArrive();
    void unreachableInstanceLeavesAWindowOfItsOwn();
    void malformedMessagesAreDropped();
    void aMessageInPiecesIsConfirmed();

private:
    // This test process as the running instance.
    void becomeRunningInstance(const std::vector<std::string>& arguments = {}, bool activate = true);
    // A later start of the real program (or of another, such as stkcli) in `folder`; returns its exit code.
    int runLaterStart(const QStringList& arguments, const QString& workingFolder = {}, QString started = {});
    QStringList listedNames() const;
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }

    QProcessEnvironment laterEnvironment() const;

    QString program; // a copy of stampkeep in the test folder, so that its settings file is the test's
    std::unique_ptr<StartUp> start;
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<HandOffChannel> channel;
    TempDir runtime;
};

void HandOffTest::initTestCase()
{
    WindowFixture::initTestCase();
    // A runtime folder of its own gives this test a hand-off block and socket of its own: no running Stampkeep and no
    // other test shares them.
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
    std::string error;
    const auto probe = SharedBlock::openOrCreate(kHandOffBlockName, sizeof(TTouchSettings), error);
    QVERIFY2(probe && probe->isOwner(), error.c_str());
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

void HandOffTest::becomeRunningInstance(const std::vector<std::string>& arguments, bool activate)
{
    const std::string ini = iniPath();
    start = std::make_unique<StartUp>();
    HandOffMessage own = StartUp::parseArguments(arguments, ini, formats);
    QVERIFY(!start->handOver(own));
    QVERIFY(start->hasSharedBlock());
    form = std::make_unique<MainWindow>(ini, formats);
    form->setOwnCommandLine(std::move(own));
    start->storeHandles(static_cast<std::uint32_t>(getpid()), static_cast<std::uint32_t>(form->winId()));
    channel = std::make_unique<HandOffChannel>();
    QString error;
    QVERIFY2(channel->listen(error), qPrintable(error));
    connect(channel.get(), &HandOffChannel::messageArrived, form.get(), &MainWindow::handOffMessage);
    if (activate) {
        showActive(*form);
    } else {
        form->setAttribute(Qt::WA_ShowWithoutActivating);
        form->show();
    }
}

// Waits for a later start while this instance's event loop runs: the running window reads the hand-off meanwhile.
bool finishes(QProcess& process, int milliseconds)
{
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.state() == QProcess::NotRunning;
}

QProcessEnvironment HandOffTest::laterEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

int HandOffTest::runLaterStart(const QStringList& arguments, const QString& workingFolder, QString started)
{
    QProcess process;
    process.setProcessEnvironment(laterEnvironment());
    process.setWorkingDirectory(workingFolder.isEmpty() ? QString::fromStdString(folder->path()) : workingFolder);
    QElapsedTimer timer;
    timer.start();
    process.start(started.isEmpty() ? program : started, arguments);
    if (!finishes(process, 10000)) {
        process.kill();
        return -1;
    }
    // A later start hands over and ends at once.
    [&] { QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed()) + " ms")); }();
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

// Its own files, every one of them, listed once the window is shown, and the columns then fitted to them; the block
// holds the record at the offsets of its layout.
void HandOffTest::firstStartListsItsFiles()
{
    const std::string longName(60, 'n');
    folder->makeFile(longName);
    becomeRunningInstance({"*.txt", longName, "/MS"});
    QTRY_COMPARE(listedNames(), (QStringList{"a.txt", "b.txt", "x.txt", QString::fromStdString(longName)}));
    QVERIFY(action("acModFmClk")->isChecked());
    const QTreeView* list = form->findChild<QTreeView*>("lvMain");
    QVERIFY(list->columnWidth(FileListModel::ColFilename) >=
            list->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    const auto& record = start->record();
    QCOMPARE(record.AppWindow, static_cast<std::uint32_t>(getpid()));
    QVERIFY(record.MainWindow != 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    QCOMPARE(int(bytes[36]), 1); // ModifiedSource
    QCOMPARE(int(bytes[72]), 1); // SwitchesGiven
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes + 74), 7), QByteArray("*.txt\r\n"));
}

void HandOffTest::windowShownButNeverActivatedListsItsFiles()
{
    becomeRunningInstance({"a.txt"}, false);
    QTRY_COMPARE(listedNames(), QStringList{"a.txt"});
}

void HandOffTest::laterStartAddsFiles()
{
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"x.txt", "a.txt"}), 0);
    QTRY_COMPARE(listedNames(), (QStringList{"x.txt", "a.txt"}));
    QVERIFY(!action("acModFmClk")->isChecked());
}

void HandOffTest::laterStartFromAnotherFolderListsItsOwnFiles()
{
    const std::string other = folder->makeFolder("other");
    folder->makeFile("other/x.txt");
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"x.txt"}, QString::fromStdString(other)), 0);
    QTRY_COMPARE(form->fileList().rowCount(), 1);
    QCOMPARE(form->fileList().object(0).FileName, other + "/x.txt");
}

// Thousands of names (far beyond the block's 255 bytes), a name that is not text and a name holding `?` that names
// itself only: every one arrives as it was given, and the one that is not text can be touched.
void HandOffTest::everyNameArrivesWhole()
{
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names << QString::fromStdString(folder->makeFile("many/n" + std::to_string(i)));
    const std::string notText = folder->makeFile("bad\xff\xfename.txt");
    folder->makeFile("what?.txt");
    folder->makeFile("whatA.txt");
    becomeRunningInstance();

    QProcess later;
    later.setProcessEnvironment(laterEnvironment());
    later.setWorkingDirectory(QString::fromStdString(folder->path()));
    // QProcess passes its arguments as text; the raw name goes through a shell's printf.
    later.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf 'bad\\377\\376name.txt')\" 'what?.txt'", program});
    QVERIFY(finishes(later, 10000));
    QCOMPARE(later.exitCode(), 0);
    QCOMPARE(runLaterStart(names), 0);
    QTRY_COMPARE(form->fileList().rowCount(), 3002);
    QCOMPARE(form->fileList().object(0).FileName, notText);
    QCOMPARE(form->fileList().object(1).FileName, *folder / "what?.txt");
    QCOMPARE(form->fileList().object(3001).FileName, names.last().toStdString());

    // The rows come selected; the first is the one that is not text.
    action("acAPlus")->setChecked(true);
    trigger(*form, "acApply");
    QCOMPARE(currentPlatform().readEntry(notText)->attrs, kAttrArchive);
}

void HandOffTest::stkcliHandsOverNamesWithQuotes()
{
    const std::string quoted = folder->makeFile("q\"uote.txt");
    folder->makeFile("sub dir/y.txt");
    const std::string registration = *folder / "config/stampkeep/app-path";
    folder->makeFile("config/stampkeep/app-path", program.toStdString() + "\n");
    becomeRunningInstance();
    QProcess stkcli;
    QProcessEnvironment environment = laterEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(*folder / "config"));
    stkcli.setProcessEnvironment(environment);
    stkcli.setWorkingDirectory(QString::fromStdString(folder->path()));
    stkcli.start(STKCLI_PROGRAM, {"q\"uote.txt", "sub dir/y.txt", "/T:1:14:15 PM"});
    QVERIFY(finishes(stkcli, 10000));
    QCOMPARE(stkcli.exitCode(), 0);
    QTRY_COMPARE(form->fileList().rowCount(), 2);
    QCOMPARE(form->fileList().object(0).FileName, quoted);
    QCOMPARE(form->fileList().object(1).FileName, *folder / "sub dir/y.txt");
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

// A kept date leaves no step, and no sequence, even though the sequence cannot be toggled once the date is out.
void HandOffTest::keptDateHandsOverNoSequence()
{
    becomeRunningInstance();
    action("acSeq")->setChecked(true);
    QCOMPARE(runLaterStart({"/MS", "/S:45", "/XD"}), 0);
    QTRY_VERIFY(!action("acDate")->isChecked());
    QVERIFY(!action("acSeq")->isChecked());
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

// The later start's parsing runs here, so that its error box can be answered; what it hands over changes nothing.
void HandOffTest::badSwitchHandsOverNothing()
{
    becomeRunningInstance();
    const HandOffMessage message = StartUp::parseArguments({"x.txt", "/Q", "/A+"}, iniPath(), formats);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, std::string("\"/Q\" is not a valid switch\r\n"));
    form->handOffMessage(message);
    QCOMPARE(listedNames(), QStringList{});
    QVERIFY(!action("acAPlus")->isChecked());
}

// A touch or an adding of files runs to its end before the next command line is taken; every command line that
// waited is taken then, in order, also after one that names no files.
void HandOffTest::handOffDuringABusyRunWaitsForItsEnd()
{
    becomeRunningInstance();
    const HandOffMessage switchesOnly = StartUp::parseArguments({"/A+"}, iniPath(), formats);
    const HandOffMessage message = StartUp::parseArguments({"x.txt", "/ME"}, iniPath(), formats);
    {
        const BusyState::Guard busy(form->busyState());
        form->handOffMessage(switchesOnly);
        form->handOffMessage(message);
        QCoreApplication::processEvents();
        QCOMPARE(listedNames(), QStringList{});
        QVERIFY(!action("acAPlus")->isChecked());
    }
    QTRY_COMPARE(listedNames(), QStringList{"x.txt"});
    QVERIFY(action("acAPlus")->isChecked());
    QVERIFY(action("acModFmRec")->isChecked());
}

// A window kept from its event loop, as a long touch or a long read of a photo keeps it, confirms a later start at
// once: that start ends without a window of its own, and its file is listed once the run is over.
void HandOffTest::windowKeptFromItsEventsStillConfirms()
{
    becomeRunningInstance();
    QProcess later;
    later.setProcessEnvironment(laterEnvironment());
    later.setWorkingDirectory(QString::fromStdString(folder->path()));
    {
        const BusyState::Guard busy(form->busyState());
        QElapsedTimer clock;
        clock.start();
        later.start(program, {"x.txt"});
        // Waiting here holds this thread, the window's, for the whole life of the later start.
        QVERIFY(later.waitForFinished(20000));
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(listedNames(), QStringList{});
    }
    QTRY_COMPARE(listedNames(), QStringList{"x.txt"});
}

void HandOffTest::killedFirstInstanceIsReplaced()
{
    QProcess first;
    first.setProcessEnvironment(laterEnvironment());
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

// Each later start's message is its own, so none is lost to the next.
void HandOffTest::twoQuickLaterStartsBothArrive()
{
    becomeRunningInstance();
    QCOMPARE(runLaterStart({"a.txt"}), 0);
    QCOMPARE(runLaterStart({"b.txt"}), 0);
    QTRY_COMPARE(listedNames(), (QStringList{"a.txt", "b.txt"}));
}

// A running instance that does not listen: the later start says so and runs a window of its own, which leaves the
// block to its owner.
void HandOffTest::unreachableInstanceLeavesAWindowOfItsOwn()
{
    becomeRunningInstance();
    channel.reset();
    const TTouchSettings before = start->record();
    QProcess later;
    later.setProcessEnvironment(laterEnvironment());
    later.setWorkingDirectory(QString::fromStdString(folder->path()));
    later.start(program, {"a.txt"});
    QVERIFY(later.waitForStarted());
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += later.readAllStandardError()).contains("cannot reach the running Stampkeep"),
                             8000);
    QTest::qWait(300);
    QCOMPARE(later.state(), QProcess::Running);
    QCOMPARE(start->record().AppWindow, before.AppWindow);
    ::kill(static_cast<pid_t>(later.processId()), SIGTERM);
    QVERIFY(later.waitForFinished(5000));
    QCOMPARE(later.exitStatus(), QProcess::CrashExit);
}

// A peer that does not start with the wake-up byte, or announces more than any command line holds, is cut off at
// once, and the window takes nothing.
void HandOffTest::malformedMessagesAreDropped()
{
    becomeRunningInstance();
    const QString socketPath = QString::fromStdString(runtime.path()) + "/" +
                               QString::fromStdString(SharedBlock::systemName(kHandOffBlockName).substr(1)) + ".socket";
    const std::string tooLong = std::string(1, kHandOffWakeUp) + std::string("\xff\xff\xff\x7f", kHandOffLengthSize);
    for (const std::string& start : {std::string("GET / HTTP/1.0\r\n"), tooLong}) {
        QLocalSocket peer;
        peer.connectToServer(socketPath);
        QVERIFY(peer.waitForConnected(1000));
        peer.write(start.data(), static_cast<qint64>(start.size()));
        QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QLocalSocket::UnconnectedState, 2000);
    }
    QCOMPARE(listedNames(), QStringList{});
}

// A message may arrive in pieces: here everything but its last byte, then that byte alone. It is confirmed once
// whole, and its file listed.
void HandOffTest::aMessageInPiecesIsConfirmed()
{
    becomeRunningInstance();
    const QString socketPath = QString::fromStdString(runtime.path()) + "/" +
                               QString::fromStdString(SharedBlock::systemName(kHandOffBlockName).substr(1)) + ".socket";
    HandOffMessage message = StartUp::parseArguments({"x.txt"}, iniPath(), formats);
    message.workingFolder = folder->path();
    const std::string frame = std::string(1, kHandOffWakeUp) + encodeHandOff(message);
    QLocalSocket peer;
    peer.connectToServer(socketPath);
    QVERIFY(peer.waitForConnected(1000));
    peer.write(frame.data(), static_cast<qint64>(frame.size() - 1));
    QVERIFY(peer.waitForBytesWritten(1000));
    QTest::qWait(200);
    QCOMPARE(peer.state(), QLocalSocket::ConnectedState);
    peer.write(frame.data() + frame.size() - 1, 1);
    QVERIFY(peer.waitForReadyRead(3000));
    QCOMPARE(peer.read(1), QByteArray(1, kHandOffReceived));
    QTRY_COMPARE(listedNames(), QStringList{"x.txt"});
}

QTEST_MAIN(HandOffTest)
#include "handoff_test.moc"
