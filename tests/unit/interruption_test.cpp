// SIGINT, SIGTERM and SIGHUP taken as a request to stop. Each case runs in a child process, as the handlers and the
// noted signal last for the life of a process.
#include "platform/interruption.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <poll.h>

TEST(InterruptionTest, SignalIsNotedThenRaisedAgain)
{
    // The process lives on with the signal noted and the watcher woken, until it is raised again by default.
    EXPECT_EXIT(
        {
            installInterruptionHandlers();
            std::raise(SIGTERM);
            pollfd watched{};
            watched.fd = interruptionNotifier();
            watched.events = POLLIN;
            std::fprintf(stderr, "signal %d readable %d\n", interruptionSignal(), poll(&watched, 1, 0));
            raiseInterruption();
        },
        testing::KilledBySignal(SIGTERM), "signal 15 readable 1");
}

TEST(InterruptionTest, SignalIgnoredFromTheStartStaysIgnored)
{
    // As under nohup: nothing is noted, and raiseInterruption returns.
    EXPECT_EXIT(
        {
            std::signal(SIGHUP, SIG_IGN);
            installInterruptionHandlers();
            std::raise(SIGHUP);
            raiseInterruption();
            std::exit(7);
        },
        testing::ExitedWithCode(7), "");
}
