#pragma once

#include <cstdint>
#include <optional>

// One cycle of the receiver, the sentences it sends with one time, as a single report: what the
// JSON protocol sends as one TPV. A value that none of the cycle's sentences carried is absent,
// never an older value or a 0: a client takes a missing value as unknown, but anything it is
// given as a measurement of now.
struct FixEpoch {
    std::optional<std::int64_t> TimeMs;      // UTC, ms since 1970: the cycle's time on the fix's date
    int Mode = 1;                            // 1 no fix, 2 2D, 3 3D
    int Status = 0;                          // as InterpretResult::FixStatus; 0 without a fix
    std::optional<double> Latitude;          // decimal degrees, north positive; with Longitude
    std::optional<double> Longitude;         // decimal degrees, east positive
    std::optional<double> AltitudeMsl;       // metres above mean sea level
    std::optional<double> GeoidSeparation;   // metres
    std::optional<double> Course;            // degrees true
    std::optional<double> SpeedKnots;
    std::optional<double> MagneticVariation; // degrees, east positive
    std::optional<double> Hdop;
    std::optional<double> Vdop;
    std::optional<double> Pdop;
};
