#pragma once

#include <QHostAddress>
#include <QString>
#include <QTcpServer>

// The TCP port one of our servers listens on. It keeps listening whatever the number of clients:
// a connection beyond the server's room waits, connected, and is handed over as soon as a client
// leaves, instead of being refused by a closed port or reset. A waiting connection reads ahead at
// most a little, so waiting clients cannot grow our memory.
//
// A port that another program holds is tried again at every Listen (the reception watchdog's
// tick), and what stands in the way is told in words, once when it starts and once when it ends.
class PortListener : public QTcpServer {
    Q_OBJECT

public:
    // The most MaxClients can be set to; each client may hold a bounded queue of our memory.
    static constexpr int ClientLimit = 64;
    // Plotters and loggers on board: a chart plotter and a logger at once is the normal case.
    static constexpr int DefaultMaxClients = 8;

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

    // Listens, unless it already does.
    void Listen();
    // The next waiting connection while the server, serving connectedClients, has room.
    QTcpSocket* NextWaiting(int connectedClients);

    const QString& Service() const { return ServiceName; }
    quint16 Port() const { return ListenPort; }
    // Why the port is not listening, in words; empty while it listens (or before the first try).
    const QString& Problem() const { return Obstacle; }

signals:
    // The problem changed: there is one now, or it is over and the port listens.
    void ProblemChanged(const QString& problem);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QString ServiceName;
    QHostAddress Address;
    quint16 ListenPort = 0;
    int ClientsAllowed = DefaultMaxClients;
    QString Obstacle;
};
