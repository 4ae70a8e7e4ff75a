// The three sentences that carry a position fix: GGA, GLL and RMC.
#include "FieldReader.h"
#include "FixDate.h"
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

bool IsMetres(std::string_view unit)
{
    return unit == "M" || unit == "m";
}

// What a fix sentence says besides its values: its time, and whether it is a fix at all.
InterpretResult FixSentence(bool accepted, std::string_view timeField)
{
    InterpretResult result;
    result.FixAccepted = accepted;
    result.NoFix = !accepted;
    result.TimeOfDayMs = FixMillisecondOfDay(timeField).value_or(-1);
    return result;
}

std::uint16_t PositionCarried(const std::optional<FieldReader::Coordinate>& latitude,
                              const std::optional<FieldReader::Coordinate>& longitude)
{
    return latitude && longitude ? Carried::Position : 0;
}

// The status of a fix in GPSD's numbering, from the mode letter that NMEA 2.3 added to RMC and
// GLL: A autonomous, D differential, P precise, R RTK fixed, F RTK float, E dead reckoning.
std::uint8_t ModeStatus(std::string_view mode)
{
    if (mode.size() != 1)
        return 0;
    switch (mode[0]) {
    case 'A': return 1;
    case 'D': case 'P': return 2;
    case 'R': return 3;
    case 'F': return 4;
    case 'E': return 5;
    default: return 0;
    }
}

// The same from a GGA fix quality: 2 differential, 3 PPS (precise), 4 RTK fixed, 5 RTK float.
std::uint8_t QualityStatus(double quality)
{
    constexpr std::uint8_t Statuses[] = {0, 1, 2, 9, 3, 4};
    return Statuses[static_cast<int>(quality)];
}

} // namespace

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
InterpretResult ApplyGga(const SentenceFields& fields, NavState& nav)
{
    FieldReader read(fields);
    if (fields.Count() <= 12)
        return {};
    const double quality = read.Value(6);
    if (!IsSatelliteFix(quality))
        return FixSentence(false, fields[1]);
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
    InterpretResult result = FixSentence(true, fields[1]);
    result.FixStatus = QualityStatus(quality);
    result.Carried = PositionCarried(latitude, longitude) | (fields[8].empty() ? 0 : Carried::Hdop)
                     | (fields[9].empty() || !IsMetres(fields[10]) ? 0 : Carried::Altitude)
                     | (fields[11].empty() || !IsMetres(fields[12]) ? 0 : Carried::GeoidSeparation);
    return result;
}

// $GPGLL,4916.45,N,12311.12,W,225444,A
InterpretResult ApplyGll(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 6)
        return {};
    if (fields[6] != "A")
        return FixSentence(false, fields[5]);
    FieldReader read(fields);
    const auto latitude = read.Latitude(1, 2);
    const auto longitude = read.Longitude(3, 4);
    if (!read.Ok())
        return {};

    AcceptFix(nav, "GLL");
    StoreCoordinates(nav, latitude, longitude);
    // GLL keeps its time field whole (hhmmss.ss); the other sentences keep six characters.
    nav.UtcTimeText = read.Text(5);
    InterpretResult result = FixSentence(true, fields[5]);
    result.FixStatus = ModeStatus(fields[7]);
    result.Carried = PositionCarried(latitude, longitude);
    return result;
}

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
InterpretResult ApplyRmc(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 10)
        return {};
    if (fields[2] != "A")
        return FixSentence(false, fields[1]);
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
    // The displays and the old reply never used field 11, the variation's direction; the JSON
    // reports give the variation its sign.
    nav.MagneticVariation = variation;
    nav.MagneticVariationDirection = read.Text(11);
    InterpretResult result = FixSentence(true, fields[1]);
    result.FixStatus = ModeStatus(fields[12]);
    const bool signedVariation = !fields[10].empty() && (fields[11] == "E" || fields[11] == "W");
    result.Carried = PositionCarried(latitude, longitude) | (fields[7].empty() ? 0 : Carried::Speed)
                     | (fields[8].empty() ? 0 : Carried::Course)
                     | (signedVariation ? Carried::MagneticVariation : 0);
    return result;
}
