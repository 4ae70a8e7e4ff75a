#include "TrackModel.h"

#include "Angles.h"

#include <algorithm>
#include <cmath>
#include <random>

TrackModel::TrackModel(const TrackStart& start) : Lat(start.Latitude), Lon(start.Longitude)
{
    std::mt19937 random(start.Seed);
    std::uniform_real_distribution<double> heading(-20.0, 20.0);
    std::uniform_real_distribution<double> phase(0.0, 2 * Pi);
    MeanHeading = heading(random);
    MeanPhase = phase(random);
    SwingPhase = phase(random);
    SpeedPhase = phase(random);
    SurgePhase = phase(random);
}

double TrackModel::CourseAt(double t) const
{
    const double mean = MeanHeading + 30 * std::sin(2 * Pi * t / 3600 + MeanPhase);
    return Wrap360(mean + 70 * std::sin(2 * Pi * t / SwingPeriod + SwingPhase));
}

double TrackModel::SpeedAt(double t) const
{
    // A slow change of pace and a faster surge of a boat in a swell: 6.5 +- 2.8 knots.
    return 6.5 + 2.0 * std::sin(2 * Pi * t / 420 + SpeedPhase)
           + 0.8 * std::sin(2 * Pi * t / 97 + SurgePhase);
}

void TrackModel::Advance(double seconds)
{
    // Course and speed halfway through the step keep a long step on the curve.
    const double middle = Elapsed + seconds / 2;
    const double nauticalMiles = SpeedAt(middle) * seconds / 3600;
    const double course = CourseAt(middle) * Pi / 180;
    Lat += nauticalMiles * std::cos(course) / 60;
    const double eastMinutes = nauticalMiles * std::sin(course);
    Lon += eastMinutes / 60 / std::max(std::cos(Lat * Pi / 180), 0.01);
    // A vessel that sails for months would reach the pole or the date line: keep it on the globe.
    Lat = std::clamp(Lat, -89.9, 89.9);
    Lon = Wrap360(Lon + 180) - 180;
    Elapsed += seconds;
}
