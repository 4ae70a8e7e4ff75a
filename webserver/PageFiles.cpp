#include "PageFiles.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QTcpSocket>

#include <array>

namespace {

struct PageFile {
    const char* Path;     // as requested
    const char* Resource; // where it is embedded
    const char* Type;
};

constexpr std::array<PageFile, 6> Files{{
    {"/", ":/page/index.html", "text/html; charset=utf-8"},
    {"/page.css", ":/page/page.css", "text/css; charset=utf-8"},
    {"/page.js", ":/page/page.js", "text/javascript; charset=utf-8"},
    {"/manifest.webmanifest", ":/page/manifest.webmanifest", "application/manifest+json"},
    {"/icon.svg", ":/page/icon.svg", "image/svg+xml"},
    {"/icon.png", ":/page/icon.png", "image/png"},
}};

// Nothing from elsewhere may load into the page, and the page may connect only back here.
const QByteArray Policy = QByteArrayLiteral(
    "default-src 'self'; connect-src 'self' ws: wss:; img-src 'self' data:; style-src 'self'; script-src 'self'");

} // namespace

bool PageFiles::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    // A WebSocket is taken at its one path; the HTTP server then hands it over as it is.
    if (request.value(QByteArrayLiteral("upgrade")).compare(QByteArrayLiteral("websocket"), Qt::CaseInsensitive) == 0) {
        if (request.url().path() != QLatin1String(LivePath))
            return false;
        emit WebSocketRequested(socket);
        return true;
    }
    if (request.method() != QHttpServerRequest::Method::Get)
        return false;
    const QString path = request.url().path();
    for (const PageFile& file : Files) {
        if (path != QLatin1String(file.Path))
            continue;
        QFile resource(QString::fromLatin1(file.Resource));
        if (!resource.open(QIODevice::ReadOnly))
            return false;
        makeResponder(request, socket)
            .write(resource.readAll(),
                   {{"Content-Type", file.Type},
                    {"Cache-Control", "no-cache"},
                    {"X-Content-Type-Options", "nosniff"},
                    {"Content-Security-Policy", Policy},
                    {"Connection", "close"}});
        socket->disconnectFromHost();
        return true;
    }
    return false;
}

void PageFiles::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    makeResponder(request, socket)
        .write(QByteArrayLiteral("Not found\n"), {{"Content-Type", "text/plain"}, {"Connection", "close"}},
               QHttpServerResponder::StatusCode::NotFound);
    socket->disconnectFromHost();
}
