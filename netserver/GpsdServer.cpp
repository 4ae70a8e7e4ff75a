#include "GpsdServer.h"

#include "GpsdReply.h"

#include <QTcpSocket>

GpsdServer::GpsdServer(NavState& nav, quint16 port, const QHostAddress& address, QObject* parent)
    : QObject(parent), Nav(nav), ListenPort(port), Address(address)
{
    connect(&Listener, &QTcpServer::newConnection, this, &GpsdServer::AcceptClient);
}

void GpsdServer::CheckListener()
{
    if (Client && !HasClient()) {
        Client->deleteLater();
        Client = nullptr;
    }
    if (Client || Listener.isListening())
        return;
    // A port taken by another program fails quietly here; the next tick tries again.
    if (Listener.listen(Address, ListenPort))
        ListenPort = Listener.serverPort();
}

bool GpsdServer::HasClient() const
{
    return Client && Client->state() == QAbstractSocket::ConnectedState;
}

void GpsdServer::AcceptClient()
{
    while (QTcpSocket* socket = Listener.nextPendingConnection()) {
        if (Client) {
            // Connected in the same instant as the one we took: refused like any later one.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        Client = socket;
        // Replies are whole lines that a plotter waits for; do not hold them back.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &GpsdServer::AnswerClient);
    }
    Listener.close();
}

void GpsdServer::AnswerClient()
{
    QTcpSocket* socket = Client;
    if (!socket)
        return;
    const QByteArray received = socket->readAll();
    for (const char command : received) {
        const std::string reply = GpsdAnswer(command, Nav);
        if (!reply.empty() && !Send(reply))
            return;
    }
}

// Queues one reply; false when the client was dropped for not reading.
bool GpsdServer::Send(const std::string& reply)
{
    const auto size = static_cast<qint64>(reply.size());
    if (Client->bytesToWrite() + size > UnsentReplyLimit) {
        // Hand what the kernel will take before judging the client.
        Client->flush();
        if (Client->bytesToWrite() + size > UnsentReplyLimit) {
            Client->abort();
            return false;
        }
    }
    Client->write(reply.data(), size);
    return true;
}
