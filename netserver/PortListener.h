#pragma once

#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <chrono>

// The TCP port one of our servers listens on. It keeps listening whatever the number of clients:
// a connection beyond the server's room waits, connected, and is handed over as soon as a place is
// free or has been made for it (ClientSet), instead of being refused by a closed port or reset. A
// waiting connection reads ahead at most a little, so waiting clients cannot grow our memory.
//
// A port that another program holds is tried again at every Listen (the reception watchdog's
// tick), and what stands in the way is told in words, once when it starts and once when it ends.
class PortListener : public QTcpServer {
    Q_OBJECT

public:
    // The most MaxClients can be set to; each client may hold a bounded queue of our memory.
    static constexpr int ClientLimit = 64;
    // As many as gpsd serves: a boat's plotters, loggers and phones never come near it, and the
    // places that connections left open by the careless take are made free again for newcomers.
    static constexpr int DefaultMaxClients = ClientLimit;
    // How long a client whose peer vanished without closing keeps its place, by default.
    static constexpr std::chrono::seconds DefaultKeepAlive{180};

    // service names the server where a person reads about it: "GPSD", "NMEA". port 0 takes a free
    // port on the first listen and keeps it for every later one.
    PortListener(QString service, quint16 port, const QHostAddress& address, QObject* parent = nullptr);

    // The listening address of a setting: "any" (every address), "localhost", or an address of
    // this machine. Anything else is taken as localhost: the setting was written to restrict.
    static QHostAddress AddressFor(const QString& setting);

    // Applies from the next Listen.
    void SetAddress(const QHostAddress& address, quint16 port);
    // 1 to ClientLimit, other values are taken as the nearest.
    void SetMaxClients(int count);
    int MaxClients() const { return ClientsAllowed; }
    // Applies to clients served from now on (see SetKeepAlive).
    void SetKeepAlive(std::chrono::seconds letGoAfter) { KeepAliveTime = letGoAfter; }
    std::chrono::seconds KeepAlive() const { return KeepAliveTime; }
    // How much a connection reads ahead of its server (ClientConnection::ReadAhead unless set).
    void SetReadAhead(qint64 bytes) { ReadAheadBytes = bytes; }

    // Listens, unless it already does.
    void Listen();

    const QString& Service() const { return ServiceName; }
    quint16 Port() const { return ListenPort; }
    // Why the port is not listening, in words; empty while it listens (or before the first try).
    const QString& Problem() const { return Obstacle; }

signals:
    // The problem changed: there is one now, or it is over and the port listens.
    void ProblemChanged(const QString& problem);
    // A connection was taken from the system; it waits for its server next.
    void Accepted(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QString ServiceName;
    QHostAddress Address;
    quint16 ListenPort = 0;
    int ClientsAllowed = DefaultMaxClients;
    std::chrono::seconds KeepAliveTime = DefaultKeepAlive;
    qint64 ReadAheadBytes;
    QString Obstacle;
};
