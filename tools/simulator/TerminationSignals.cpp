#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

// A handler may do next to nothing: it wakes the event loop through the pipe.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(SignalPipe[1], &byte, 1);
}

} // namespace

void QuitOnTerminationSignals(QCoreApplication& app)
{
    std::signal(SIGPIPE, SIG_IGN);
    if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        while (::read(SignalPipe[0], &byte, 1) > 0) {
        }
        app.quit();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}
