#include "ClientConnection.h"

#include "SocketOptions.h"

#include <QTcpSocket>

ClientConnection::ClientConnection(QTcpSocket* socket, std::int64_t nowMs, std::chrono::seconds letGoAfter)
    : Peer(socket), LastHeardMs(nowMs), LastMovedMs(nowMs)
{
    // Replies are whole lines that a plotter waits for; do not hold them back.
    Peer->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Peer->setReadBufferSize(ReadAhead);
    // The system's own send buffer would otherwise grow to megabytes for a client that does not
    // read, all of it replies we built for nothing before the limit could tell.
    Peer->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, static_cast<int>(UnsentLimit));
    SetKeepAlive(*Peer, letGoAfter);
}

bool ClientConnection::Connected() const
{
    return Peer->state() == QAbstractSocket::ConnectedState;
}

bool ClientConnection::Readable() const
{
    return Connected() || (Peer->state() == QAbstractSocket::ClosingState && Peer->bytesAvailable() > 0);
}

bool ClientConnection::Send(std::string_view bytes)
{
    if (!Queue(bytes))
        return false;
    Flush();
    return true;
}

bool ClientConnection::Queue(std::string_view bytes)
{
    if (bytes.empty())
        return true;
    const auto size = static_cast<qint64>(bytes.size());
    if (Peer->bytesToWrite() + size > UnsentLimit) {
        // Hand what the system will take before judging the client.
        Peer->flush();
        // Flushing finds out when the client has gone meanwhile.
        if (Peer->state() == QAbstractSocket::UnconnectedState)
            return false;
        if (Peer->bytesToWrite() > 0 && Peer->bytesToWrite() + size > UnsentLimit) {
            Peer->abort();
            return false;
        }
    }
    Written += Peer->write(bytes.data(), size);
    return true;
}

void ClientConnection::Flush()
{
    // Straight to the system: a client that closes its side right after its command must find
    // the reply on its way. Left in our buffer, it would go when the socket is dropped.
    Peer->flush();
}

bool ClientConnection::Over(std::int64_t nowMs)
{
    if (Connected())
        return false;
    // A closing socket is still handing the system what was queued for it.
    if (Peer->state() != QAbstractSocket::ClosingState)
        return true;
    if (ClosingSince < 0)
        ClosingSince = nowMs;
    return nowMs - ClosingSince >= CloseTimeout.count();
}

void ClientConnection::Release()
{
    Peer->abort();
    Peer->deleteLater();
}

void ClientConnection::NoteDrain(std::int64_t nowMs)
{
    if (!Connected())
        return;
    const qint64 queued = Peer->bytesToWrite() + UnacknowledgedBytes(*Peer);
    const qint64 delivered = Written - queued;
    Stopped = queued > 0 && delivered == Delivered;
    if (!Stopped)
        LastMovedMs = nowMs;
    Delivered = delivered;
}

ClientStanding ClientConnection::Standing(std::int64_t nowMs) const
{
    return {Watches, nowMs - LastHeardMs, Stopped ? nowMs - LastMovedMs : 0};
}
