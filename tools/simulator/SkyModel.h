#pragma once

#include "Epoch.h"

#include <cstdint>
#include <vector>

// The satellites in view. Eight of them stay above 15 degrees all the time; six more rise and set,
// so between 8 and 14 are in view. Elevation and azimuth move at the pace of real GPS satellites
// (under a degree a minute) and the signal strength follows the elevation with a slow drift. The
// sky is a pure function of time, the same for a seed whatever the epoch rate.
class SkyModel {
public:
    static constexpr int MinInView = 8;
    static constexpr int MaxInView = 14;
    // Below this a receiver has no lock on the satellite and leaves its SNR empty.
    static constexpr int TrackingElevation = 5;
    // Satellites this low are left out of the solution, as receivers do with an elevation mask.
    static constexpr int SolutionElevation = 10;
    static constexpr int MaxUsed = 12;

    explicit SkyModel(std::uint32_t seed);

    // The satellites in view at t seconds, sorted by PRN. Without signal (the antenna blocked)
    // they are still known from the almanac but none is tracked or used.
    std::vector<SkySatellite> At(double t, bool signal) const;

private:
    struct Orbit {
        int Prn = 0;
        double MidElevation = 0;
        double ElevationSwing = 0;
        double ElevationPeriod = 0;
        double ElevationPhase = 0;
        double Azimuth = 0;
        double AzimuthRate = 0;     // degrees per second
        double SnrOffset = 0;
        double SnrPeriod = 0;
        double SnrPhase = 0;
    };

    SkySatellite Position(const Orbit& orbit, double t) const;

    std::vector<Orbit> Orbits;
};
