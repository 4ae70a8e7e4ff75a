#pragma once

#include "AutoBrightness.h"
#include "InstrumentLook.h"
#include "NetworkServer.h"
#include "PageFiles.h"
#include "PortListener.h"
#include "WebPage.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct NavState;

// The six instruments as a web page, for the phones and tablets aboard: the page's files over
// HTTP, and its values over a WebSocket on the same port, from Qt's own HTTP server and
// WebSockets. Listening, the Listen address and the limit of pages work as for the other servers;
// every page counts as a client, and a newcomer beyond the limit takes the place of a page that
// has stopped reading, or is told to try again.
//
// While pages are open the values are looked at twice a second, as often as the digital windows
// show them, and sent when they differ from what was sent, or every two seconds all the same;
// with no page open the server does nothing between connections.
class WebServer : public NetworkServer {
    Q_OBJECT

public:
    // A request must be complete within this time after connecting, or its connection goes.
    static constexpr std::int64_t RequestTimeLimitMs = 10000;
    // The most a request may be, headers and all: a browser's are well under 2 KiB.
    static constexpr qint64 RequestLimit = 8 * 1024;
    // Connections waiting for an answer, for every page there may be.
    static constexpr int RequestsPerPage = 8;
    static constexpr std::chrono::milliseconds RefreshInterval{500};
    // The longest a page waits for a message while its link works.
    static constexpr std::int64_t RepeatIntervalMs = 2000;

    WebServer(const NavState& nav, quint16 port, const QHostAddress& address = QHostAddress::Any,
              QObject* parent = nullptr);
    ~WebServer() override;

    PortListener& TcpListener() override { return *Listener; }
    void CheckListener() override;
    int ClientCount() const override { return static_cast<int>(Pages.size()); }
    int HeldClients() const override { return static_cast<int>(Pages.size() + Requests.size()); }

    // How the instruments are shown; sent to every page when it changes.
    void SetLook(const InstrumentLook& look);
    // A receiver cycle ended: a valid fix in it is the newest fix.
    void EpochEnded();

private:
    struct Request {
        QPointer<QTcpSocket> Socket;
        std::int64_t Since = 0;
    };

    void Accept(QTcpSocket* socket);
    void AdmitPages();
    void DropGone();
    void Refresh();
    const QString& CurrentLook();

    const NavState& Nav;
    PageFiles Http;
    PortListener* Listener; // owned by Http
    QElapsedTimer Clock;
    QTimer RefreshTimer;
    std::vector<Request> Requests;
    std::vector<std::unique_ptr<WebPage>> Pages;
    InstrumentLook Look;
    AutoBrightness Sun;
    std::optional<std::int64_t> LastFixAt;
    std::pair<QString, bool> LookMessageFor; // the level and red palette of LookMessageText
    QString LookMessageText;
    QString LookSent;
    QString ValuesSent;
    std::int64_t ValuesSentAt = 0;
    bool Bound = false;
};
