// Reply latency of the GPSD server over loopback: a client sends "o" and waits for the whole
// position reply, 10,000 times, and reports the percentiles in microseconds.
//
// The server runs in this process's Qt event loop, as in the program. The client is a plain
// blocking POSIX socket on a second thread that only sends and receives; a blocking QTcpSocket
// on the same thread would stall the very loop that must answer it.
#include "GpsdServer.h"
#include "NavState.h"

#include <QCoreApplication>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rounds = 10000;
constexpr int WarmUpRounds = 200;

NavState NavWithFix()
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    nav.FixSource = "RMC";
    nav.FixValid = true;
    nav.Latitude = 48.07038f;
    nav.Longitude = 11.31f;
    nav.Altitude = 545.4f;
    nav.AltitudeUnit = "M";
    nav.UtcTimeText = "123519";
    nav.UtcDateText = "230324";
    nav.Course = 84.4f;
    nav.Speed = 22.4f;
    nav.FixMode = 3;
    return nav;
}

int ConnectLoopback(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// Sends "o" and reads up to the reply's CR LF; false when the connection failed.
bool AskPosition(int fd)
{
    if (::send(fd, "o", 1, 0) != 1)
        return false;
    char buffer[256];
    std::size_t received = 0;
    while (received < 2 || buffer[received - 2] != '\r' || buffer[received - 1] != '\n') {
        const ssize_t count = ::recv(fd, buffer + received, sizeof buffer - received, 0);
        if (count <= 0)
            return false;
        received += static_cast<std::size_t>(count);
        if (received == sizeof buffer)
            return false;
    }
    return true;
}

// Round-trip times in microseconds, or empty when the connection failed.
std::vector<double> MeasureRoundTrips(quint16 port)
{
    std::vector<double> micros;
    const int fd = ConnectLoopback(port);
    if (fd < 0)
        return micros;
    micros.reserve(Rounds);
    // The first rounds warm up the caches and the connection and are not counted.
    for (int i = -WarmUpRounds; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!AskPosition(fd)) {
            micros.clear();
            break;
        }
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        if (i >= 0)
            micros.push_back(took.count());
    }
    ::close(fd);
    return micros;
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    NavState nav = NavWithFix();
    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    server.CheckListener();
    if (!server.IsListening()) {
        std::fprintf(stderr, "cannot listen on loopback\n");
        return 1;
    }

    std::vector<double> micros;
    std::thread client([&micros, port = server.Port()] {
        micros = MeasureRoundTrips(port);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    client.join();

    if (micros.empty()) {
        std::fprintf(stderr, "the connection to the server failed\n");
        return 1;
    }
    std::sort(micros.begin(), micros.end());
    std::printf("GPSD \"o\" round trips over loopback: %zu\n", micros.size());
    std::printf("p50 %.1f us  p99 %.1f us  max %.1f us\n", Percentile(micros, 0.50),
                Percentile(micros, 0.99), micros.back());
    return 0;
}
