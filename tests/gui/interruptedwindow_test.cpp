// The window and a stop signal. The handlers and the noted signal last for the life of this process, so the run,
// which must start with none noted, comes first.
#include "core/handoffblock.h"
#include "core/inifile.h"
#include "fake/scopedvariable.h"
#include "gui/windowfixture.h"
#include "platform/interruption.h"
#include "platform/sharedblock.h"
#include "window/filelistmodel.h"
#include "window/mainwindow.h"

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QTreeView>

#include <csignal>

class InterruptedWindowTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void runStopsBetweenTwoFilesThenTheWindowCloses();
    void idleWindowClosesAsExitDoes();
    void stopDuringTheStartUpBoxEndsTheStart();
};

void InterruptedWindowTest::runStopsBetweenTwoFilesThenTheWindowCloses()
{
    installInterruptionHandlers();
    const QDateTime before = local(2000, 1, 1, 0, 0, 0);
    MainWindow form(iniPath(), formats);
    showActive(form);
    std::vector<std::string> paths;
    for (const char* name : {"gone.txt", "b.txt", "c.txt"}) {
        const std::string& path = paths.emplace_back(makeFile(name, before));
        form.AddFile(path, listedState(path));
    }
    QVERIFY(QFile::remove(QString::fromStdString(paths[0])));
    find<QTreeView>(form, "lvMain")->selectAll();
    find<QAction>(form, "acModFmClk")->setChecked(true);
    // The signal comes as the second file is shown done.
    connect(&form.fileList(), &QAbstractItemModel::dataChanged, this, [](const QModelIndex& row) {
        if (row.row() == 1)
            std::raise(SIGTERM);
    });
    trigger(form, "acApply");

    // The second file is touched whole, the third keeps its state; the failed first asks for no box.
    QVERIFY(diskModified(paths[1]) != before);
    QCOMPARE(diskModified(paths[2]), before);
    QVERIFY(boxes.empty());
    QTRY_VERIFY(!form.isVisible());
}

void InterruptedWindowTest::idleWindowClosesAsExitDoes()
{
    MainWindow form(iniPath(), formats);
    find<QComboBox>(form, "comSeqN")->setCurrentIndex(4);
    showActive(form);
    idle();
    QVERIFY(form.isVisible());
    std::raise(SIGTERM);
    QTRY_VERIFY(!form.isVisible());
    const IniFile ini(iniPath());
    QCOMPARE(ini.readInteger("Settings", "SeqNumber", 0), 4);
}

// The real program, with a folder where its settings file belongs, stops at the "Cannot read" box before its window
// exists; a stop signal then answers the box and ends the start by that signal, without a window.
void InterruptedWindowTest::stopDuringTheStartUpBoxEndsTheStart()
{
    const TempDir runtime;
    const ScopedVariable ownRuntime("XDG_RUNTIME_DIR", runtime.path().c_str());
    const QString program = QString::fromStdString(*folder / "stampkeep");
    QVERIFY(QFile::copy(STAMPKEEP_PROGRAM, program));
    QVERIFY(QDir().mkpath(QString::fromStdString(*folder / "stampkeep.ini")));
    const QString systemName = QString::fromStdString(SharedBlock::systemName(kHandOffBlockName));
    const QString socket = QString::fromStdString(runtime.path()) + systemName + ".socket";
    QProcess start;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    start.setProcessEnvironment(environment);
    start.start(program, {});
    QVERIFY(start.waitForStarted());
    // The block is made just before the window, whose making shows the box; the window would listen after it.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("/dev/shm" + systemName), 10000);
    QTest::qWait(1000);
    QVERIFY(!QFile::exists(socket));
    QCOMPARE(start.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(start.processId()), SIGTERM);
    const bool ended = start.waitForFinished(5000);
    if (!ended)
        start.kill();
    QVERIFY(ended);
    QCOMPARE(start.exitStatus(), QProcess::CrashExit);
    QCOMPARE(start.exitCode(), SIGTERM);
    QVERIFY(!QFile::exists(socket));
}

QTEST_MAIN(InterruptedWindowTest)
#include "interruptedwindow_test.moc"
