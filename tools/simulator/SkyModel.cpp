#include "SkyModel.h"

#include "Angles.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

SkyModel::SkyModel(std::uint32_t seed)
{
    // A different stream from the track's, so changing one model never changes the other.
    std::mt19937 random(seed ^ 0x5A7E11u);
    std::vector<int> prns(32);
    std::iota(prns.begin(), prns.end(), 1);
    std::shuffle(prns.begin(), prns.end(), random);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < MaxInView; ++i) {
        const bool alwaysUp = i < MinInView;
        Orbit orbit;
        orbit.Prn = prns[static_cast<std::size_t>(i)];
        // Always up: 15..85 degrees. Rising and setting: -25..+55 degrees.
        orbit.MidElevation = alwaysUp ? 50 : 15;
        orbit.ElevationSwing = alwaysUp ? 35 * (0.4 + 0.6 * unit(random)) : 40;
        orbit.ElevationPeriod = 20000 + 20000 * unit(random);
        orbit.ElevationPhase = 2 * Pi * unit(random);
        orbit.Azimuth = 360 * unit(random);
        orbit.AzimuthRate = (unit(random) < 0.5 ? -1 : 1) * (0.005 + 0.012 * unit(random));
        orbit.SnrOffset = 6 * unit(random) - 3;
        orbit.SnrPeriod = 60 + 240 * unit(random);
        orbit.SnrPhase = 2 * Pi * unit(random);
        Orbits.push_back(orbit);
    }
}

SkySatellite SkyModel::Position(const Orbit& orbit, double t) const
{
    SkySatellite satellite;
    satellite.Prn = orbit.Prn;
    const double elevation = orbit.MidElevation
        + orbit.ElevationSwing * std::sin(2 * Pi * t / orbit.ElevationPeriod + orbit.ElevationPhase);
    satellite.Elevation = static_cast<int>(std::lround(elevation));
    satellite.Azimuth = static_cast<int>(std::lround(Wrap360(orbit.Azimuth + orbit.AzimuthRate * t))) % 360;
    // Stronger overhead than near the horizon, with a slow fade of a few dB (multipath, the hull).
    const double snr = 22 + 0.3 * elevation + orbit.SnrOffset
                       + 4 * std::sin(2 * Pi * t / orbit.SnrPeriod + orbit.SnrPhase);
    satellite.Snr = static_cast<int>(std::lround(std::clamp(snr, 10.0, 50.0)));
    return satellite;
}

std::vector<SkySatellite> SkyModel::At(double t, bool signal) const
{
    std::vector<SkySatellite> sky;
    for (const Orbit& orbit : Orbits) {
        SkySatellite satellite = Position(orbit, t);
        if (satellite.Elevation <= 0)
            continue;
        if (!signal || satellite.Elevation < TrackingElevation)
            satellite.Snr = 0;
        sky.push_back(satellite);
    }
    std::sort(sky.begin(), sky.end(),
              [](const SkySatellite& a, const SkySatellite& b) { return a.Prn < b.Prn; });
    int used = 0;
    for (SkySatellite& satellite : sky) {
        if (satellite.Snr > 0 && satellite.Elevation >= SolutionElevation && used < MaxUsed) {
            satellite.Used = true;
            ++used;
        }
    }
    return sky;
}
