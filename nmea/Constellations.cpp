#include "Constellations.h"

#include "NavState.h"

#include <iterator>

int TalkerRank(std::string_view talker)
{
    for (std::size_t i = 0; i < std::size(GnssTalkers); ++i)
        if (GnssTalkers[i] == talker)
            return static_cast<int>(i);
    return -1;
}

namespace {

// The numbering of the GPS talker, which older receivers use for everything they track.
char GpsTalkerSystem(int prn)
{
    if (prn >= 33 && prn <= 64)
        return Gnss::Sbas;
    if (prn >= 65 && prn <= 96)
        return Gnss::Glonass;
    if (prn >= 120 && prn <= 158)
        return Gnss::Sbas;
    if (prn >= 193 && prn <= 202)
        return Gnss::Qzss;
    if (prn >= 301 && prn <= 336)
        return Gnss::Galileo;
    if (prn >= 401 && prn <= 463)
        return Gnss::BeiDou;
    return Gnss::Gps;
}

} // namespace

char SatelliteSystem(std::string_view talker, int prn)
{
    if (talker == "GL")
        return Gnss::Glonass;
    if (talker == "GA")
        return Gnss::Galileo;
    if (talker == "GB" || talker == "BD")
        return Gnss::BeiDou;
    if (talker == "GQ")
        return Gnss::Qzss;
    if (talker == "GI")
        return Gnss::NavIc;
    return GpsTalkerSystem(prn);
}

char UsedSatelliteSystem(std::string_view systemId, std::string_view talker, int prn)
{
    if (systemId == "1")
        return GpsTalkerSystem(prn);
    if (systemId == "2")
        return Gnss::Glonass;
    if (systemId == "3")
        return Gnss::Galileo;
    if (systemId == "4")
        return Gnss::BeiDou;
    if (systemId == "5")
        return Gnss::Qzss;
    if (systemId == "6")
        return Gnss::NavIc;
    return SatelliteSystem(talker, prn);
}
