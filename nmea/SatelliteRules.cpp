// The satellite sentences: GSA (satellites used, DOPs) and GSV (satellites in view).
#include "FieldReader.h"
#include "NavState.h"
#include "SentenceRules.h"

#include <array>

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
InterpretResult ApplyGsa(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 17)
        return {};
    FieldReader read(fields);
    const std::uint8_t mode = read.Byte(read.Value(2));
    std::array<std::uint8_t, ActivePrnCount> active{};
    for (int k = 0; k < ActivePrnCount; ++k)
        active[static_cast<std::size_t>(k)] = read.Byte(read.Value(k + 3));
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
    return {};
}

// $GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00*74
// Fields: messages in the group, this message's number, satellites in view, then four fields per
// satellite: PRN, elevation, azimuth, SNR. Satellite i of message m goes to slot (m - 1) * 4 + i.
InterpretResult ApplyGsv(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 2)
        return {};
    struct Satellite {
        std::size_t Index;
        std::uint8_t Prn;
        std::int16_t Elevation;
        std::int16_t Azimuth;
        std::uint8_t Snr;
    };
    FieldReader read(fields);
    const double messages = read.Value(1);
    const double message = read.Value(2);
    const int lastField = fields.Count() - 1;
    const int count = lastField > 3 ? (lastField - 3) / 4 : 0;
    std::array<Satellite, SentenceFields::MaxFields / 4> staged{};
    for (int i = 1; i <= count; ++i) {
        const std::int16_t slot = read.Integer((message - 1) * 4 + i);
        if (slot < 1 || slot > SkySlotCount)
            return {};
        staged[static_cast<std::size_t>(i - 1)] = {static_cast<std::size_t>(slot - 1),
                                                   read.Byte(read.Value(4 * i)),
                                                   read.Integer(read.Value(4 * i + 1)),
                                                   read.Integer(read.Value(4 * i + 2)),
                                                   read.Byte(read.Value(4 * i + 3))};
    }
    if (!read.Ok())
        return {};

    if (message == 1) {
        nav.GsvPrn.fill(0);
        nav.GsvElevation.fill(0);
        nav.GsvAzimuth.fill(0);
        nav.GsvSnr.fill(0);
    }
    for (int i = 0; i < count; ++i) {
        const Satellite& s = staged[static_cast<std::size_t>(i)];
        nav.GsvPrn[s.Index] = s.Prn;
        nav.GsvElevation[s.Index] = s.Elevation;
        nav.GsvAzimuth[s.Index] = s.Azimuth;
        nav.GsvSnr[s.Index] = s.Snr;
    }
    if (messages != message)
        return {};
    nav.SkyPrn = nav.GsvPrn;
    nav.SkyElevation = nav.GsvElevation;
    nav.SkyAzimuth = nav.GsvAzimuth;
    nav.SkySnr = nav.GsvSnr;
    return {false, false, true};
}
