#include "NetworkOutput.h"

#include <QTcpSocket>

#include <algorithm>

namespace {

// A client this far behind does not read: it is dropped, as a gateway would.
constexpr qint64 ClientBacklog = 64 * 1024;
// Datagrams stay below a network's usual packet size, and hold whole lines where they can.
constexpr std::size_t DatagramSize = 1400;

} // namespace

NetworkOutput::NetworkOutput(QObject* parent) : QObject(parent)
{
    connect(&Server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = Server.nextPendingConnection()) {
            Clients.push_back(client);
            connect(client, &QTcpSocket::disconnected, this, [this, client] {
                std::erase(Clients, client);
                client->deleteLater();
            });
        }
    });
}

bool NetworkOutput::ServeTcp(quint16 port, QString& error)
{
    Tcp = true;
    if (!Server.listen(QHostAddress::Any, port)) {
        error = QStringLiteral("cannot serve TCP port %1: %2").arg(port).arg(Server.errorString());
        return false;
    }
    Port = Server.serverPort();
    return true;
}

bool NetworkOutput::SendUdp(const QString& target, QString& error)
{
    Tcp = false;
    const qsizetype colon = target.lastIndexOf(QLatin1Char(':'));
    const QString host = target.left(colon);
    bool portOk = false;
    Port = static_cast<quint16>(target.mid(colon + 1).toUInt(&portOk));
    Target = host == QLatin1String("localhost") ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
    if (colon < 0 || !portOk || Port == 0 || Target.isNull()) {
        error = QStringLiteral("--udp wants ADDRESS:PORT, such as 255.255.255.255:10110");
        return false;
    }
    return true;
}

QString NetworkOutput::Entry() const
{
    return Tcp ? QStringLiteral("tcp://127.0.0.1:%1").arg(Port) : QStringLiteral("udp://:%1").arg(Port);
}

std::ptrdiff_t NetworkOutput::Write(std::string_view bytes)
{
    if (!Plugged)
        return static_cast<std::ptrdiff_t>(bytes.size());
    if (!Tcp) {
        SendDatagrams(bytes);
        return static_cast<std::ptrdiff_t>(bytes.size());
    }
    for (QTcpSocket* client : std::vector<QTcpSocket*>(Clients)) {
        if (client->bytesToWrite() > ClientBacklog)
            client->abort();
        else
            client->write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    return static_cast<std::ptrdiff_t>(bytes.size());
}

void NetworkOutput::SendDatagrams(std::string_view bytes)
{
    while (!bytes.empty()) {
        std::size_t size = std::min(bytes.size(), DatagramSize);
        if (size < bytes.size()) {
            const std::size_t lineEnd = bytes.substr(0, size).rfind('\n');
            if (lineEnd != std::string_view::npos)
                size = lineEnd + 1;
        }
        Udp.writeDatagram(bytes.data(), static_cast<qint64>(size), Target, Port);
        bytes.remove_prefix(size);
    }
}

void NetworkOutput::Unplug()
{
    Plugged = false;
    if (!Tcp)
        return;
    Server.close();
    for (QTcpSocket* client : std::vector<QTcpSocket*>(Clients))
        client->disconnectFromHost();
}

bool NetworkOutput::Replug(QString& error)
{
    Plugged = true;
    return !Tcp || ServeTcp(Port, error);
}
