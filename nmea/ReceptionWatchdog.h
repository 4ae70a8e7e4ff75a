#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

struct NavState;
class SerialLink;

// The heartbeat of the input side, the WatchDog timer: makes the reception indicator blink,
// counts ticks since the last accepted fix, and once more than four have passed declares the fix
// lost, empties the published sky and reopens the serial port on every further tick until a fix
// comes back. Each tick also asks for the GPSD listener check.
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
    bool IsEnabled() const { return WatchDog.isActive(); }

    void Tick();
    // An accepted GGA, RMC or GLL fix.
    void ResetMissCounter() { MissCounter = 0; }
    int Misses() const { return MissCounter; }

signals:
    // The GPSD server puts its listener back when it finds it closed.
    void ListenerCheckDue();

private:
    NavState& Nav;
    SerialLink& Link;
    QTimer WatchDog;
    int MissCounter = 0;
};
