#include "NmeaTcpServer.h"

#include "NmeaInput.h"

#include <QTcpSocket>

NmeaTcpServer::NmeaTcpServer(quint16 port, const QHostAddress& address, QObject* parent)
    : NetworkServer(parent), Listener(QStringLiteral("NMEA"), port, address)
{
    Clock.start();
    connect(&Listener, &QTcpServer::newConnection, this, &NmeaTcpServer::AcceptClients);
    BatchEnd.setSingleShot(true);
    BatchEnd.setInterval(0);
    connect(&BatchEnd, &QTimer::timeout, this, &NmeaTcpServer::FlushClients);
}

NmeaTcpServer::~NmeaTcpServer()
{
    Clients.Detach(this);
}

void NmeaTcpServer::LineProcessed(const LineResult& line, std::string_view sentence)
{
    if (Clients.Empty() || !line.ChecksumValid || sentence.empty())
        return;
    Line.assign(sentence).append("\r\n");
    for (const auto& client : Clients) {
        if (client->Connected())
            client->Queue(Line);
    }
    if (!BatchEnd.isActive())
        BatchEnd.start();
}

void NmeaTcpServer::FlushClients()
{
    for (const auto& client : Clients) {
        if (client->Connected())
            client->Flush();
    }
}

void NmeaTcpServer::CheckListener()
{
    Clients.NoteDrain(Clock.elapsed());
    AcceptClients();
    Listener.Listen();
}

void NmeaTcpServer::AcceptClients()
{
    const std::int64_t now = Clock.elapsed();
    while (QTcpSocket* socket = Clients.Admit(Listener, now, this)) {
        ClientConnection& client = Clients.Add(std::make_unique<ClientConnection>(socket, now, Listener.KeepAlive()));
        // A plotter may send its own sentences or nothing at all; either way, this is not a place
        // to put them, but it has shown that it is there.
        const auto drop = [this, &client, socket] {
            client.Heard(Clock.elapsed());
            socket->skip(socket->bytesAvailable());
        };
        connect(socket, &QTcpSocket::readyRead, this, drop);
        connect(socket, &QTcpSocket::disconnected, this, &NmeaTcpServer::AcceptClients, Qt::QueuedConnection);
        if (socket->bytesAvailable() > 0)
            drop();
    }
    TellClientsChanged();
}
