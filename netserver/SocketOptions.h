#pragma once

#include <QtGlobal>

#include <chrono>

class QTcpSocket;

// What the system knows about one client's TCP connection and does not tell through Qt.

// Keepalive on a connected socket, tuned so that a peer that vanished without closing (a phone
// that left the Wi-Fi, a plotter that lost power) is let go after about letGoAfter: probes start
// after two thirds of it, and six unanswered ones end the connection. Data that the peer does not
// acknowledge for that long ends it too: while we keep sending, keepalive never starts.
void SetKeepAlive(QTcpSocket& socket, std::chrono::seconds letGoAfter);

// Bytes handed to the system for this socket that the peer has not yet acknowledged; 0 where the
// system does not say.
qint64 UnacknowledgedBytes(const QTcpSocket& socket);
