#pragma once

#include <array>
#include <cstdint>
#include <string>

// Satellites in the published sky. A receiver tracking every constellation sees about 12 GPS, 9
// GLONASS, 10 Galileo, 15 BeiDou, 4 QZSS and 3 SBAS satellites under an open sky, some 50 in all;
// 64 leaves room for that and keeps the table small enough to copy and draw every second.
inline constexpr int SkySlotCount = 64;
// Satellites a GSA sentence names as used in the solution.
inline constexpr int ActivePrnCount = 12;

// The constellation of a satellite, as the letter navigation data files use for it. A byte, so
// that a satellite is (letter, PRN) and 0 means no satellite.
namespace Gnss {
inline constexpr char Gps = 'G';
inline constexpr char Sbas = 'S';
inline constexpr char Glonass = 'R';
inline constexpr char Galileo = 'E';
inline constexpr char BeiDou = 'C';
inline constexpr char Qzss = 'J';
inline constexpr char NavIc = 'I';
} // namespace Gnss

// One satellite, told apart from those of other constellations with the same number.
struct SatelliteId {
    char System = 0;          // a Gnss letter; 0 for none
    // The number the receiver reports for it; some number Galileo from 301 and BeiDou from 401.
    std::uint16_t Prn = 0;

    bool operator==(const SatelliteId&) const = default;
};

// The navigation record: the only channel between the NMEA input and every display and the GPSD
// server. main() owns the one instance of the run and hands a reference to each part; tests make
// their own. Fields keep the receiver's units and encodings (see the comments); types are as narrow
// as the values they hold, because the displays and the GPSD replies were designed around them.
//
// Slot n (1-based, as the receiver numbers them) of a satellite array is index n - 1.
struct NavState {
    std::string FixSource;                // "GGA", "RMC" or "GLL": sentence of the last accepted fix
    // Seconds since 1970, computed at each GPSD position reply. 64 bits: a 32-bit count runs out
    // in January 2038, well within the life of a boat's navigation computer.
    std::int64_t FixUnixTime = 0;
    float TimeError = 0;                  // GPSD placeholder, 0.005 once the program has started
    float Latitude = 0;                   // signed degrees-and-minutes: ddmm.mmmm / 100, south < 0
    float Longitude = 0;                  // the same for dddmm.mmmm, west < 0
    // The same two coordinates in double precision, for the GPSD replies: a float of the
    // degrees-and-minutes value loses the receiver's last digit (up to 0.4 m).
    double PreciseLatitude = 0;
    double PreciseLongitude = 0;
    std::string AltitudeText;             // altitude as last written into a GPSD reply
    std::string HorizontalErrorText;      // GPSD placeholders, "?" once the program has started
    std::string VerticalErrorText;
    float Course = 0;                     // course over ground, degrees true, from RMC
    float Speed = 0;                      // speed over ground, knots, from RMC
    std::string ClimbText;
    std::string CourseErrorText;
    std::string SpeedErrorText;
    std::string ClimbErrorText;
    std::int16_t FixMode = 0;             // 1 none, 2 2D, 3 3D, from GSA; 0 until the first GSA
    std::string UtcTimeText;              // hhmmss (GGA, RMC, ZDA) or the GLL time field as received
    std::string UtcDateText;              // ddmmyy from RMC
    std::int16_t ZdaDay = 0;
    std::int16_t ZdaMonth = 0;
    std::int16_t ZdaYear = 0;             // four digits; a receiver's two-digit year is taken as 20yy
    std::int16_t ZdaZoneHours = 0;
    std::int16_t ZdaZoneMinutes = 0;
    // An RMC came after the last ZDA: its date is the newer one. A ZDA date otherwise wins, as
    // it always has, but one that the receiver stopped sending must not outlive later dates.
    bool RmcDateIsNewer = false;
    bool FixValid = false;                // set by an accepted fix sentence, cleared by the watchdog
    std::int16_t SatellitesUsed = 0;      // from GGA
    float Hdop = 0;                       // from GGA or GSA, whichever came last
    float Vdop = 0;
    float Pdop = 0;
    float Altitude = 0;                   // above mean sea level, in AltitudeUnit
    std::string AltitudeUnit;             // as received; "M" is metres
    float GeoidSeparation = 0;
    std::string GeoidUnit;
    std::uint8_t GsaMode = 0;             // fix mode exactly as received in GSA
    std::array<std::uint16_t, ActivePrnCount> ActivePrn{};  // the last GSA's satellites
    // The satellites used in the solution, of every constellation: the GSA sentences of the
    // receiver's latest epoch together (a multi-constellation receiver sends one GSA per
    // constellation). Filled from the front; the rest is empty.
    std::array<SatelliteId, SkySlotCount> UsedSatellites{};

    // The published satellite table, the satellites in view of every constellation: it only ever
    // changes as a whole, so readers never see half of a GSV group. 0 in SkyPrn marks an empty
    // slot; SkySystem holds the Gnss letter of each satellite (0 for an empty slot).
    std::array<std::uint16_t, SkySlotCount> SkyPrn{};
    std::array<std::int16_t, SkySlotCount> SkyElevation{};
    std::array<std::int16_t, SkySlotCount> SkyAzimuth{};
    std::array<std::uint8_t, SkySlotCount> SkySnr{};
    std::array<char, SkySlotCount> SkySystem{};

    float MagneticVariation = 0;          // degrees, without its east/west sign
    std::string MagneticVariationDirection; // "E" or "W" as received beside it
    float VtgCourseTrue = 0;
    float VtgCourseMagnetic = 0;
    float VtgSpeedKnots = 0;
    float VtgSpeedKmh = 0;

    bool operator==(const NavState&) const = default;

    // The fixed values a GPSD position reply carries where this program has no estimate.
    void SetGpsdPlaceholders();
    // Empties the published satellite table (reception lost).
    void ClearSky();
    // Whether the latest GSA sentences name this satellite as used in the solution.
    bool SatelliteUsed(SatelliteId satellite) const;
};
