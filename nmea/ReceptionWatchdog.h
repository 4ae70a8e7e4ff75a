#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

struct NavState;
class SerialLink;

// The heartbeat of the input side, the WatchDog timer: makes the reception indicator blink,
// counts ticks since the last accepted fix, and once more than four have passed declares the fix
// lost, empties the published sky and reopens the serial port on every further tick until a fix
// comes back. Each tick also asks for the servers' listener check.
//
// Its owner may spare the ticks that would change nothing. While fixes flow and nothing else is
// to be done (no one sees the indicator, no client is leaving), it coasts: the timer is set to
// the tick that would declare the loss, and the ticks left out are counted when that comes, or
// when something wakes it, exactly as each would have counted; the loss is declared at the same
// tick as ever. When nothing can change until something happens (the fix is lost, the device is
// absent and watched for, no client is connected), it sleeps until woken.
class ReceptionWatchdog : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultInterval{500};
    // Ticks without an accepted fix that are still tolerated: the sixth declares the loss, so the
    // fix goes invalid 2.5 to 3 seconds after the last one.
    static constexpr int TicksBeforeLoss = 4;

    // Tests pass a long interval and drive Tick themselves.
    explicit ReceptionWatchdog(NavState& nav, SerialLink& link,
                               std::chrono::milliseconds interval = DefaultInterval,
                               QObject* parent = nullptr);

    // Starts counting from zero and lets the serial link open its port.
    void Start();
    // From here on the serial link only closes its port.
    void Stop();
    // Between Start and Stop, asleep or not.
    bool IsEnabled() const { return Enabled; }
    // On every interval: neither asleep nor coasting.
    bool IsTicking() const { return WatchDog.isActive() && !Coasting; }
    // The timer stops until Wake; the count stays where it is.
    void Sleep();
    // At a tick, with the loss not declared: no tick until the one that would declare it.
    void Coast();
    // Ticks again on every interval (in step with the ticks before, after coasting), unless it
    // has been stopped.
    void Wake();

    void Tick();
    // An accepted GGA, RMC or GLL fix.
    void ResetMissCounter()
    {
        MissCounter = 0;
        Lost = false;
        if (Coasting)
            PutOffLoss();
    }
    int Misses() const { return MissCounter; }
    // The fix has been declared lost, and no fix came since.
    bool LossDeclared() const { return Lost; }

signals:
    // The GPSD server puts its listener back when it finds it closed.
    void ListenerCheckDue();

private:
    void TimerFired();
    // While coasting, a fix moves the timer to the tick that would declare the loss now.
    void PutOffLoss();
    // Counts the ticks left out since coasting began, as they would have counted, and ends it.
    void CatchUp(qint64 ticksLeftOut);

    NavState& Nav;
    SerialLink& Link;
    std::chrono::milliseconds Interval;
    QTimer WatchDog;
    int MissCounter = 0;
    bool Lost = false;
    bool Enabled = false;
    bool Coasting = false;
    qint64 CoastTicks = 0;    // from the tick that began coasting to the one the timer is set to
    QElapsedTimer CoastClock; // since that tick
    qint64 FixAt = -1;        // the last fix on CoastClock; -1 for none while coasting
};
