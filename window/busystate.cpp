// The window's busy state and the queue of work that arrived while it was busy.
#include "window/busystate.h"

#include <QApplication>

void BusyState::setBusy(bool value)
{
    busy = value;
    emit busyChanged(busy);
    // Repaint during long operations; user input waits until the operation is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyState::whenIdle(std::function<void()> work)
{
    if (busy)
        waitingWork.push_back(std::move(work));
    else
        work();
}

void BusyState::runWaitingWork()
{
    // Work that makes the window busy again queues what arrives meanwhile behind what is still waiting.
    while (!busy && !waitingWork.empty()) {
        const std::function<void()> work = std::move(waitingWork.front());
        waitingWork.erase(waitingWork.begin());
        work();
    }
}

BusyState::Guard::Guard(BusyState& state) : state(state)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    state.setBusy(true);
}

BusyState::Guard::~Guard()
{
    QApplication::restoreOverrideCursor();
    state.setBusy(false);
    emit state.operationEnded();
    // After the code that made the window busy has finished, not inside it.
    if (!state.waitingWork.empty())
        QMetaObject::invokeMethod(&state, &BusyState::runWaitingWork, Qt::QueuedConnection);
}
