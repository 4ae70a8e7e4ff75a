// The satellite sentences: GSA (satellites used, DOPs) and GSV (satellites in view).
#include "Constellations.h"
#include "FieldReader.h"
#include "NavState.h"
#include "SentenceRules.h"
#include "SkyCollector.h"
#include "ValueBounds.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

// A receiver of several constellations sends one GSA for each, one after the other; the first
// GSA after any other sentence starts the list of used satellites afresh.
void RecordUsed(NavState& nav, const SatelliteContext& context, std::string_view systemId,
                const std::array<std::uint16_t, ActivePrnCount>& active)
{
    if (!context.ContinuesGsaRun)
        nav.UsedSatellites.fill({});
    auto end = std::find(nav.UsedSatellites.begin(), nav.UsedSatellites.end(), SatelliteId{});
    for (const std::uint16_t prn : active) {
        const SatelliteId id{UsedSatelliteSystem(systemId, context.Talker, prn), prn};
        if (prn == 0 || std::find(nav.UsedSatellites.begin(), end, id) != end)
            continue;
        if (end == nav.UsedSatellites.end())
            return;
        *end++ = id;
    }
}

// NMEA 4.10 adds the signal after the satellites, as one hex digit (1 = L1 C/A, 7 = E1, ...).
char SignalOf(const SentenceFields& fields)
{
    const int lastField = fields.Count() - 1;
    if (lastField <= 3 || (lastField - 3) % 4 != 1)
        return 0;
    const std::string_view signal = fields[lastField];
    return signal.size() == 1 && std::isxdigit(static_cast<unsigned char>(signal[0])) != 0 ? signal[0] : 0;
}

// The satellite whose number is in field first, then its elevation, azimuth and SNR. One with a
// value that cannot be true leaves its place in the group empty: the rest of the message still
// counts, so that one corrupt satellite, or one numbered in a way we do not know, does not keep
// the whole sky stale for as long as it is in view.
SkyEntry ReadSatellite(const SentenceFields& fields, int first, std::string_view talker)
{
    FieldReader read(fields);
    const auto prn = read.Whole<std::uint16_t>(first, 0, MaxSatelliteNumber);
    const auto elevation = read.Whole<std::int16_t>(first + 1, MinElevation, MaxElevation);
    const auto azimuth = read.Whole<std::int16_t>(first + 2, 0, MaxAzimuth);
    const auto snr = read.Whole<std::uint8_t>(first + 3, 0, MaxSnr);
    if (!read.Ok())
        return {};
    return {{prn == 0 ? '\0' : SatelliteSystem(talker, prn), prn}, elevation, azimuth, snr};
}

} // namespace

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
// $GNGSA,A,3,82,73,74,67,81,83,68,,,,,,0.99,0.54,0.83,2*08   (field 18: the constellation)
InterpretResult ApplyGsa(const SentenceFields& fields, NavState& nav, const SatelliteContext& context)
{
    if (fields.Count() <= 17)
        return {};
    FieldReader read(fields);
    const auto mode = read.Whole<std::uint8_t>(2);
    std::array<std::uint16_t, ActivePrnCount> active{};
    for (int k = 0; k < ActivePrnCount; ++k)
        active[static_cast<std::size_t>(k)] = read.Whole<std::uint16_t>(k + 3, 0, MaxSatelliteNumber);
    const float pdop = read.Single(15);
    const float hdop = read.Single(16);
    const float vdop = read.Single(17);
    if (!read.Ok())
        return {};

    nav.GsaMode = mode;
    nav.FixMode = mode == 2 || mode == 3 ? mode : 1;
    nav.ActivePrn = active;
    nav.Pdop = pdop;
    nav.Hdop = hdop;
    nav.Vdop = vdop;
    RecordUsed(nav, context, fields[18], active);
    InterpretResult result;
    result.Carried = Carried::GsaMode | (fields[15].empty() ? 0 : Carried::Pdop)
                     | (fields[16].empty() ? 0 : Carried::Hdop) | (fields[17].empty() ? 0 : Carried::Vdop);
    return result;
}

// $GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74
// Fields: messages in the group, this message's number, satellites in view, then four fields per
// satellite: PRN, elevation, azimuth, SNR; NMEA 4.10 adds the signal. Satellite i of message m
// has place (m - 1) * 4 + i in its group.
InterpretResult ApplyGsv(const SentenceFields& fields, NavState& nav, const SatelliteContext& context)
{
    if (fields.Count() <= 2)
        return {};
    FieldReader read(fields);
    const double messages = read.Value(1);
    const double number = read.Value(2);
    const int lastField = fields.Count() - 1;
    GsvMessage message;
    message.Key = {{context.Talker[0], context.Talker[1]}, SignalOf(fields)};
    message.First = number == 1;
    message.Last = messages == number;
    message.Count = lastField > 3 ? (lastField - 3) / 4 : 0;
    for (int i = 1; i <= message.Count; ++i) {
        const std::int16_t slot = read.Integer((number - 1) * 4 + i);
        if (slot < 1 || slot > SkyCollector::GroupSlots)
            return {};
        const auto at = static_cast<std::size_t>(i - 1);
        message.Slots[at] = slot - 1;
        message.Satellites[at] = ReadSatellite(fields, 4 * i, context.Talker);
    }
    if (!read.Ok())
        return {};
    InterpretResult result;
    result.SkyPublished = context.Sky.Take(message, nav);
    return result;
}
