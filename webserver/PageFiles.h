#pragma once

#include <QAbstractHttpServer>

// The web page's files, embedded in the program, for GET: "/" is the page itself, and anything
// else is 404. Every answer closes its connection:
// a page loads its few files once and then lives on its WebSocket, so nothing is gained by
// keeping idle connections, and each costs a place.
class PageFiles : public QAbstractHttpServer {
    Q_OBJECT

public:
    // Where the page opens its WebSocket.
    static constexpr const char* LivePath = "/live";

    using QAbstractHttpServer::QAbstractHttpServer;

signals:
    // The connection's request was a WebSocket's, which the HTTP server now hands over.
    void WebSocketRequested(QTcpSocket* socket);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;
};
