#include "GpsdServer.h"

#include "GpsdReports.h"
#include "NetworkSource.h"
#include "NmeaInput.h"
#include "SkySatellites.h"

#include <QDateTime>
#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr std::string_view Revision = "devozora " DEVOZORA_VERSION;
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

std::optional<SerialLine> SerialLineOf(const QString& device, const SerialSettings& settings, int baud)
{
    if (IsNetworkEntry(device) || SettingsText(settings, baud).empty())
        return std::nullopt;
    SerialLine line;
    line.Bps = baud;
    // "none", "even", ...: the first letter in capitals, N, E, O, M or S.
    line.Parity = static_cast<char>(ParityTexts[static_cast<std::size_t>(settings.ParityIndex)].front() - 'a' + 'A');
    line.StopBits = StopBitsTexts[static_cast<std::size_t>(settings.StopBitsIndex)] == "2" ? 2 : 1;
    return line;
}

struct GpsdServer::Client : ClientConnection {
    Client(QTcpSocket* socket, std::int64_t nowMs, std::chrono::seconds letGoAfter, NavState& nav,
           const GpsdDevice& device, const TpvReport& latest)
        : ClientConnection(socket, nowMs, letGoAfter), Session(nav, device, latest, Revision)
    {
    }

    GpsdSession Session;
    bool TurnQueued = false;    // the rest of its input waits for a later turn
    std::int64_t LastTpvAt = 0; // the server's Clock
};

GpsdServer::GpsdServer(NavState& nav, quint16 port, const QHostAddress& address, QObject* parent)
    : NetworkServer(parent), Nav(nav), Listener(QStringLiteral("GPSD"), port, address)
{
    Clock.start();
    connect(&Listener, &QTcpServer::newConnection, this, &GpsdServer::AcceptClients);
}

GpsdServer::~GpsdServer()
{
    Clients.Detach(this);
}

void GpsdServer::SetDevice(const QString& path, const std::optional<SerialLine>& line)
{
    const std::string name = path.toStdString();
    if (Device.Open && Device.Path == name)
        return;
    Device.Path = name;
    Device.ActivatedMillis = QDateTime::currentMSecsSinceEpoch();
    Device.Open = true;
    Device.Line = line;
    // Another device, or the same one plugged in anew: its cycles start from here.
    History.Forget();
    Device.CycleMs.reset();
    ReportToWatchers(false, [this] { AppendDevice(Reports, Device); });
}

void GpsdServer::DeviceClosed()
{
    if (!Device.Open)
        return;
    Device.Open = false;
    Latest = TpvReport{};
    SkyDueSince = -1;
    ReportToWatchers(true, [this] {
        AppendDevice(Reports, Device);
        AppendEmptySky(Reports, Device.Path);
        AppendTpv(Reports, Latest, Nav, Device.Path);
    });
    SkyListed = false;
}

int GpsdServer::ClientCount() const
{
    return Clients.Connected();
}

void GpsdServer::CheckListener()
{
    Clients.NoteDrain(Clock.elapsed());
    AcceptClients();
    ReportQuietReceiver();
    Listener.Listen();
}

void GpsdServer::AcceptClients()
{
    const std::int64_t now = Clock.elapsed();
    while (QTcpSocket* socket = Clients.Admit(Listener, now, this)) {
        Client& client = Clients.Add(
            std::make_unique<Client>(socket, now, Listener.KeepAlive(), Nav, Device, Latest));
        connect(socket, &QTcpSocket::readyRead, this, [this, &client] { AnswerClient(client); });
        // A leaving client makes room for a waiting one; queued, because it may leave while the
        // clients are being served.
        connect(socket, &QTcpSocket::disconnected, this, &GpsdServer::AcceptClients, Qt::QueuedConnection);
        if (Greeting)
            QTimer::singleShot(GreetingDelay, socket, [this, socket] { GreetClient(socket); });
        // What it sent while it waited.
        if (socket->bytesAvailable() > 0)
            AnswerClient(client);
    }
    TellClientsChanged();
}

void GpsdServer::GreetClient(const QTcpSocket* socket)
{
    Client* client = Clients.Find(socket);
    if (!client || !client->Connected())
        return;
    Out.clear();
    client->Session.Greet(Out);
    client->Send(Out);
}

void GpsdServer::AnswerClient(Client& client)
{
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    char piece[ReceivePiece];
    qint64 answered = 0;
    while (client.Readable() && answered < TurnBudget) {
        const qint64 count = client.Socket()->read(piece, ReceivePiece);
        if (count <= 0)
            return;
        client.Heard(Clock.elapsed());
        Out.clear();
        client.Session.Receive(std::string_view(piece, static_cast<std::size_t>(count)), now, Out);
        const WatchPolicy& watch = client.Session.Watch();
        client.SetWatching(watch.WantsReports() || watch.WantsSentences());
        answered += static_cast<qint64>(Out.size());
        if (!client.Send(Out))
            return;
    }
    // A client that asks faster than it could ever read gets the rest answered on a later turn of
    // the event loop, after every other client has had its turn; one such turn at a time, however
    // often new data announces itself meanwhile.
    if (client.Readable() && client.Socket()->bytesAvailable() > 0 && !client.TurnQueued) {
        client.TurnQueued = true;
        QTcpSocket* socket = client.Socket();
        QMetaObject::invokeMethod(this, [this, socket] {
            if (Client* waiting = Clients.Find(socket)) {
                waiting->TurnQueued = false;
                AnswerClient(*waiting);
            }
        }, Qt::QueuedConnection);
    }
}

void GpsdServer::LineProcessed(const LineResult& line, std::string_view sentence)
{
    if (line.SkyPublished && SkyDueSince < 0)
        SkyDueSince = Clock.elapsed();
    if (!line.ChecksumValid || sentence.empty())
        return;
    Out.assign(sentence).append("\r\n");
    for (const auto& client : Clients) {
        if (client->Connected() && client->Session.Watch().WantsSentences())
            client->Send(Out);
    }
}

void GpsdServer::EpochEnded(const FixEpoch& epoch)
{
    Latest = History.Next(epoch, Nav);
    Device.CycleMs = History.CycleMs();
    LastEpochAt = Clock.elapsed();
    ReportToWatchers(true, [this] {
        AppendDueSky();
        AppendTpv(Reports, Latest, Nav, Device.Path);
    });
    SkyDueSince = -1;
}

void GpsdServer::AppendDueSky()
{
    if (SkyDueSince < 0)
        return;
    AppendSky(Reports, Nav, Device.Path);
    SkyListed = !SkyEmpty(Nav);
}

template <typename Build> void GpsdServer::ReportToWatchers(bool tpv, Build build)
{
    bool built = false;
    const std::int64_t now = Clock.elapsed();
    for (const auto& client : Clients) {
        if (!client->Connected() || !client->Session.Watch().WantsReports())
            continue;
        if (!built) {
            Reports.clear();
            build();
            built = true;
        }
        if (tpv)
            client->LastTpvAt = now;
        client->Send(Reports);
    }
}

void GpsdServer::ReportQuietReceiver()
{
    const std::int64_t now = Clock.elapsed();
    if (now - LastEpochAt < ReceiverQuiet.count())
        return;
    // A sky that no cycle followed: a receiver that tracks satellites without a fix sentence.
    if (SkyDueSince >= 0 && now - SkyDueSince >= ReceiverQuiet.count()) {
        ReportToWatchers(false, [this] { AppendDueSky(); });
        SkyDueSince = -1;
    }
    if (Nav.FixValid && Device.Active())
        return;
    // The watchdog has emptied the sky of a receiver that fell silent.
    if (SkyListed && SkyEmpty(Nav)) {
        ReportToWatchers(false, [this] { AppendEmptySky(Reports, Device.Path); });
        SkyListed = false;
    }
    Latest = TpvReport{};
    Reports.clear();
    for (const auto& client : Clients) {
        if (!client->Connected() || !client->Session.Watch().WantsReports()
            || now - client->LastTpvAt < HeartbeatInterval.count() - HeartbeatSlackMs)
            continue;
        if (Reports.empty())
            AppendTpv(Reports, Latest, Nav, Device.Path);
        client->LastTpvAt = now;
        client->Send(Reports);
    }
}
