#pragma once

#include "ReceptionWatchdog.h"
#include "SerialLink.h"

#include <chrono>

struct NavState;

// The NMEA input as the station owns it: the serial link with its character intake, and the
// reception watchdog, wired so that every accepted fix restarts the watchdog's count.
class NmeaReceiver {
public:
    explicit NmeaReceiver(NavState& nav,
                          std::chrono::milliseconds watchdogInterval = ReceptionWatchdog::DefaultInterval);
    NmeaReceiver(const NmeaReceiver&) = delete;
    NmeaReceiver& operator=(const NmeaReceiver&) = delete;

    // End of start-up, once every serial list holds its stored selection: the watchdog starts
    // from zero and the port opens once.
    void Start();
    // Shutdown: the watchdog stops first, so nothing reopens the port it then closes.
    void Stop();

    SerialLink& Link() { return Serial; }
    const SerialLink& Link() const { return Serial; }
    ReceptionWatchdog& Watchdog() { return Dog; }
    const ReceptionWatchdog& Watchdog() const { return Dog; }

private:
    SerialLink Serial;
    ReceptionWatchdog Dog;
};
