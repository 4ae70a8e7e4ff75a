#pragma once

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, logout, a closed terminal) turned into something an
// event loop can wait for: the handlers only write a byte into a pipe, whose read end the caller
// watches (a QSocketNotifier) to end the program the normal way, with its whole shutdown, or, for
// a service, to read its settings again on SIGHUP. A signal that is ignored already (nohup) stays
// ignored. SIGPIPE is ignored, so a closed pipe or socket shows as a failed write instead of
// killing the program.
// Returns the read end, or -1 when the pipe cannot be made (the signals then keep their default).
int WatchTerminationSignals();

// Which signals came since the last look.
struct ReceivedSignals {
    bool End = false;    // SIGINT or SIGTERM
    bool Hangup = false; // SIGHUP
};

// Empties the pipe after the read end became readable.
ReceivedSignals DrainTerminationSignals(int readEnd);
