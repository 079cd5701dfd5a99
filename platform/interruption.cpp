// SIGINT, SIGTERM and SIGHUP taken as a request to stop.
#include "platform/interruption.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t arrived = 0;
// The pipe is set up before any handler can run and stays open for the life of the process.
int readEnd = -1;
int writeEnd = -1;

void noteSignal(int signal)
{
    const int savedErrno = errno;
    arrived = signal;
    // Non-blocking: with the pipe full, the byte already there wakes the watcher all the same.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

void installInterruptionHandlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        readEnd = ends[0];
        writeEnd = ends[1];
    }
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals) {
        // A signal ignored from the start stays ignored, as nohup and background shells ask.
        struct sigaction previous = {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
}

int interruptionSignal()
{
    return arrived;
}

int interruptionNotifier()
{
    return readEnd;
}

void raiseInterruption()
{
    const int signal = arrived;
    if (signal == 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    pthread_sigmask(SIG_UNBLOCK, &unblocked, nullptr);
    raise(signal);
    // Only a signal the default action could not deliver gets here; end as a shell reports a signal.
    std::_Exit(128 + signal);
}
