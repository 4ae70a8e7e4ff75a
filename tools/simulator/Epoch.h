#pragma once

#include <cstdint>
#include <vector>

// One satellite in view as the receiver reports it.
struct SkySatellite {
    int Prn = 0;
    int Elevation = 0;  // degrees above the horizon
    int Azimuth = 0;    // degrees true, 0..359
    int Snr = 0;        // dB-Hz; 0 means not tracked (the field stays empty)
    bool Used = false;  // part of the position solution (listed in GSA)
};

// Everything the receiver knows at one moment: what one burst of sentences reports.
struct Epoch {
    std::int64_t UtcMs = 0;          // milliseconds since 1970-01-01T00:00:00Z
    bool FixValid = true;
    double Latitude = 0;             // signed decimal degrees, north positive
    double Longitude = 0;            // signed decimal degrees, east positive
    double SpeedKnots = 0;
    double CourseTrue = 0;           // degrees, 0 <= course < 360
    double MagneticVariation = 0;    // degrees, east positive
    double Altitude = 0;             // metres above mean sea level
    double GeoidSeparation = 0;      // metres
    double Hdop = 0;
    double Vdop = 0;
    double Pdop = 0;
    std::vector<SkySatellite> Sky;   // sorted by PRN
};
