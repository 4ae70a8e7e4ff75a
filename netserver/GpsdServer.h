#pragma once

#include "GpsdObjects.h"
#include "GpsdSession.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpSocket;
struct LineResult;
struct NavState;

// The GPSD listener on one port, for old plotters (single letters "o" and "l") and current
// clients (the JSON protocol) alike; each client's session finds out which it speaks. Up to
// MaxClients() clients are served at once: the listener listens while fewer are connected and is
// closed at the limit, so one more is refused by the system. The reception watchdog calls
// CheckListener() on every tick, which lets gone clients go and listens again, and keeps retrying
// when the port is taken by another program. Socket errors are not reported anywhere: the next
// check heals them.
class GpsdServer : public QObject {
    Q_OBJECT

public:
    // Replies a client has not yet taken off our hands; a client that does not read is dropped
    // past this, instead of growing our memory without end. The others are not held up by it.
    static constexpr qint64 UnsentReplyLimit = 64 * 1024;
    // The most MaxClients can be set to; each client may hold UnsentReplyLimit of our memory.
    static constexpr int ClientLimit = 64;

    // port 0 takes a free port on the first listen and keeps it for every later one.
    explicit GpsdServer(NavState& nav, quint16 port, const QHostAddress& address = QHostAddress::Any,
                        QObject* parent = nullptr);
    ~GpsdServer() override;

    // 1 to ClientLimit (other values are taken as the nearest); applies from the next connection
    // or check on.
    void SetMaxClients(int count);
    int MaxClients() const { return ClientsAllowed; }
    // The serial device has been opened: the JSON reports name it, activated now.
    void SetDevice(const QString& path);

    // Every line the serial link has processed, with its text when its checksum was valid (empty
    // otherwise): watching clients get the sentence, a TPV after an accepted fix and a SKY after
    // a new sky, as each asked.
    void LineProcessed(const LineResult& line, std::string_view sentence);

    // The watchdog's check: gone clients are let go, and a closed listener listens again while
    // there is room.
    void CheckListener();

    bool IsListening() const { return Listener.isListening(); }
    bool HasClient() const { return ClientCount() > 0; }
    int ClientCount() const;
    quint16 Port() const { return ListenPort; }

private:
    struct Client;

    void AcceptClients();
    void ForgetGoneClients();
    void AnswerClient(Client& client);
    // The client of a socket, or nullptr once it has been let go.
    Client* Find(const QTcpSocket* socket) const;
    void SendEvent(Client& client, const LineResult& line, std::string_view sentence);
    // Queues bytes for one client; false when the client was dropped for not reading.
    bool Send(Client& client, std::string_view bytes);

    NavState& Nav;
    quint16 ListenPort = 0;
    QHostAddress Address;
    QTcpServer Listener;
    int ClientsAllowed = 1;
    GpsdDevice Device;
    std::vector<std::unique_ptr<Client>> Clients;
    // Reused for every reply and event, so that a steady stream does not allocate each time.
    std::string Out;
    std::string Reports;
    bool ReportsBuilt = false;
};
