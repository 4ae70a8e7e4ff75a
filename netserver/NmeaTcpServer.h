#pragma once

#include "ClientConnection.h"
#include "ClientSet.h"
#include "NetworkServer.h"
#include "PortListener.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <string>
#include <string_view>

struct LineResult;

// Plain NMEA over TCP, what many plotters and chart apps read when they are told of a "network
// NMEA" source, and what gpsd itself reads from a tcp:// device: every sentence received with a
// valid checksum, as it was received up to its checksum, with CR LF, to every connected client.
// Clients have nothing to say; what they send is read and dropped. Listening, the number of
// clients, who makes room for a newcomer and their bounded queues work as for the GPSD server.
class NmeaTcpServer : public NetworkServer {
    Q_OBJECT

public:
    explicit NmeaTcpServer(quint16 port, const QHostAddress& address = QHostAddress::Any,
                           QObject* parent = nullptr);
    ~NmeaTcpServer() override;

    PortListener& TcpListener() override { return Listener; }
    // Every line the link has processed, with its text when its checksum was valid.
    void LineProcessed(const LineResult& line, std::string_view sentence);
    // The watchdog's check, as for the GPSD server.
    void CheckListener() override;
    int ClientCount() const override { return Clients.Connected(); }
    int HeldClients() const override { return Clients.Held(); }

private:
    void AcceptClients();
    void FlushClients();

    PortListener Listener;
    QElapsedTimer Clock;
    // Lines arrive in batches, a receiver's cycle at once from a gateway or a fast port: each
    // client's are handed to the system together once the batch is in, one system call per
    // client instead of one per line and client.
    QTimer BatchEnd;
    ClientSet<ClientConnection> Clients;
    std::string Line; // reused for every sentence
};
