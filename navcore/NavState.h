#pragma once

#include <array>
#include <cstdint>
#include <string>

// Satellites one GSV group can list: eight messages of four.
inline constexpr int SkySlotCount = 32;
// Satellites a GSA sentence names as used in the solution.
inline constexpr int ActivePrnCount = 12;

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
    std::int16_t ZdaYear = 0;
    std::int16_t ZdaZoneHours = 0;
    std::int16_t ZdaZoneMinutes = 0;
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
    std::array<std::uint8_t, ActivePrnCount> ActivePrn{};

    // The published satellite table: it only ever changes as a whole, so readers never see half
    // of a GSV group. 0 in SkyPrn marks an empty slot.
    std::array<std::uint8_t, SkySlotCount> SkyPrn{};
    std::array<std::int16_t, SkySlotCount> SkyElevation{};
    std::array<std::int16_t, SkySlotCount> SkyAzimuth{};
    std::array<std::uint8_t, SkySlotCount> SkySnr{};

    // The GSV group being received; copied whole into the Sky arrays by its last message.
    std::array<std::uint8_t, SkySlotCount> GsvPrn{};
    std::array<std::int16_t, SkySlotCount> GsvElevation{};
    std::array<std::int16_t, SkySlotCount> GsvAzimuth{};
    std::array<std::uint8_t, SkySlotCount> GsvSnr{};

    float MagneticVariation = 0;          // degrees, without its east/west sign
    float VtgCourseTrue = 0;
    float VtgCourseMagnetic = 0;
    float VtgSpeedKnots = 0;
    float VtgSpeedKmh = 0;

    bool operator==(const NavState&) const = default;

    // The fixed values a GPSD position reply carries where this program has no estimate.
    void SetGpsdPlaceholders();
    // Empties the published satellite table (reception lost).
    void ClearSky();
};
