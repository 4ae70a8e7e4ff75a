#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;
struct NavState;

// The GPSD listener: answers the single-letter commands "o" and "l" of one client at a time from
// NavState. While a client is connected nothing listens, so a second plotter cannot connect; the
// reception watchdog calls CheckListener() on every tick, which listens again once the client has
// gone, and keeps retrying when the port is taken by another program. Socket errors are not
// reported anywhere: the next check heals them.
class GpsdServer : public QObject {
    Q_OBJECT

public:
    // Replies a client has not yet taken off our hands; a client that sends commands without ever
    // reading the replies is dropped past this, instead of growing our memory without end.
    static constexpr qint64 UnsentReplyLimit = 64 * 1024;

    // port 0 takes a free port on the first listen and keeps it for every later one.
    explicit GpsdServer(NavState& nav, quint16 port, const QHostAddress& address = QHostAddress::Any,
                        QObject* parent = nullptr);

    // The watchdog's check: a gone client is let go, and a closed listener listens again.
    void CheckListener();

    bool IsListening() const { return Listener.isListening(); }
    bool HasClient() const;
    quint16 Port() const { return ListenPort; }

private:
    void AcceptClient();
    void AnswerClient();
    bool Send(const std::string& reply);

    NavState& Nav;
    quint16 ListenPort = 0;
    QHostAddress Address;
    QTcpServer Listener;
    QPointer<QTcpSocket> Client;
};
