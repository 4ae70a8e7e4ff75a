#include "GpsdServer.h"

#include "ClientConnection.h"
#include "GpsdReports.h"
#include "NmeaInput.h"

#include <QDateTime>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

constexpr std::string_view Release = DEVOZORA_VERSION;
// Received bytes are answered in pieces of this size, each piece's replies queued before the next
// is read, so that one client's burst of commands never builds more than a piece's replies at once.
constexpr qint64 ReceivePiece = 64;
// Replies built for one client in one turn of the event loop, a few POLL answers: what another
// client may have to wait for.
constexpr qint64 TurnBudget = 8 * 1024;
// The watchdog ticks every 500 ms; a TPV is due again a little before the second is up, so
// that every second tick brings one.
constexpr std::int64_t HeartbeatSlackMs = 100;

} // namespace

struct GpsdServer::Client {
    Client(QTcpSocket* socket, NavState& nav, const GpsdDevice& device, const FixEpoch& latest)
        : Connection(socket), Session(nav, device, latest, Release)
    {
    }

    ClientConnection Connection;
    GpsdSession Session;
    bool TurnQueued = false;    // the rest of its input waits for a later turn
    std::int64_t LastTpvAt = 0; // the server's Clock
};

GpsdServer::GpsdServer(NavState& nav, quint16 port, const QHostAddress& address, QObject* parent)
    : QObject(parent), Nav(nav), Listener(QStringLiteral("GPSD"), port, address)
{
    Clock.start();
    connect(&Listener, &QTcpServer::newConnection, this, &GpsdServer::AcceptClients);
}

GpsdServer::~GpsdServer()
{
    for (const auto& client : Clients)
        client->Connection.Socket()->disconnect(this);
}

void GpsdServer::SetDevice(const QString& path)
{
    const std::string name = path.toStdString();
    if (Device.Open && Device.Path == name)
        return;
    Device.Path = name;
    Device.ActivatedMillis = QDateTime::currentMSecsSinceEpoch();
    Device.Open = true;
    ReportToWatchers(false, [this] { AppendDevice(Reports, Device); });
}

void GpsdServer::DeviceClosed()
{
    if (!Device.Open)
        return;
    Device.Open = false;
    Latest = FixEpoch{};
    ReportToWatchers(true, [this] {
        AppendDevice(Reports, Device);
        AppendTpv(Reports, Latest, Nav, Device.Path);
    });
}

int GpsdServer::ClientCount() const
{
    return static_cast<int>(std::count_if(Clients.begin(), Clients.end(),
                                           [](const auto& client) { return client->Connection.Connected(); }));
}

void GpsdServer::CheckListener()
{
    AcceptClients();
    ReportNoFixWhenQuiet();
    Listener.Listen();
}

void GpsdServer::ForgetGoneClients()
{
    const std::int64_t now = Clock.elapsed();
    std::erase_if(Clients, [this, now](const auto& client) {
        if (!client->Connection.Over(now))
            return false;
        client->Connection.Socket()->disconnect(this);
        client->Connection.Release();
        return true;
    });
}

void GpsdServer::AcceptClients()
{
    ForgetGoneClients();
    while (QTcpSocket* socket = Listener.NextWaiting(ClientCount())) {
        Clients.push_back(std::make_unique<Client>(socket, Nav, Device, Latest));
        Client* client = Clients.back().get();
        connect(socket, &QTcpSocket::readyRead, this, [this, client] { AnswerClient(*client); });
        // A leaving client makes room for a waiting one; queued, because it may leave while the
        // clients are being served.
        connect(socket, &QTcpSocket::disconnected, this, &GpsdServer::AcceptClients, Qt::QueuedConnection);
        if (Greeting)
            QTimer::singleShot(GreetingDelay, socket, [this, socket] { GreetClient(socket); });
        // What it sent while it waited.
        if (socket->bytesAvailable() > 0)
            AnswerClient(*client);
    }
}

void GpsdServer::GreetClient(const QTcpSocket* socket)
{
    Client* client = Find(socket);
    if (!client || !client->Connection.Connected())
        return;
    Out.clear();
    client->Session.Greet(Out);
    client->Connection.Send(Out);
}

void GpsdServer::AnswerClient(Client& client)
{
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    char piece[ReceivePiece];
    qint64 answered = 0;
    ClientConnection& connection = client.Connection;
    while (connection.Readable() && answered < TurnBudget) {
        const qint64 count = connection.Socket()->read(piece, ReceivePiece);
        if (count <= 0)
            return;
        Out.clear();
        client.Session.Receive(std::string_view(piece, static_cast<std::size_t>(count)), now, Out);
        answered += static_cast<qint64>(Out.size());
        if (!connection.Send(Out))
            return;
    }
    // A client that asks faster than it could ever read gets the rest answered on a later turn of
    // the event loop, after every other client has had its turn; one such turn at a time, however
    // often new data announces itself meanwhile.
    if (connection.Readable() && connection.Socket()->bytesAvailable() > 0 && !client.TurnQueued) {
        client.TurnQueued = true;
        QTcpSocket* socket = connection.Socket();
        QMetaObject::invokeMethod(this, [this, socket] {
            if (Client* waiting = Find(socket)) {
                waiting->TurnQueued = false;
                AnswerClient(*waiting);
            }
        }, Qt::QueuedConnection);
    }
}

GpsdServer::Client* GpsdServer::Find(const QTcpSocket* socket) const
{
    const auto found = std::find_if(Clients.begin(), Clients.end(),
                                    [socket](const auto& client) { return client->Connection.Socket() == socket; });
    return found != Clients.end() ? found->get() : nullptr;
}

void GpsdServer::LineProcessed(const LineResult& line, std::string_view sentence)
{
    if (!line.SkyPublished && !line.ChecksumValid)
        return;
    ReportsBuilt = false;
    for (const auto& client : Clients)
        SendEvent(*client, line, sentence);
}

void GpsdServer::SendEvent(Client& client, const LineResult& line, std::string_view sentence)
{
    if (!client.Connection.Connected())
        return;
    const WatchPolicy& watch = client.Session.Watch();
    Out.clear();
    if (watch.WantsSentences() && line.ChecksumValid && !sentence.empty())
        Out.append(sentence).append("\r\n");
    if (watch.WantsReports() && line.SkyPublished) {
        // Built once for all the clients that watch, and only when one does.
        if (!ReportsBuilt) {
            Reports.clear();
            AppendSky(Reports, Nav, Device.Path);
            ReportsBuilt = true;
        }
        Out += Reports;
    }
    client.Connection.Send(Out);
}

void GpsdServer::EpochEnded(const FixEpoch& epoch)
{
    Latest = epoch;
    LastEpochAt = Clock.elapsed();
    ReportToWatchers(true, [this] { AppendTpv(Reports, Latest, Nav, Device.Path); });
}

template <typename Build> void GpsdServer::ReportToWatchers(bool tpv, Build build)
{
    bool built = false;
    const std::int64_t now = Clock.elapsed();
    for (const auto& client : Clients) {
        if (!client->Connection.Connected() || !client->Session.Watch().WantsReports())
            continue;
        if (!built) {
            Reports.clear();
            build();
            built = true;
        }
        if (tpv)
            client->LastTpvAt = now;
        client->Connection.Send(Reports);
    }
}

void GpsdServer::ReportNoFixWhenQuiet()
{
    const std::int64_t now = Clock.elapsed();
    if ((Nav.FixValid && Device.Active()) || now - LastEpochAt < ReceiverQuiet.count())
        return;
    Latest = FixEpoch{};
    Reports.clear();
    for (const auto& client : Clients) {
        if (!client->Connection.Connected() || !client->Session.Watch().WantsReports()
            || now - client->LastTpvAt < HeartbeatInterval.count() - HeartbeatSlackMs)
            continue;
        if (Reports.empty())
            AppendTpv(Reports, Latest, Nav, Device.Path);
        client->LastTpvAt = now;
        client->Connection.Send(Reports);
    }
}
