// SIGINT, SIGTERM and SIGHUP as the window program's event loops see them, from the first box of a start on.
#pragma once

#include <QObject>

class StopWatcher : public QObject
{
    Q_OBJECT

public:
    // The process's one watcher, made with the application on first use. It watches only once the stop handlers are
    // installed (platform/interruption), so the program asks for it before it can show any box.
    static StopWatcher& instance();
    // Answers the box, dialog or menu open over the program as Escape would, so that the code that opened it goes
    // on; false when none is open.
    static bool answerOpenBox();

signals:
    // A stop signal has arrived; each arrival the event loop notices is told once.
    void stopRequested();

private:
    explicit StopWatcher(QObject* parent);
    void signalArrived();
};
