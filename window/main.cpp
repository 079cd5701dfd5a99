// Stampkeep: parses its command line, then either hands it to the running instance or becomes that instance.
#include "core/mediaplugin.h"
#include "platform/interruption.h"
#include "platform/paths.h"
#include "platform/programfiles.h"
#include "platform/programstart.h"
#include "window/handoffchannel.h"
#include "window/mainwindow.h"
#include "window/startup.h"
#include "window/stopwatcher.h"
#include "winutil/focusframestyle.h"
#include "winutil/qtmessagebox.h"

#include "core/datetimeformats.h"
#include "core/errorbox.h"

#include <QApplication>
#include <QIcon>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

// The start and the window's whole life; every object of it is gone when this returns.
int runStampkeep(int argc, char** argv)
{
    // Past a file size limit, saving the settings file must end in "Unable to write to", not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv); // also adopts the user's locale for the C library
    QApplication::setApplicationName(kProgramName);
    // Docks and task bars match the window to its desktop entry and icon by these.
    QGuiApplication::setDesktopFileName("org.stampkeep.Stampkeep");
    QApplication::setWindowIcon(QIcon(":/resources/stampkeep.png"));
    installFocusFrameStyle();
    // A stop during the start answers the box it shows and ends the start; the window takes stops over once made.
    const QMetaObject::Connection startStops =
        QObject::connect(&StopWatcher::instance(), &StopWatcher::stopRequested, &StopWatcher::answerOpenBox);
    const auto stopped = [] { return interruptionSignal() != 0; };
    const DateTimeFormats formats = BuildDateTimeFormats();
    installQtMessageBox();
    // Photos' and videos' recorded dates, loaded when a run first needs one.
    static MediaPluginReader recordedDates(interruptionSignal);
    setRecordedDateReader(&recordedDates);

    // The arguments as the system passed them, bytes and all, once Qt has taken its own options out: a name need not
    // be text.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::erase(arguments, std::string());
    if (StartUp::showHelpIfAsked(arguments))
        return 0;
    const std::string program = QApplication::applicationFilePath().toStdString();
    const std::string iniFileName = settingsFilePath(program);
    // An installed program keeps its settings in the user's configuration folder, which may not exist yet.
    if (runsInstalled(program))
        makePrivateFolders(folderPart(iniFileName));
    HandOffMessage ownCommandLine = StartUp::parseArguments(arguments, iniFileName, formats);
    if (stopped())
        return 0;
    StartUp start;
    if (start.handOver(ownCommandLine))
        return 0;

    MainWindow mainForm(iniFileName, formats);
    QObject::disconnect(startStops);
    if (stopped())
        return 0;
    mainForm.setOwnCommandLine(std::move(ownCommandLine));
    start.storeHandles(static_cast<std::uint32_t>(getpid()), static_cast<std::uint32_t>(mainForm.winId()));
    HandOffChannel channel;
    QString error;
    if (start.hasSharedBlock() && !channel.listen(error))
        std::cerr << "stampkeep: " << error.toStdString() << "; later starts cannot reach this window\n";
    QObject::connect(&channel, &HandOffChannel::messageArrived, &mainForm, &MainWindow::handOffMessage);
    mainForm.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    // From the first moment, so that a stop signal during the start also lets the start finish in order.
    installInterruptionHandlers();
    // Qt would abort without a display; a start from a console or a script learns why instead.
    if (!hasGraphicalDisplay()) {
        std::cerr << "Cannot start Stampkeep: no graphical display\n";
        return 2;
    }
    const int exitCode = runStampkeep(argc, argv);
    // Everything is saved and released by now; the parent learns which signal ended the program.
    raiseInterruption();
    return exitCode;
}
