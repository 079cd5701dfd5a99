// SIGINT, SIGTERM and SIGHUP as the window program's event loops see them, from the first box of a start on.
#include "window/stopwatcher.h"

#include "platform/interruption.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

StopWatcher& StopWatcher::instance()
{
    static QPointer<StopWatcher> watcher;
    if (!watcher)
        watcher = new StopWatcher(QCoreApplication::instance());
    return *watcher;
}

StopWatcher::StopWatcher(QObject* parent) : QObject(parent)
{
    const int descriptor = interruptionNotifier();
    if (descriptor < 0)
        return;
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StopWatcher::signalArrived);
}

bool StopWatcher::answerOpenBox()
{
    QWidget* over = QApplication::activePopupWidget();
    if (!over)
        over = QApplication::activeModalWidget();
    if (!over)
        return false;
    if (auto* dialog = qobject_cast<QDialog*>(over))
        dialog->reject();
    else
        over->close();
    return true;
}

void StopWatcher::signalArrived()
{
    // Left in the pipe, the byte would wake the loop again at once.
    QFile pipe;
    if (pipe.open(interruptionNotifier(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        pipe.readAll();
    emit stopRequested();
}
