#pragma once

#include "MakingRoom.h"

#include <QObject>
#include <QString>
#include <QWebSocket>

#include <cstdint>
#include <memory>

// One browser page on its WebSocket. It is sent the newest look and values only: while what was
// sent before still waits to go out (a phone put to sleep, a tablet out of range), a new message
// replaces the one held back instead of queueing behind it, so a page that stops reading holds
// at most QueueLimit of our memory and never delays anyone else. The page may only say which
// level it shows itself, which it keeps to itself: whatever it sends is read within a small
// bound and dropped.
class WebPage : public QObject {
    Q_OBJECT

public:
    // About a dozen messages of values: a page that reads is never held back.
    static constexpr qint64 QueueLimit = 16 * 1024;
    // The most a page may send in one message.
    static constexpr quint64 MessageLimit = 256;

    explicit WebPage(std::unique_ptr<QWebSocket> socket);
    ~WebPage() override;

    // The message of its kind goes out now, or replaces the one held back.
    void SendLook(const QString& message, std::int64_t now) { Send(Look, message, now); }
    void SendValues(const QString& message, std::int64_t now) { Send(Values, message, now); }
    // The stall as the check sees it (MakingRoom).
    ClientStanding Standing(std::int64_t now) const;
    bool Gone() const { return Closed; }
    // Told to go: to make room for a newcomer.
    void Leave();

signals:
    void Left();

private:
    struct Held {
        QString Message;
        bool Owed = false;
    };

    void Send(Held& kind, const QString& message, std::int64_t now);
    void Written(qint64 bytes);

    std::unique_ptr<QWebSocket> Socket;
    Held Look;
    Held Values;
    qint64 Unwritten = 0;
    std::int64_t StalledSince = -1; // when the first held-back message was held back
    bool Closed = false;
};
