#include "WebServer.h"

#include "NavState.h"
#include "PageMessages.h"
#include "SocketOptions.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

WebServer::WebServer(const NavState& nav, quint16 port, const QHostAddress& address, QObject* parent)
    : NetworkServer(parent), Nav(nav), Listener(new PortListener(QStringLiteral("Web"), port, address, &Http))
{
    Clock.start();
    Listener->SetReadAhead(RequestLimit);
    connect(Listener, &PortListener::Accepted, this, &WebServer::Accept);
    connect(&Http, &QAbstractHttpServer::newWebSocketConnection, this, &WebServer::AdmitPages);
    // The WebSocket's handshake has time limits of its own, and then the page is held as a page.
    connect(&Http, &PageFiles::WebSocketRequested, this, [this](QTcpSocket* socket) {
        std::erase_if(Requests, [socket](const Request& request) { return request.Socket == socket; });
    });
    RefreshTimer.setInterval(RefreshInterval);
    connect(&RefreshTimer, &QTimer::timeout, this, &WebServer::Refresh);
}

WebServer::~WebServer()
{
    Pages.clear();
}

// A connection reads at most a request ahead (RequestLimit) and must send it whole in time: one
// that sends more, or too slowly, is let go at the next check. Connections that wait for an
// answer count as held clients, so the check keeps coming until they are gone.
void WebServer::Accept(QTcpSocket* socket)
{
    SetKeepAlive(*socket, Listener->KeepAlive());
    DropGone();
    // A browser opens up to six connections at once to load a page; far more than that for every
    // page there may be is a flood, and the oldest waiting connection goes.
    if (static_cast<int>(Requests.size()) >= RequestsPerPage * Listener->MaxClients())
        Requests.front().Socket->abort();
    Requests.push_back({socket, Clock.elapsed()});
    DropGone();
    TellClientsChanged();
}

void WebServer::AdmitPages()
{
    const std::int64_t now = Clock.elapsed();
    while (std::unique_ptr<QWebSocket> socket = Http.nextPendingWebSocketConnection()) {
        DropGone();
        if (static_cast<int>(Pages.size()) >= Listener->MaxClients()) {
            std::vector<ClientStanding> standings;
            for (const auto& page : Pages)
                standings.push_back(page->Standing(now));
            if (const auto leaving = ClientToMakeRoom(standings)) {
                Pages[*leaving]->Leave();
                Pages.erase(Pages.begin() + static_cast<std::ptrdiff_t>(*leaving));
            } else {
                // 1013, "try again later": the page says so and comes back by itself.
                socket->close(static_cast<QWebSocketProtocol::CloseCode>(1013),
                              QStringLiteral("the station serves as many pages as it may"));
                socket.release()->deleteLater();
                continue;
            }
        }
        auto& page = Pages.emplace_back(std::make_unique<WebPage>(std::move(socket)));
        connect(page.get(), &WebPage::Left, this, [this] {
            // Not at once: the page's socket is still telling of its end.
            QTimer::singleShot(0, this, [this] {
                DropGone();
                TellClientsChanged();
            });
        });
        // A newcomer beside others is sent what they were sent last; the first is sent all anew.
        if (RefreshTimer.isActive()) {
            page->SendLook(LookSent, now);
            page->SendValues(ValuesSent, now);
        }
    }
    if (!Pages.empty() && !RefreshTimer.isActive()) {
        LookSent.clear();
        ValuesSent.clear();
        RefreshTimer.start();
        Refresh();
    }
    DropGone();
    TellClientsChanged();
}

void WebServer::DropGone()
{
    std::erase_if(Pages, [](const std::unique_ptr<WebPage>& page) { return page->Gone(); });
    std::erase_if(Requests, [](const Request& request) {
        return !request.Socket || request.Socket->state() == QAbstractSocket::UnconnectedState;
    });
    if (Pages.empty())
        RefreshTimer.stop();
}

void WebServer::CheckListener()
{
    const std::int64_t now = Clock.elapsed();
    for (Request& request : Requests) {
        if (request.Socket && now - request.Since >= RequestTimeLimitMs)
            request.Socket->abort();
    }
    DropGone();
    Listener->Listen();
    // Bound once it listens: the HTTP server takes the connections of a listening port only.
    if (!Bound && Listener->isListening()) {
        Http.bind(Listener);
        Bound = true;
    }
    TellClientsChanged();
}

void WebServer::SetLook(const InstrumentLook& look)
{
    if (look == Look)
        return;
    Look = look;
    if (!Pages.empty())
        Refresh();
}

void WebServer::EpochEnded()
{
    if (Nav.FixValid)
        LastFixAt = Clock.elapsed();
    if (Look.Mode == QLatin1String("Auto"))
        Sun.Follow(Nav);
}

// Built again only when the level shown or the red palette changed.
const QString& WebServer::CurrentLook()
{
    const QString mode = Look.Mode == QLatin1String("Auto") ? QString::fromLatin1(Sun.Mode().data(), static_cast<qsizetype>(Sun.Mode().size()))
                                                            : Look.Mode;
    if (LookMessageFor != std::pair(mode, Look.NightRed)) {
        LookMessageFor = {mode, Look.NightRed};
        LookMessageText = LookMessage(mode.toStdString(), Look.NightRed);
    }
    return LookMessageText;
}

void WebServer::Refresh()
{
    const std::int64_t now = Clock.elapsed();
    const QString& look = CurrentLook();
    const std::optional<qint64> age = LastFixAt ? std::optional<qint64>((now - *LastFixAt) / 1000) : std::nullopt;
    const QString values = ValuesMessage(Nav, Look.Time, QDateTime::currentDateTime(), QLocale::system(), age);
    const bool lookChanged = look != LookSent;
    // Unchanged values go again now and then: a page tells a link that has dropped without a
    // word by its silence.
    const bool sendValues = values != ValuesSent || now - ValuesSentAt >= RepeatIntervalMs;
    LookSent = look;
    ValuesSent = values;
    if (sendValues)
        ValuesSentAt = now;
    for (const auto& page : Pages) {
        if (lookChanged)
            page->SendLook(look, now);
        if (sendValues)
            page->SendValues(values, now);
    }
}
