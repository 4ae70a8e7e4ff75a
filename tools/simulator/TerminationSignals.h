#pragma once

class QCoreApplication;

// Makes SIGINT and SIGTERM end the event loop of app, so that the program unwinds normally and
// cleans up after itself (the device link). SIGPIPE is ignored: a closed pipe shows as a failed
// write instead of killing the program.
void QuitOnTerminationSignals(QCoreApplication& app);
