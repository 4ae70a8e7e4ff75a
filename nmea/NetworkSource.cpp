#include "NetworkSource.h"

#include <QUrl>

bool IsNetworkEntry(const QString& entry)
{
    return entry.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive)
        || entry.startsWith(QLatin1String("udp://"), Qt::CaseInsensitive);
}

std::optional<NetworkSource> ParseNetworkSource(const QString& entry)
{
    if (!IsNetworkEntry(entry))
        return std::nullopt;
    const QUrl url(entry.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.port() <= 0 || !url.path().isEmpty() || url.hasQuery() || url.hasFragment()
        || !url.userInfo().isEmpty())
        return std::nullopt;
    NetworkSource source;
    source.Kind = url.scheme() == QLatin1String("udp") ? NetworkSource::Transport::Udp : NetworkSource::Transport::Tcp;
    source.Host = url.host();
    source.Port = static_cast<quint16>(url.port());
    if (source.Kind == NetworkSource::Transport::Tcp && source.Host.isEmpty())
        return std::nullopt;
    return source;
}
