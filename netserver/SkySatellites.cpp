#include "SkySatellites.h"

#include "NavState.h"

namespace {

struct Numbering {
    int GnssId;
    int Svid;
    int PrnBase; // PRN = PrnBase + Svid
};

// The sky keeps each satellite under the number its sentence gave it; NMEA gives some
// constellations a range of their own inside the GPS talker's numbers.
Numbering NumberingOf(char system, int nmeaPrn)
{
    switch (system) {
    case Gnss::Sbas: return {1, nmeaPrn < 65 ? nmeaPrn + 87 : nmeaPrn, 0};
    case Gnss::Galileo: return {2, nmeaPrn > 300 ? nmeaPrn - 300 : nmeaPrn, 300};
    case Gnss::BeiDou: // numbered from 1, 201 or 401
        return {3, nmeaPrn > 400 ? nmeaPrn - 400 : (nmeaPrn > 200 ? nmeaPrn - 200 : nmeaPrn), 400};
    case Gnss::Qzss: return {5, nmeaPrn > 192 ? nmeaPrn - 192 : nmeaPrn, 192};
    case Gnss::Glonass: return {6, nmeaPrn > 64 ? nmeaPrn - 64 : nmeaPrn, 64};
    case Gnss::NavIc: return {7, nmeaPrn, 382};
    default: return {0, nmeaPrn, 0};
    }
}

} // namespace

std::optional<SkySatellite> PublishedSatellite(const NavState& nav, std::size_t index)
{
    if (index >= nav.SkyPrn.size() || nav.SkyPrn[index] == 0)
        return std::nullopt;
    const SatelliteId id{nav.SkySystem[index], nav.SkyPrn[index]};
    const Numbering numbering = NumberingOf(id.System, id.Prn);
    SkySatellite satellite;
    satellite.GnssId = numbering.GnssId;
    satellite.Svid = numbering.Svid;
    satellite.Prn = numbering.PrnBase + numbering.Svid;
    satellite.Elevation = nav.SkyElevation[index];
    satellite.Azimuth = nav.SkyAzimuth[index];
    satellite.Snr = nav.SkySnr[index];
    satellite.Used = nav.SatelliteUsed(id);
    return satellite;
}
