// The three sentences that carry a position fix: GGA, GLL and RMC.
#include "FieldReader.h"
#include "NavState.h"
#include "SentenceRules.h"
#include "ValueBounds.h"

#include <optional>

namespace {

// GGA fix qualities that are a satellite position: 1 GPS, 2 differential (SBAS, beacon), 3 PPS,
// 4 RTK fixed, 5 RTK float. 0 is no fix; 6 dead reckoning, 7 manual and 8 simulation are not
// positions the receiver measured.
bool IsSatelliteFix(double quality)
{
    return quality == 1 || quality == 2 || quality == 3 || quality == 4 || quality == 5;
}

void AcceptFix(NavState& nav, const char* tag)
{
    nav.FixSource = tag;
    nav.FixValid = true;
}

void StoreCoordinates(NavState& nav, std::optional<FieldReader::Coordinate> latitude,
                      std::optional<FieldReader::Coordinate> longitude)
{
    if (latitude) {
        nav.Latitude = latitude->Single;
        nav.PreciseLatitude = latitude->Precise;
    }
    if (longitude) {
        nav.Longitude = longitude->Single;
        nav.PreciseLongitude = longitude->Precise;
    }
}

constexpr InterpretResult FixResult{true, true, false};

} // namespace

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
InterpretResult ApplyGga(const SentenceFields& fields, NavState& nav)
{
    FieldReader read(fields);
    if (fields.Count() <= 12 || !IsSatelliteFix(read.Value(6)))
        return {};
    const auto latitude = read.Latitude(2, 3);
    const auto longitude = read.Longitude(4, 5);
    const auto satellites = read.Whole<std::int16_t>(7);
    const float hdop = read.Single(8);
    const float altitude = read.Single(9);
    const float geoidSeparation = read.Single(11);
    if (!read.Ok())
        return {};

    AcceptFix(nav, "GGA");
    nav.UtcTimeText = read.Left6(1);
    StoreCoordinates(nav, latitude, longitude);
    nav.SatellitesUsed = satellites;
    nav.Hdop = hdop;
    nav.Altitude = altitude;
    nav.AltitudeUnit = read.Text(10);
    nav.GeoidSeparation = geoidSeparation;
    nav.GeoidUnit = read.Text(12);
    return FixResult;
}

// $GPGLL,4916.45,N,12311.12,W,225444,A
InterpretResult ApplyGll(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 6 || fields[6] != "A")
        return {};
    FieldReader read(fields);
    const auto latitude = read.Latitude(1, 2);
    const auto longitude = read.Longitude(3, 4);
    if (!read.Ok())
        return {};

    AcceptFix(nav, "GLL");
    StoreCoordinates(nav, latitude, longitude);
    // GLL keeps its time field whole (hhmmss.ss); the other sentences keep six characters.
    nav.UtcTimeText = read.Text(5);
    return FixResult;
}

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
InterpretResult ApplyRmc(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 10 || fields[2] != "A")
        return {};
    FieldReader read(fields);
    const auto latitude = read.Latitude(3, 4);
    const auto longitude = read.Longitude(5, 6);
    const float speed = read.Single(7, 0, MaxSpeedKnots);
    const float course = read.Single(8, 0, MaxCourse);
    const float variation = read.Single(10);
    if (!read.Ok())
        return {};

    AcceptFix(nav, "RMC");
    nav.UtcTimeText = read.Left6(1);
    StoreCoordinates(nav, latitude, longitude);
    nav.Speed = speed;
    nav.Course = course;
    nav.UtcDateText = read.Left6(9);
    nav.RmcDateIsNewer = true;
    // Field 11, the variation's direction, has never been used by anything that reads it.
    nav.MagneticVariation = variation;
    return FixResult;
}
