#include "TerminationSignals.h"

#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

// A handler may do next to nothing: it wakes the event loop through the pipe.
void OnSignal(int signal)
{
    const char byte = signal == SIGHUP ? 'h' : 'e';
    [[maybe_unused]] const ssize_t ignored = ::write(SignalPipe[1], &byte, 1);
}

} // namespace

int WatchTerminationSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    if (SignalPipe[0] >= 0)
        return SignalPipe[0];
    if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the program was started with ignored stays ignored: "nohup devozora" must
        // outlive its terminal.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
    return SignalPipe[0];
}

ReceivedSignals DrainTerminationSignals(int readEnd)
{
    ReceivedSignals received;
    char byte = 0;
    while (::read(readEnd, &byte, 1) > 0) {
        received.Hangup |= byte == 'h';
        received.End |= byte != 'h';
    }
    return received;
}
