#include "SocketOptions.h"

#include <QTcpSocket>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace {

constexpr int KeepAliveProbes = 6;

} // namespace

void SetKeepAlive(QTcpSocket& socket, std::chrono::seconds letGoAfter)
{
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int total = static_cast<int>(std::max<std::chrono::seconds::rep>(letGoAfter.count(), 1));
    const int interval = std::max(total / (3 * KeepAliveProbes), 1);
    const int idle = std::max(total - KeepAliveProbes * interval, 1);
    const unsigned int unacknowledgedMs = static_cast<unsigned int>(total) * 1000;
    const auto descriptor = static_cast<int>(socket.socketDescriptor());
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &KeepAliveProbes, sizeof KeepAliveProbes);
    setsockopt(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledgedMs, sizeof unacknowledgedMs);
#else
    // Elsewhere the system's own keepalive times hold (two hours and more by default).
    Q_UNUSED(letGoAfter);
#endif
}

qint64 UnacknowledgedBytes(const QTcpSocket& socket)
{
#ifdef Q_OS_LINUX
    int queued = 0;
    if (ioctl(static_cast<int>(socket.socketDescriptor()), SIOCOUTQ, &queued) == 0)
        return queued;
#else
    Q_UNUSED(socket);
#endif
    return 0;
}
