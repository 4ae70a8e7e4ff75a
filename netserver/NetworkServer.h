#pragma once

#include <QObject>

#include <utility>

class PortListener;

// A server for clients on the network, as the station runs them all alike: the reception
// watchdog's check on every tick, where it listens, and who is connected.
class NetworkServer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual PortListener& TcpListener() = 0;
    // Lets gone clients go, serves waiting ones, and listens again while another program holds
    // the port.
    virtual void CheckListener() = 0;
    // Clients connected now.
    virtual int ClientCount() const = 0;
    // Clients still held: the connected ones, and leaving ones whose last replies are going out.
    // Until the last has gone, the check has work to do.
    virtual int HeldClients() const = 0;

signals:
    // A client came or went, or began to leave.
    void ClientsChanged();

protected:
    // Says ClientsChanged when the clients differ from the last time it was said.
    void TellClientsChanged();

private:
    std::pair<int, int> Told{0, 0}; // connected, held
};
