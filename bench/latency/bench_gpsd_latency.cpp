// Reply latency of the GPSD server over loopback, in microseconds:
//   1. an old plotter sends "o" and waits for the whole position reply;
//   2. a current client sends ?POLL; and waits for the POLL object;
//   3. the same while a flood client asks for megabytes of replies and never reads them, being
//      dropped and connecting again all the time.
// Meanwhile the server gets a fix and a sentence ten times a second, as from a fast receiver.
//
// The server runs in this process's Qt event loop, as in the program. The clients are plain
// blocking POSIX sockets on other threads; a blocking QTcpSocket on the same thread would stall
// the very loop that must answer it.
#include "GpsdServer.h"
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rounds = 30000;
constexpr int WarmUpRounds = 200;

const std::string Sentences[] = {
    WithNmeaChecksum("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W") + "\r\n",
    WithNmeaChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\n",
    WithNmeaChecksum("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\r\n",
    WithNmeaChecksum("GPGSV,2,1,05,04,40,083,46,05,17,308,41,09,07,344,39,12,22,228,45") + "\r\n",
    WithNmeaChecksum("GPGSV,2,2,05,24,61,120,50") + "\r\n",
};

int ConnectLoopback(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool SendAll(int fd, const std::string& text)
{
    return ::send(fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

// Lines as they come from one connection.
class LineReader {
public:
    explicit LineReader(int fd) : Fd(fd) {}
    // The next line ending in CR LF, without it; false when the connection failed.
    bool Next(std::string& line)
    {
        std::size_t end;
        while ((end = Buffer.find("\r\n")) == std::string::npos) {
            char chunk[4096];
            const ssize_t count = ::recv(Fd, chunk, sizeof chunk, 0);
            if (count <= 0)
                return false;
            Buffer.append(chunk, static_cast<std::size_t>(count));
        }
        line.assign(Buffer, 0, end);
        Buffer.erase(0, end + 2);
        return true;
    }

private:
    int Fd;
    std::string Buffer;
};

// Round-trip times of one kind of question; empty when the connection failed.
std::vector<double> MeasureRoundTrips(quint16 port, const std::string& question, const std::string& answerStart)
{
    std::vector<double> micros;
    const int fd = ConnectLoopback(port);
    if (fd < 0)
        return micros;
    LineReader reader(fd);
    micros.reserve(Rounds);
    std::string line;
    // The first rounds warm up the caches and the connection and are not counted.
    for (int i = -WarmUpRounds; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        bool answered = SendAll(fd, question);
        while (answered && !line.starts_with(answerStart))
            answered = reader.Next(line);
        if (!answered) {
            micros.clear();
            break;
        }
        line.clear();
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        if (i >= 0)
            micros.push_back(took.count());
    }
    ::close(fd);
    return micros;
}

// A client that watches everything and asks for POLLs without end, never reading a byte; the
// server drops it, and it comes back.
void Flood(quint16 port, const std::atomic<bool>& stop, int& connections)
{
    // On board the flood client runs on another machine; here it shares our few cores, and its own
    // sending must not be what slows the others down: only the server's work for it should.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
    std::string polls = R"(?WATCH={"enable":true,"json":true,"nmea":true};)";
    for (int i = 0; i < 1000; ++i)
        polls += "?POLL;";
    while (!stop) {
        const int fd = ConnectLoopback(port);
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        ++connections;
        while (!stop && SendAll(fd, polls)) {
        }
        ::close(fd);
    }
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

void Report(const char* title, std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    std::printf("%s: %zu round trips\n  p50 %.1f us  p99 %.1f us  max %.1f us\n", title, micros.size(),
                Percentile(micros, 0.50), Percentile(micros, 0.99), micros.back());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaInput input(nav);
    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    // Room for the flood client to come back at once each time it is dropped.
    server.SetMaxClients(3);
    server.SetDevice(QStringLiteral("/dev/ttyBENCH"));
    const auto feed = [&] {
        for (const std::string& sentence : Sentences) {
            for (const char c : sentence) {
                if (const auto line = input.Intake(c))
                    server.LineProcessed(*line, input.ValidLine());
            }
        }
    };
    feed();
    QTimer receiver;
    QObject::connect(&receiver, &QTimer::timeout, &server, feed);
    receiver.start(100);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &server, &GpsdServer::CheckListener);
    watchdog.start(500);
    server.CheckListener();
    if (!server.IsListening()) {
        std::fprintf(stderr, "cannot listen on loopback\n");
        return 1;
    }

    std::vector<double> letters, polls, pollsFlooded;
    int floodConnections = 0;
    std::thread clients([&, port = server.Port()] {
        letters = MeasureRoundTrips(port, "o", "GPSD,O=");
        polls = MeasureRoundTrips(port, "?POLL;", R"({"class":"POLL")");
        std::atomic<bool> stop = false;
        std::thread flooder(Flood, port, std::cref(stop), std::ref(floodConnections));
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // let it fill its queue first
        pollsFlooded = MeasureRoundTrips(port, "?POLL;", R"({"class":"POLL")");
        stop = true;
        flooder.join();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    clients.join();

    if (letters.empty() || polls.empty() || pollsFlooded.empty()) {
        std::fprintf(stderr, "a connection to the server failed\n");
        return 1;
    }
    Report("GPSD \"o\" over loopback", letters);
    Report("GPSD ?POLL; over loopback", polls);
    Report("GPSD ?POLL; beside a client that floods and never reads", pollsFlooded);
    std::printf("  (the flood client connected %d times: dropped each time its queue passed %lld KiB)\n",
                floodConnections, static_cast<long long>(GpsdServer::UnsentReplyLimit / 1024));
    return 0;
}
