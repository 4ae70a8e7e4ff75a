#include "ReceptionWatchdog.h"

#include "NavState.h"
#include "SerialLink.h"

#include <algorithm>

ReceptionWatchdog::ReceptionWatchdog(NavState& nav, SerialLink& link, std::chrono::milliseconds interval,
                                     QObject* parent)
    : QObject(parent), Nav(nav), Link(link), Interval(interval)
{
    WatchDog.setInterval(interval);
    // A coarse timer may fire up to 5 % of its interval early or late, which would declare the
    // loss outside 2.5 to 3 s after the last fix.
    WatchDog.setTimerType(Qt::PreciseTimer);
    connect(&WatchDog, &QTimer::timeout, this, &ReceptionWatchdog::TimerFired);
}

void ReceptionWatchdog::Start()
{
    MissCounter = 0;
    Lost = false;
    Enabled = true;
    Coasting = false;
    Link.SetOpeningAllowed(true);
    WatchDog.start(Interval);
}

void ReceptionWatchdog::Stop()
{
    Enabled = false;
    Coasting = false;
    WatchDog.stop();
    Link.SetOpeningAllowed(false);
}

void ReceptionWatchdog::Sleep()
{
    Coasting = false;
    WatchDog.stop();
}

void ReceptionWatchdog::Coast()
{
    if (!Enabled || Coasting || LossDeclared())
        return;
    // The count before the n-th tick from here is MissCounter + n - 1; the tick that finds it
    // above TicksBeforeLoss declares the loss.
    CoastTicks = TicksBeforeLoss + 2 - MissCounter;
    Coasting = true;
    FixAt = -1;
    CoastClock.start();
    WatchDog.start(Interval * CoastTicks);
}

void ReceptionWatchdog::PutOffLoss()
{
    FixAt = CoastClock.elapsed();
    // Fixes come many times between two ticks: the timer moves once per tick at most.
    const qint64 declaring = FixAt / Interval.count() + TicksBeforeLoss + 2;
    if (declaring == CoastTicks)
        return;
    CoastTicks = declaring;
    WatchDog.start(Interval * CoastTicks - std::chrono::milliseconds(FixAt));
}

void ReceptionWatchdog::Wake()
{
    if (!Enabled)
        return;
    if (Coasting) {
        const qint64 elapsed = CoastClock.elapsed();
        CatchUp(elapsed / Interval.count());
        // The next tick comes when it would have come; TimerFired sets the interval back.
        WatchDog.start(Interval - std::chrono::milliseconds(elapsed % Interval.count()));
    } else if (!WatchDog.isActive()) {
        WatchDog.start(Interval);
    }
}

void ReceptionWatchdog::CatchUp(qint64 ticksLeftOut)
{
    // A fix between ticks j and j + 1 left the count at zero, and each tick after it counted one.
    const qint64 count = FixAt >= 0 ? ticksLeftOut - FixAt / Interval.count() : MissCounter + ticksLeftOut;
    MissCounter = static_cast<int>(std::clamp<qint64>(count, 0, TicksBeforeLoss + 1));
    Coasting = false;
}

void ReceptionWatchdog::TimerFired()
{
    if (Coasting)
        CatchUp(CoastTicks - 1);
    if (WatchDog.intervalAsDuration() != Interval)
        WatchDog.start(Interval);
    Tick();
}

void ReceptionWatchdog::Tick()
{
    // The next received batch paints it again, so the indicator goes dark in the pauses between
    // a receiver's bursts.
    if (Link.ReceptionColour() == IndicatorColour::Green)
        Link.SetReceptionColour(IndicatorColour::Black);
    if (MissCounter > TicksBeforeLoss) {
        Lost = true;
        Nav.FixValid = false;
        Nav.ClearSky();
        Link.COMopenen();
    } else {
        ++MissCounter;
        // A port that is shut (the device went away, or did not open) is retried at once rather
        // than only after the loss, so a replugged receiver is back within one tick.
        if (!Link.IsOpen())
            Link.COMopenen();
    }
    emit ListenerCheckDue();
}
