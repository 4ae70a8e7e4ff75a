#pragma once

#include "SentenceFields.h"

#include <cstdint>
#include <string_view>

struct NavState;
class SkyCollector;

// The values a sentence stored in NavState that it really carried (a field left empty stores 0
// but is not a value), as bits of InterpretResult::Carried: the epoch of the JSON reports takes
// exactly these.
namespace Carried {
inline constexpr std::uint16_t Position = 1 << 0;        // Latitude and Longitude, both
inline constexpr std::uint16_t Altitude = 1 << 1;        // in metres
inline constexpr std::uint16_t GeoidSeparation = 1 << 2; // in metres
inline constexpr std::uint16_t Course = 1 << 3;
inline constexpr std::uint16_t Speed = 1 << 4;
inline constexpr std::uint16_t MagneticVariation = 1 << 5;
inline constexpr std::uint16_t Hdop = 1 << 6;
inline constexpr std::uint16_t Vdop = 1 << 7;
inline constexpr std::uint16_t Pdop = 1 << 8;
inline constexpr std::uint16_t GsaMode = 1 << 9;
} // namespace Carried

// What interpreting one sentence did.
struct InterpretResult {
    bool Recognised = false;   // a sentence type this program knows (the indicator goes green)
    bool FixAccepted = false;  // a GGA, RMC or GLL fix was stored: restart the reception watchdog
    bool SkyPublished = false; // the last message of a GSV group replaced the published sky
    // A GGA, RMC or GLL that says the receiver has no fix (quality 0, status V): nothing stored.
    bool NoFix = false;
    std::uint16_t Carried = 0;
    // The sentence's time of day in milliseconds, fractions included, whether or not it carries
    // a fix; -1 when it has no time that is a time of day.
    std::int32_t TimeOfDayMs = -1;
    // The quality of an accepted fix in the numbering of GPSD's "status": 1 plain, 2 differential,
    // 3 RTK fixed, 4 RTK float, 5 dead reckoning, 9 precise (P code); 0 when the sentence does not
    // say.
    std::uint8_t FixStatus = 0;
};

// What the satellite rules need besides the record: the sentence's talker and what the
// interpreter remembers across sentences.
struct SatelliteContext {
    SkyCollector& Sky;
    std::string_view Talker;          // "GP", "GN", "GL", ...
    bool ContinuesGsaRun = false;     // the sentence before this one was a GSA too: same epoch
};

// One rule per sentence type. Each reads every field it needs first and changes NavState only
// when the sentence meets its condition and every value fits where it goes and can be true
// (ValueBounds.h).
InterpretResult ApplyGga(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyGll(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyRmc(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyVtg(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyZda(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyGsa(const SentenceFields& fields, NavState& nav, const SatelliteContext& context);
InterpretResult ApplyGsv(const SentenceFields& fields, NavState& nav, const SatelliteContext& context);
