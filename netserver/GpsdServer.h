#pragma once

#include "ClientConnection.h"
#include "ClientSet.h"
#include "FixEpoch.h"
#include "GpsdObjects.h"
#include "GpsdSession.h"
#include "NetworkServer.h"
#include "PortListener.h"
#include "SerialSettings.h"
#include "TpvEstimates.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

class QTcpSocket;
struct LineResult;
struct NavState;

// The line of the device an entry opens as DEVICE objects tell it: the rate it is set to (baud),
// parity and stop bits of the serial settings; none for a receiver on the network.
std::optional<SerialLine> SerialLineOf(const QString& device, const SerialSettings& settings, int baud);

// The GPSD server on one port, for old plotters (single letters "o" and "l") and current clients
// (the JSON protocol) alike; each client's session finds out which it speaks. Up to MaxClients
// clients are served at once; a newcomer beyond them is served in the place of a client that
// has stopped reading or watches nothing (ClientSet), or waits, connected, until one leaves. The
// reception watchdog calls CheckListener() on every tick, which lets gone clients go and listens
// again while another program holds the port. Socket errors need no report: the next check heals
// them.
//
// JSON watchers get one TPV per receiver cycle (EpochEnded), with the SKY of a new sky just before
// it in the same write: a client that takes every wake-up as a new position (Navit logs a track
// point for each) sees one per cycle however the receiver orders its sentences. A sky that no
// cycle follows goes on its own once the receiver has been quiet for ReceiverQuiet. Watchers also
// get the sentences if they asked, a DEVICE and an empty SKY when the device goes away, a DEVICE
// when it comes back, and, while there is no fix and no cycle comes, a TPV with mode 1 once a
// second: a plotter must hear that its position is no longer current. A client that has not said
// anything after GreetingDelay is greeted with VERSION (see GpsdSession).
class GpsdServer : public NetworkServer {
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

    // Where it listens, how many it serves at once and how long a vanished one keeps its place.
    PortListener& TcpListener() override { return Listener; }
    void SetMaxClients(int count) { Listener.SetMaxClients(count); }
    // Whether silent clients are greeted (see GreetingDelay); on unless the machine's settings
    // say otherwise.
    void SetGreeting(bool greet) { Greeting = greet; }
    // The device has been opened, with its line when it is a serial port: the JSON reports name
    // it. Opened anew after it had gone, or another device, it is activated now and watchers are
    // told; the watchdog's reopening of a port that never went away is no news.
    void SetDevice(const QString& path, const std::optional<SerialLine>& line = std::nullopt);
    // The open serial port's line changed: "Auto" found the receiver's rate.
    void SetDeviceLine(const std::optional<SerialLine>& line) { Device.Line = line; }
    // The device has gone away: watchers get a DEVICE with "activated":0, an empty sky and "no fix".
    void DeviceClosed();

    // Every line the serial link has processed, with its text when its checksum was valid (empty
    // otherwise): watching clients get the sentence as they asked, and a new sky is held for the
    // cycle's TPV.
    void LineProcessed(const LineResult& line, std::string_view sentence);
    // A complete receiver cycle: its TPV to every JSON watcher, and to POLL from now on.
    void EpochEnded(const FixEpoch& epoch);

    // The watchdog's check: gone clients are let go and waiting ones served, the port listens
    // unless another program holds it, and watchers of a receiver without fix that has fallen
    // quiet hear so.
    void CheckListener() override;

    bool IsListening() const { return Listener.isListening(); }
    quint16 Port() const { return Listener.Port(); }
    int ClientCount() const override;
    int HeldClients() const override { return Clients.Held(); }

private:
    struct Client;

    void AcceptClients();
    void AnswerClient(Client& client);
    void GreetClient(const QTcpSocket* socket);
    // Reports to every JSON watcher: Reports, built by build on the first one that wants it;
    // tpv when they hold a TPV.
    template <typename Build> void ReportToWatchers(bool tpv, Build build);
    // The sky that waits for a cycle, before what follows it.
    void AppendDueSky();
    void ReportQuietReceiver();

    NavState& Nav;
    PortListener Listener;
    bool Greeting = true;
    GpsdDevice Device;
    TpvHistory History;
    TpvReport Latest;                // mode 1 until a cycle has been reported, and after a loss
    QElapsedTimer Clock;
    std::int64_t LastEpochAt = 0;    // Clock's milliseconds
    std::int64_t SkyDueSince = -1;   // a new sky waits for its cycle since then; -1: none waits
    bool SkyListed = false;          // the last SKY sent named satellites
    ClientSet<Client> Clients;
    // Reused for every reply and event, so that a steady stream does not allocate each time.
    std::string Out;
    std::string Reports;
};
