// The window's busy state: while busy it takes no commands, and work that arrives meanwhile waits until it is idle.
#pragma once

#include <QObject>

#include <functional>
#include <vector>

class BusyState : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isBusy() const { return busy; }
    // Tells the window's parts, which enable and disable their commands; long operations repaint meanwhile.
    void setBusy(bool value);
    // Runs `work` now, or once the window is no longer busy, in the order it arrived.
    void whenIdle(std::function<void()> work);

    // Busy, with the wait cursor, for the guard's life.
    class Guard
    {
    public:
        explicit Guard(BusyState& state);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        BusyState& state;
    };

signals:
    void busyChanged(bool busy);
    // A guarded operation has ended: what it changed can be shown.
    void operationEnded();

private:
    void runWaitingWork();

    bool busy = false;
    std::vector<std::function<void()>> waitingWork; // arrived while busy, in order
};
