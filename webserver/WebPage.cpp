#include "WebPage.h"

#include <algorithm>

WebPage::WebPage(std::unique_ptr<QWebSocket> socket) : Socket(std::move(socket))
{
    Socket->setMaxAllowedIncomingFrameSize(MessageLimit);
    Socket->setMaxAllowedIncomingMessageSize(MessageLimit);
    connect(Socket.get(), &QWebSocket::bytesWritten, this, &WebPage::Written);
    connect(Socket.get(), &QWebSocket::disconnected, this, [this] {
        Closed = true;
        emit Left();
    });
}

WebPage::~WebPage()
{
    // No signal of a socket that is going anyway may reach a page that is gone.
    Socket->disconnect(this);
    Socket->abort();
}

void WebPage::Leave()
{
    if (Closed)
        return;
    Socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("another page took this place"));
    // The page goes at once: its last word is handed to the system before its socket closes.
    Socket->flush();
}

void WebPage::Send(Held& kind, const QString& message, std::int64_t now)
{
    if (Closed)
        return;
    if (Unwritten >= QueueLimit) {
        kind.Message = message;
        kind.Owed = true;
        if (StalledSince < 0)
            StalledSince = now;
        return;
    }
    kind.Owed = false;
    Unwritten += Socket->sendTextMessage(message);
}

// Frame headers are counted as written but were never counted as sent: the count errs low by a
// few bytes a message, and never below nothing.
void WebPage::Written(qint64 bytes)
{
    Unwritten = std::max<qint64>(0, Unwritten - bytes);
    if (Unwritten >= QueueLimit)
        return;
    StalledSince = -1;
    for (Held* kind : {&Look, &Values}) {
        if (kind->Owed) {
            kind->Owed = false;
            Unwritten += Socket->sendTextMessage(kind->Message);
        }
    }
}

ClientStanding WebPage::Standing(std::int64_t now) const
{
    return {true, 0, StalledSince < 0 ? 0 : now - StalledSince};
}
