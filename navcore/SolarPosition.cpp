#include "SolarPosition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Degree = std::numbers::pi / 180;
// 2000-01-01 12:00 UTC, from which the formulas count their days.
constexpr double J2000UnixSeconds = 946'728'000;

} // namespace

double SolarElevation(double unixSeconds, double latitude, double longitude)
{
    const double days = (unixSeconds - J2000UnixSeconds) / 86400;
    const double meanLongitude = 280.460 + 0.9856474 * days;
    const double meanAnomaly = (357.528 + 0.9856003 * days) * Degree;
    const double eclipticLongitude =
        (meanLongitude + 1.915 * std::sin(meanAnomaly) + 0.020 * std::sin(2 * meanAnomaly)) * Degree;
    const double obliquity = (23.439 - 0.0000004 * days) * Degree;
    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude));
    const double declination = std::asin(std::sin(obliquity) * std::sin(eclipticLongitude));
    // Greenwich mean sidereal time: the earth turns a little more than once a day against the stars.
    const double siderealTime = (280.46061837 + 360.98564736629 * days) * Degree;
    const double hourAngle = siderealTime + longitude * Degree - rightAscension;
    const double lat = latitude * Degree;
    const double sine = std::sin(lat) * std::sin(declination)
                        + std::cos(lat) * std::cos(declination) * std::cos(hourAngle);
    // Rounding can take the sine of a sun straight overhead a hair past 1.
    return std::asin(std::clamp(sine, -1.0, 1.0)) / Degree;
}
