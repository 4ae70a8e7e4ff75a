#include "AtAGlance.h"

#include "NmeaReceiver.h"

namespace {

constexpr int RefreshMs = 1000;

} // namespace

AtAGlance::AtAGlance(const NavState& nav, NmeaReceiver& receiver, std::function<void(StationGlance&)> servers,
                     QWidget* parent)
    : QLabel(parent), Nav(nav), Servers(std::move(servers))
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAccessibleName(QStringLiteral("At a glance"));
    Clock.start();
    const SerialLink& link = receiver.Link();
    connect(&link, &SerialLink::LineReceived, this, [this](const LineResult& line) { Summary.TakeLine(line, Clock.elapsed()); });
    connect(&link, &SerialLink::EpochEnded, this, [this](const FixEpoch& epoch) { Summary.TakeEpoch(epoch); });
    Ticker.setInterval(RefreshMs);
    connect(&Ticker, &QTimer::timeout, this, &AtAGlance::Refresh);
}

StationGlance AtAGlance::Glance() const
{
    StationGlance glance = Summary.Glance(Nav, Clock.elapsed());
    if (Servers)
        Servers(glance);
    return glance;
}

void AtAGlance::Refresh()
{
    // Nobody reads it behind another tab or in a minimised window.
    if (!isVisible() || window()->isMinimized())
        return;
    const StationGlance glance = Glance();
    const auto line = [this](const std::string& text) {
        return fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideRight, width());
    };
    setText(line(ReceiverGlanceText(glance)) + u'\n' + line(ServersGlanceText(glance)));
}

void AtAGlance::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    Refresh();
    Ticker.start();
}

void AtAGlance::hideEvent(QHideEvent* event)
{
    Ticker.stop();
    QLabel::hideEvent(event);
}
