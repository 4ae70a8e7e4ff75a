#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUdpSocket>

#include <cstddef>
#include <string_view>
#include <vector>

class QTcpSocket;

// The stream on the network, as a boat's Wi-Fi gateway offers it: a TCP server that sends every
// line to every connected client, or datagrams sent to an address and port (a broadcast address
// reaches every listener on that network).
class NetworkOutput : public QObject {
    Q_OBJECT

public:
    explicit NetworkOutput(QObject* parent = nullptr);

    // Serves on the TCP port (0: a free one); on failure returns false and sets error.
    bool ServeTcp(quint16 port, QString& error);
    // Sends to "ADDRESS:PORT"; on failure returns false and sets error.
    bool SendUdp(const QString& target, QString& error);
    // The port entry that reads this output: tcp://127.0.0.1:PORT or udp://:PORT.
    QString Entry() const;

    // Takes all the bytes: a TCP client that does not keep up is dropped.
    std::ptrdiff_t Write(std::string_view bytes);
    // The gateway goes away: its TCP server and every connection close, datagrams stop.
    void Unplug();
    bool Replug(QString& error);

private:
    void SendDatagrams(std::string_view bytes);

    QTcpServer Server;
    std::vector<QTcpSocket*> Clients;
    QUdpSocket Udp;
    QHostAddress Target;
    quint16 Port = 0;
    bool Tcp = true;
    bool Plugged = true;
};
