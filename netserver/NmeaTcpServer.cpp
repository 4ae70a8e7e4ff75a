#include "NmeaTcpServer.h"

#include "NmeaInput.h"

#include <QTcpSocket>

#include <algorithm>

NmeaTcpServer::NmeaTcpServer(quint16 port, const QHostAddress& address, QObject* parent)
    : QObject(parent), Listener(QStringLiteral("NMEA"), port, address)
{
    Clock.start();
    connect(&Listener, &QTcpServer::newConnection, this, &NmeaTcpServer::AcceptClients);
}

NmeaTcpServer::~NmeaTcpServer()
{
    for (const auto& client : Clients)
        client->Socket()->disconnect(this);
}

void NmeaTcpServer::LineProcessed(const LineResult& line, std::string_view sentence)
{
    if (Clients.empty() || !line.ChecksumValid || sentence.empty())
        return;
    Line.assign(sentence).append("\r\n");
    for (const auto& client : Clients) {
        if (client->Connected())
            client->Send(Line);
    }
}

void NmeaTcpServer::CheckListener()
{
    AcceptClients();
    Listener.Listen();
}

int NmeaTcpServer::ClientCount() const
{
    return static_cast<int>(std::count_if(Clients.begin(), Clients.end(),
                                           [](const auto& client) { return client->Connected(); }));
}

void NmeaTcpServer::AcceptClients()
{
    ForgetGoneClients();
    while (QTcpSocket* socket = Listener.NextWaiting(ClientCount())) {
        Clients.push_back(std::make_unique<ClientConnection>(socket));
        // A plotter may send its own sentences or nothing at all; either way, this is not a place
        // to put them.
        const auto drop = [socket] { socket->skip(socket->bytesAvailable()); };
        connect(socket, &QTcpSocket::readyRead, socket, drop);
        connect(socket, &QTcpSocket::disconnected, this, &NmeaTcpServer::AcceptClients, Qt::QueuedConnection);
        drop();
    }
}

void NmeaTcpServer::ForgetGoneClients()
{
    const std::int64_t now = Clock.elapsed();
    std::erase_if(Clients, [this, now](const auto& client) {
        if (!client->Over(now))
            return false;
        client->Socket()->disconnect(this);
        client->Release();
        return true;
    });
}
