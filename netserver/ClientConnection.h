#pragma once

#include "MakingRoom.h"

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <string_view>

class QTcpSocket;

// One accepted TCP client of a server that sends it lines of text: what is queued for it is
// bounded, handed to the system at once, and still delivered when the client closes its side
// right after asking (printf 'o' | nc -N host port). Keepalive lets a peer that vanished without
// closing go (SetKeepAlive). It keeps what its server needs to know when a newcomer finds every
// place taken (Standing). Plain sockets of the Qt event loop, for any server of this program that
// talks to plotters.
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

    // A socket just accepted, a child of the listener, served from nowMs (a steady clock's
    // milliseconds, as for every nowMs here); a peer that vanishes goes after about letGoAfter.
    ClientConnection(QTcpSocket* socket, std::int64_t nowMs, std::chrono::seconds letGoAfter);
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    QTcpSocket* Socket() const { return Peer; }
    bool Connected() const;
    // Connected, or closed by the client with commands of its still waiting to be answered.
    bool Readable() const;
    // Queues bytes and hands them to the system; false when the client was dropped for not
    // reading.
    bool Send(std::string_view bytes);
    // Queues bytes only, for a Flush that hands over several at once (one system call instead of
    // one per line); false when the client was dropped for not reading.
    bool Queue(std::string_view bytes);
    void Flush();
    // Whether the connection is over: gone, or closing with what is queued still not collected
    // after CloseTimeout.
    bool Over(std::int64_t nowMs);
    // Ends the connection at once and lets the socket go.
    void Release();

    // The client sent something.
    void Heard(std::int64_t nowMs) { LastHeardMs = nowMs; }
    // It asked for reports and gets them without asking again.
    void SetWatching(bool watching) { Watches = watching; }
    // Looks whether what is queued for it has moved since the last look; regular looks (the
    // watchdog's ticks) tell a queue that has stopped.
    void NoteDrain(std::int64_t nowMs);
    ClientStanding Standing(std::int64_t nowMs) const;

private:
    QTcpSocket* Peer;
    std::int64_t ClosingSince = -1;
    std::int64_t LastHeardMs;
    bool Watches = false;
    qint64 Written = 0;        // bytes ever handed to the socket
    qint64 Delivered = 0;      // of those, acknowledged by the peer at the last look
    std::int64_t LastMovedMs;  // when the queue was last seen empty or moving
    bool Stopped = false;      // the last look found it neither empty nor moving
};
