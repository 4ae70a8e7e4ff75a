#include "OutputPacer.h"

#include <algorithm>
#include <utility>

namespace {

// Without pacing a stalled output may hold this much before lines are dropped.
constexpr std::size_t UnpacedCapacity = 1 << 20;

} // namespace

OutputPacer::OutputPacer(ByteSink sink, int baud, QObject* parent)
    : QObject(parent), Sink(std::move(sink)), CharactersPerSecond(baud / 10.0)
{
    // Paced: two seconds of line time, enough for an epoch that is longer than one.
    Capacity = baud > 0 ? std::max<std::size_t>(1024, static_cast<std::size_t>(baud / 5))
                        : UnpacedCapacity;
    Tick.setTimerType(Qt::PreciseTimer);
    Tick.setInterval(TickMs);
    connect(&Tick, &QTimer::timeout, this, &OutputPacer::Pump);
}

void OutputPacer::Send(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        if (Pending.size() + line.size() + 2 > Capacity) {
            if (Dropped++ == 0)
                emit Overrun();
            continue;
        }
        Pending += line;
        Pending += "\r\n";
    }
    if (!Tick.isActive()) {
        Credit = 0;
        SinceTick.start();
        Tick.start();
        Pump();
    }
}

std::size_t OutputPacer::Allowance()
{
    if (CharactersPerSecond <= 0)
        return Pending.size();
    Credit += CharactersPerSecond * static_cast<double>(SinceTick.restart()) / 1000.0;
    // A late tick may send what it missed, but never more than a few ticks' worth at once.
    Credit = std::min(Credit, std::max(CharactersPerSecond * TickMs * 4 / 1000.0, 1.0));
    return std::min(Pending.size(), static_cast<std::size_t>(Credit));
}

void OutputPacer::Pump()
{
    const std::size_t allowed = Allowance();
    if (allowed > 0) {
        const std::ptrdiff_t taken = Sink(std::string_view(Pending).substr(0, allowed));
        if (taken < 0) {
            Tick.stop();
            Pending.clear();
            emit OutputLost();
            return;
        }
        Pending.erase(0, static_cast<std::size_t>(taken));
        Credit -= static_cast<double>(taken);
    }
    if (Pending.empty()) {
        Tick.stop();
        emit Drained();
    }
}
