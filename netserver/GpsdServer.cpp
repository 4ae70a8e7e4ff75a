#include "GpsdServer.h"

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
// What the socket layer may read ahead for one client; the rest waits in the system, and the
// event loop serves the other clients in between.
constexpr qint64 ReadAhead = 16 * 1024;
// The watchdog ticks every 500 ms; a TPV is due again a little before the second is up, so
// that every second tick brings one.
constexpr std::int64_t HeartbeatSlackMs = 100;

std::int64_t Millis(std::chrono::milliseconds duration)
{
    return duration.count();
}

} // namespace

struct GpsdServer::Client {
    Client(QTcpSocket* socket, NavState& nav, const GpsdDevice& device, const FixEpoch& latest)
        : Socket(socket), Session(nav, device, latest, Release)
    {
    }
    bool Connected() const { return Socket->state() == QAbstractSocket::ConnectedState; }
    // A client that has closed its side may still have commands in our buffer to be answered.
    bool Readable() const
    {
        return Connected() || (Socket->state() == QAbstractSocket::ClosingState && Socket->bytesAvailable() > 0);
    }

    QTcpSocket* Socket; // a child of the listener
    GpsdSession Session;
    bool TurnQueued = false; // the rest of its input waits for a later turn
    std::int64_t LastTpvAt = 0;
    std::int64_t ClosingSince = -1;
};

GpsdServer::GpsdServer(NavState& nav, quint16 port, const QHostAddress& address, QObject* parent)
    : QObject(parent), Nav(nav), ListenPort(port), Address(address)
{
    Clock.start();
    connect(&Listener, &QTcpServer::newConnection, this, &GpsdServer::AcceptClients);
}

GpsdServer::~GpsdServer()
{
    for (const auto& client : Clients)
        client->Socket->disconnect(this);
}

void GpsdServer::SetMaxClients(int count)
{
    ClientsAllowed = std::clamp(count, 1, ClientLimit);
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
                                           [](const auto& client) { return client->Connected(); }));
}

void GpsdServer::CheckListener()
{
    ForgetGoneClients();
    ReportNoFixWhenQuiet();
    if (ClientCount() >= ClientsAllowed || Listener.isListening())
        return;
    // A port taken by another program fails quietly here; the next tick tries again.
    if (Listener.listen(Address, ListenPort))
        ListenPort = Listener.serverPort();
}

void GpsdServer::ForgetGoneClients()
{
    const std::int64_t now = Clock.elapsed();
    std::erase_if(Clients, [this, now](const auto& client) {
        QTcpSocket& socket = *client->Socket;
        if (client->Connected())
            return false;
        // A closing socket is still handing the system what was queued for it; one whose client
        // does not take it goes after CloseTimeout.
        if (socket.state() == QAbstractSocket::ClosingState) {
            if (client->ClosingSince < 0)
                client->ClosingSince = now;
            if (now - client->ClosingSince < Millis(CloseTimeout))
                return false;
        }
        socket.disconnect(this);
        socket.abort();
        socket.deleteLater();
        return true;
    });
}

void GpsdServer::AcceptClients()
{
    ForgetGoneClients();
    while (QTcpSocket* socket = Listener.nextPendingConnection()) {
        if (ClientCount() >= ClientsAllowed) {
            // Connected in the same instant as the one that filled the last place.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Replies are whole lines that a plotter waits for; do not hold them back.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->setReadBufferSize(ReadAhead);
        // The system's own send buffer would otherwise grow to megabytes for a client that does
        // not read, all of it replies we built for nothing before the queue limit could tell.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, static_cast<int>(UnsentReplyLimit));
        Clients.push_back(std::make_unique<Client>(socket, Nav, Device, Latest));
        Client* client = Clients.back().get();
        connect(socket, &QTcpSocket::readyRead, this, [this, client] { AnswerClient(*client); });
        if (Greeting)
            QTimer::singleShot(GreetingDelay, socket, [this, socket] { GreetClient(socket); });
    }
    if (ClientCount() >= ClientsAllowed)
        Listener.close();
}

void GpsdServer::GreetClient(const QTcpSocket* socket)
{
    Client* client = Find(socket);
    if (!client || !client->Connected())
        return;
    Out.clear();
    client->Session.Greet(Out);
    Send(*client, Out);
}

void GpsdServer::AnswerClient(Client& client)
{
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    char piece[ReceivePiece];
    qint64 answered = 0;
    while (client.Readable() && answered < TurnBudget) {
        const qint64 count = client.Socket->read(piece, ReceivePiece);
        if (count <= 0)
            return;
        Out.clear();
        client.Session.Receive(std::string_view(piece, static_cast<std::size_t>(count)), now, Out);
        answered += static_cast<qint64>(Out.size());
        if (!Send(client, Out))
            return;
    }
    // A client that asks faster than it could ever read gets the rest answered on a later turn of
    // the event loop, after every other client has had its turn; one such turn at a time, however
    // often new data announces itself meanwhile.
    if (client.Readable() && client.Socket->bytesAvailable() > 0 && !client.TurnQueued) {
        client.TurnQueued = true;
        QTcpSocket* socket = client.Socket;
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
                                    [socket](const auto& client) { return client->Socket == socket; });
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
    if (!client.Connected())
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
    Send(client, Out);
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
        if (!client->Connected() || !client->Session.Watch().WantsReports())
            continue;
        if (!built) {
            Reports.clear();
            build();
            built = true;
        }
        if (tpv)
            client->LastTpvAt = now;
        Send(*client, Reports);
    }
}

void GpsdServer::ReportNoFixWhenQuiet()
{
    const std::int64_t now = Clock.elapsed();
    if ((Nav.FixValid && Device.Active()) || now - LastEpochAt < Millis(ReceiverQuiet))
        return;
    Latest = FixEpoch{};
    Reports.clear();
    for (const auto& client : Clients) {
        if (!client->Connected() || !client->Session.Watch().WantsReports()
            || now - client->LastTpvAt < Millis(HeartbeatInterval) - HeartbeatSlackMs)
            continue;
        if (Reports.empty())
            AppendTpv(Reports, Latest, Nav, Device.Path);
        client->LastTpvAt = now;
        Send(*client, Reports);
    }
}

bool GpsdServer::Send(Client& client, std::string_view bytes)
{
    if (bytes.empty())
        return true;
    QTcpSocket& socket = *client.Socket;
    const auto size = static_cast<qint64>(bytes.size());
    if (socket.bytesToWrite() + size > UnsentReplyLimit) {
        // Hand what the system will take before judging the client.
        socket.flush();
        // Flushing finds out when the client has gone meanwhile.
        if (!client.Connected())
            return false;
        if (socket.bytesToWrite() > 0 && socket.bytesToWrite() + size > UnsentReplyLimit) {
            socket.abort();
            return false;
        }
    }
    socket.write(bytes.data(), size);
    // Straight to the system: a client that closes its side right after its command (nc -N)
    // must find the reply already on its way.
    socket.flush();
    return true;
}
