#include "StationGlance.h"

#include "Rounding.h"

#include <cstdio>

namespace {

constexpr const char* Separator = " \u00B7 ";

// "0.4", "8", "35": a decimal where it says something, none where it is only noise.
std::string Amount(double value)
{
    char text[32];
    if (value < 10 && RoundHalfEven(value * 10) != RoundHalfEven(value) * 10)
        std::snprintf(text, sizeof text, "%.1f", value);
    else
        std::snprintf(text, sizeof text, "%.0f", RoundHalfEven(value));
    return text;
}

// Tenths of a second while a receiver's cycles are counted in them, then whole units.
std::string Age(double seconds)
{
    if (seconds < 10) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f s", seconds);
        return text;
    }
    if (seconds < 120)
        return Amount(seconds) + " s";
    if (seconds < 120 * 60)
        return Amount(seconds / 60) + " min";
    return Amount(seconds / 3600) + " h";
}

const char* QualityText(FixQuality quality)
{
    switch (quality) {
    case FixQuality::Fix2D: return "2D fix";
    case FixQuality::Fix3D: return "3D fix";
    case FixQuality::Dgps: return "DGPS fix";
    case FixQuality::RtkFixed: return "RTK fixed";
    case FixQuality::RtkFloat: return "RTK float";
    case FixQuality::DeadReckoning: return "Dead reckoning";
    case FixQuality::None: break;
    }
    return "No fix";
}

std::string Satellites(const StationGlance& glance)
{
    const auto& used = glance.SatellitesUsed;
    const auto& seen = glance.SatellitesSeen;
    if (used && seen)
        return std::to_string(*used) + " of " + std::to_string(*seen) + " satellites used";
    if (used)
        return std::to_string(*used) + (*used == 1 ? " satellite used" : " satellites used");
    if (seen)
        return std::to_string(*seen) + (*seen == 1 ? " satellite in view" : " satellites in view");
    return {};
}

// "GPSD on port 2947: 2 clients"; the web page counts its clients as pages.
std::string Server(const char* name, const ServerGlance& server, const char* off = " server off",
                   const std::string& client = "client")
{
    std::string text = name;
    if (!server.Enabled)
        return text + off;
    text += " on port " + std::to_string(server.Port) + ": ";
    if (!server.Listening)
        return text + "not serving";
    if (server.Clients == 0)
        return text + "no " + client + "s";
    return text + std::to_string(server.Clients) + " " + client + (server.Clients == 1 ? "" : "s");
}

} // namespace

FixQuality QualityOf(int mode, int status)
{
    switch (status) {
    case 2: return FixQuality::Dgps;
    case 3: return FixQuality::RtkFixed;
    case 4: return FixQuality::RtkFloat;
    case 5: return FixQuality::DeadReckoning;
    default: break;
    }
    return mode == 3 ? FixQuality::Fix3D : mode == 2 ? FixQuality::Fix2D : FixQuality::None;
}

std::string ReceiverGlanceText(const StationGlance& glance)
{
    std::string text = QualityText(glance.Quality);
    if (const std::string satellites = Satellites(glance); !satellites.empty())
        text += Separator + satellites;
    if (!glance.FixAgeSeconds)
        text += Separator + std::string("no fix yet");
    else if (glance.Quality == FixQuality::None)
        text += Separator + ("last fix " + Age(*glance.FixAgeSeconds) + " ago");
    else
        text += Separator + ("fix " + Age(*glance.FixAgeSeconds) + " old");
    if (!glance.SentencesPerSecond || *glance.SentencesPerSecond <= 0)
        return text + Separator + "no sentences";
    return text + Separator + Amount(*glance.SentencesPerSecond) + " sentences/s";
}

std::string ServersGlanceText(const StationGlance& glance)
{
    return Server("GPSD", glance.Gpsd) + Separator + Server("NMEA", glance.Nmea) + Separator
        + Server("Web page", glance.Web, " off", "page");
}
