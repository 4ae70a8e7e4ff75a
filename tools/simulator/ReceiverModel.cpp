#include "ReceiverModel.h"

#include <algorithm>
#include <cmath>

namespace {

// A fix-less receiver reports its DOPs as the largest value the field can show.
constexpr double NoFixDop = 99.99;
// Roughly the geoid height over the North Sea; the antenna stands a few metres above the water.
constexpr double GeoidSeparation = 47.0;
constexpr double AntennaHeight = 3.5;
constexpr double MagneticVariation = 2.1;

void SetDops(Epoch& epoch)
{
    const auto used = std::count_if(epoch.Sky.begin(), epoch.Sky.end(),
                                    [](const SkySatellite& s) { return s.Used; });
    if (!epoch.FixValid || used < 4) {
        epoch.Hdop = epoch.Vdop = epoch.Pdop = NoFixDop;
        return;
    }
    // More satellites in the solution, better geometry: about 1.1 with 8 and 0.9 with 12.
    epoch.Hdop = 0.5 + 5.0 / static_cast<double>(used);
    epoch.Vdop = 1.6 * epoch.Hdop;
    epoch.Pdop = std::hypot(epoch.Hdop, epoch.Vdop);
}

} // namespace

bool FixOutage::FixAt(double seconds) const
{
    if (DropAfter <= 0 || DropFor <= 0)
        return true;
    return std::fmod(seconds, DropAfter + DropFor) < DropAfter;
}

ReceiverModel::ReceiverModel(const ReceiverSettings& settings)
    : Settings(settings), Track(settings.Start), Sky(settings.Start.Seed)
{
}

Epoch ReceiverModel::Current() const
{
    const double t = Track.Seconds();
    Epoch epoch;
    epoch.UtcMs = Settings.StartUtcMs + ElapsedMs;
    epoch.FixValid = Settings.Outage.FixAt(t);
    epoch.Latitude = Track.Latitude();
    epoch.Longitude = Track.Longitude();
    epoch.SpeedKnots = Track.SpeedKnots();
    epoch.CourseTrue = Track.CourseTrue();
    epoch.MagneticVariation = MagneticVariation;
    // The antenna rides the swell.
    epoch.Altitude = AntennaHeight + 0.8 * std::sin(t / 7.0) + 0.3 * std::sin(t / 2.3);
    epoch.GeoidSeparation = GeoidSeparation;
    epoch.Sky = Sky.At(t, epoch.FixValid);
    SetDops(epoch);
    return epoch;
}

void ReceiverModel::Advance(std::int64_t stepMs)
{
    ElapsedMs += stepMs;
    Track.Advance(static_cast<double>(stepMs) / 1000.0);
}
