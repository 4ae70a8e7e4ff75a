#pragma once

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <string_view>

class QTcpSocket;

// One accepted TCP client of a server that sends it lines of text: what is queued for it is
// bounded, handed to the system at once, and still delivered when the client closes its side
// right after asking (printf 'o' | nc -N host port). Plain sockets of the Qt event loop, for any
// server of this program that talks to plotters.
class ClientConnection {
public:
    // Replies a client has not yet taken off our hands; a client that does not read is dropped
    // past this, instead of growing our memory without end. The others are not held up by it.
    static constexpr qint64 UnsentLimit = 64 * 1024;
    // How long a client that has closed its side may take to collect what is queued for it.
    static constexpr std::chrono::milliseconds CloseTimeout{2000};
    // What the socket layer may read ahead for one client; the rest waits in the system, and the
    // event loop serves the other clients in between.
    static constexpr qint64 ReadAhead = 16 * 1024;

    // A socket just accepted, a child of the listener.
    explicit ClientConnection(QTcpSocket* socket);
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    QTcpSocket* Socket() const { return Peer; }
    bool Connected() const;
    // Connected, or closed by the client with commands of its still waiting to be answered.
    bool Readable() const;
    // Queues bytes and hands them to the system; false when the client was dropped for not
    // reading.
    bool Send(std::string_view bytes);
    // Whether the connection is over, given a steady clock's milliseconds: gone, or closing with
    // what is queued still not collected after CloseTimeout.
    bool Over(std::int64_t nowMs);
    // Ends the connection at once and lets the socket go.
    void Release();

private:
    QTcpSocket* Peer;
    std::int64_t ClosingSince = -1;
};
