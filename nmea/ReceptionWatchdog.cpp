#include "ReceptionWatchdog.h"

#include "NavState.h"
#include "SerialLink.h"

ReceptionWatchdog::ReceptionWatchdog(NavState& nav, SerialLink& link, std::chrono::milliseconds interval,
                                     QObject* parent)
    : QObject(parent), Nav(nav), Link(link)
{
    WatchDog.setInterval(interval);
    // A coarse timer may fire up to 5 % of its interval early or late, which would declare the
    // loss outside 2.5 to 3 s after the last fix.
    WatchDog.setTimerType(Qt::PreciseTimer);
    connect(&WatchDog, &QTimer::timeout, this, &ReceptionWatchdog::Tick);
}

void ReceptionWatchdog::Start()
{
    MissCounter = 0;
    Link.SetOpeningAllowed(true);
    WatchDog.start();
}

void ReceptionWatchdog::Stop()
{
    WatchDog.stop();
    Link.SetOpeningAllowed(false);
}

void ReceptionWatchdog::Tick()
{
    // The next received batch paints it again, so the indicator goes dark in the pauses between
    // a receiver's bursts.
    if (Link.ReceptionColour() == IndicatorColour::Green)
        Link.SetReceptionColour(IndicatorColour::Black);
    if (MissCounter > TicksBeforeLoss) {
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
