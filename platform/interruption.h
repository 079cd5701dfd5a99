// SIGINT, SIGTERM and SIGHUP taken as a request to stop: the handlers only note the signal, so that a run ends
// between two entries and a window closes as its Exit does.
#pragma once

// Installs the handlers (once; later calls do nothing). SA_RESTART, so that system calls in progress are not cut short.
void installInterruptionHandlers();
// The signal that arrived since the handlers were installed; 0 when none.
int interruptionSignal();
// A descriptor that becomes readable when a signal arrives, for an event loop to watch (read end of a non-blocking,
// close-on-exec pipe the handler writes one byte to). -1 before installInterruptionHandlers.
int interruptionNotifier();
// Gives the signal that arrived its default action again and raises it, so that the parent sees how the process
// ended; returns only when no signal arrived.
void raiseInterruption();
