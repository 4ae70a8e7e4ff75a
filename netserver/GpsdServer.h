#pragma once

#include "ClientConnection.h"
#include "FixEpoch.h"
#include "GpsdObjects.h"
#include "GpsdSession.h"
#include "PortListener.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpSocket;
struct LineResult;
struct NavState;

// The GPSD server on one port, for old plotters (single letters "o" and "l") and current clients
// (the JSON protocol) alike; each client's session finds out which it speaks. Up to MaxClients
// clients are served at once; one more waits, connected, until one of them leaves (PortListener).
// The reception watchdog calls CheckListener() on every tick, which lets gone clients go and
// listens again while another program holds the port. Socket errors need no report: the next
// check heals them.
//
// JSON watchers get one TPV per receiver cycle (EpochEnded), a SKY after each new sky, the
// sentences if they asked, a DEVICE when the device goes away or comes back, and, while there is
// no fix and no cycle comes, a TPV with mode 1 once a second: a plotter must hear that its
// position is no longer current. A client that has not said anything after GreetingDelay is
// greeted with VERSION (see GpsdSession). Each client's replies go through a ClientConnection.
class GpsdServer : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 UnsentReplyLimit = ClientConnection::UnsentLimit;
    // Old plotters send their first letter the moment they are connected, JSON clients that wait
    // for gpsd's greeting would wait for ever: this is long enough for the first and short enough
    // for the second.
    static constexpr std::chrono::milliseconds GreetingDelay{250};
    // No cycle for this long, with the watchdog's fix gone or no device: the receiver has
    // nothing to say, and the watchers are told "no fix" every HeartbeatInterval.
    static constexpr std::chrono::milliseconds ReceiverQuiet{1250};
    static constexpr std::chrono::milliseconds HeartbeatInterval{1000};

    // port 0 takes a free port on the first listen and keeps it for every later one.
    explicit GpsdServer(NavState& nav, quint16 port, const QHostAddress& address = QHostAddress::Any,
                        QObject* parent = nullptr);
    ~GpsdServer() override;

    // Where it listens and how many it serves at once.
    PortListener& TcpListener() { return Listener; }
    void SetMaxClients(int count) { Listener.SetMaxClients(count); }
    // Whether silent clients are greeted (see GreetingDelay); on unless the machine's settings
    // say otherwise.
    void SetGreeting(bool greet) { Greeting = greet; }
    // The serial device has been opened: the JSON reports name it. Opened anew after it had gone,
    // or another device, it is activated now and watchers are told; the watchdog's reopening of
    // a port that never went away is no news.
    void SetDevice(const QString& path);
    // The serial device has gone away: watchers get a DEVICE with "activated":0 and "no fix".
    void DeviceClosed();

    // Every line the serial link has processed, with its text when its checksum was valid (empty
    // otherwise): watching clients get the sentence and a SKY after a new sky, as each asked.
    void LineProcessed(const LineResult& line, std::string_view sentence);
    // A complete receiver cycle: its TPV to every JSON watcher, and to POLL from now on.
    void EpochEnded(const FixEpoch& epoch);

    // The watchdog's check: gone clients are let go and waiting ones served, the port listens
    // unless another program holds it, and watchers of a receiver without fix that has fallen
    // quiet hear so.
    void CheckListener();

    bool IsListening() const { return Listener.isListening(); }
    quint16 Port() const { return Listener.Port(); }
    int ClientCount() const;

private:
    struct Client;

    void AcceptClients();
    void ForgetGoneClients();
    void AnswerClient(Client& client);
    void GreetClient(const QTcpSocket* socket);
    // Reports to every JSON watcher: Reports, built by build on the first one that wants it;
    // tpv when they hold a TPV.
    template <typename Build> void ReportToWatchers(bool tpv, Build build);
    void ReportNoFixWhenQuiet();
    // The client of a socket, or nullptr once it has been let go.
    Client* Find(const QTcpSocket* socket) const;
    void SendEvent(Client& client, const LineResult& line, std::string_view sentence);

    NavState& Nav;
    PortListener Listener;
    bool Greeting = true;
    GpsdDevice Device;
    FixEpoch Latest;                 // mode 1 until a cycle has been reported, and after a loss
    QElapsedTimer Clock;
    std::int64_t LastEpochAt = 0;    // Clock's milliseconds
    std::vector<std::unique_ptr<Client>> Clients;
    // Reused for every reply and event, so that a steady stream does not allocate each time.
    std::string Out;
    std::string Reports;
    bool ReportsBuilt = false;
};
