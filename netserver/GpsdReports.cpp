#include "GpsdReports.h"

#include "FixEpoch.h"
#include "IsoTime.h"
#include "JsonWriter.h"
#include "NavState.h"
#include "SkySatellites.h"
#include "TpvEstimates.h"

#include <optional>

namespace {

// The protocol gives speeds in metres per second; RMC gives knots.
constexpr double MetresPerSecondPerKnot = 1852.0 / 3600.0;

void OptionalField(JsonWriter& json, std::string_view name, const std::optional<double>& value, int decimals,
                   double scale = 1)
{
    if (value)
        json.NumberField(name, *value * scale, decimals);
}

void WriteDevice(JsonWriter& json, std::string_view device)
{
    if (!device.empty())
        json.StringField("device", device);
}

void WriteTime(JsonWriter& json, const FixEpoch& epoch, const NavState& nav)
{
    if (!epoch.TimeMs)
        return;
    const std::int64_t milliseconds = *epoch.TimeMs;
    json.StringField("time", IsoUtcTime(milliseconds / 1000, static_cast<int>(milliseconds % 1000)));
    if (nav.TimeError > 0)
        json.NumberField("ept", nav.TimeError, 3);
}

void WriteFix(JsonWriter& json, const TpvReport& report)
{
    const FixEpoch& epoch = report.Epoch;
    const TpvEstimates& estimates = report.Estimates;
    OptionalField(json, "lat", epoch.Latitude, 9);
    OptionalField(json, "lon", epoch.Longitude, 9);
    if (epoch.Mode == 3 && epoch.AltitudeMsl) {
        if (epoch.GeoidSeparation)
            json.NumberField("altHAE", *epoch.AltitudeMsl + *epoch.GeoidSeparation, 4);
        json.NumberField("altMSL", *epoch.AltitudeMsl, 4);
        json.NumberField("alt", *epoch.AltitudeMsl, 4);
    }
    OptionalField(json, "epx", estimates.Epx, 3);
    OptionalField(json, "epy", estimates.Epy, 3);
    OptionalField(json, "epv", estimates.Epv, 3);
    OptionalField(json, "track", epoch.Course, 4);
    OptionalField(json, "magtrack", estimates.MagneticTrack, 4);
    OptionalField(json, "magvar", epoch.MagneticVariation, 1);
    OptionalField(json, "speed", epoch.SpeedKnots, 3, MetresPerSecondPerKnot);
    OptionalField(json, "climb", estimates.Climb, 3);
    OptionalField(json, "eps", estimates.Eps, 2);
    OptionalField(json, "epc", estimates.Epc, 2);
    OptionalField(json, "geoidSep", epoch.GeoidSeparation, 3);
    OptionalField(json, "eph", estimates.Eph, 3);
    OptionalField(json, "sep", estimates.Sep, 3);
}

void WriteDop(JsonWriter& json, std::string_view name, double dop)
{
    if (dop > 0)
        json.NumberField(name, dop, 2);
}

} // namespace

void WriteTpv(JsonWriter& json, const TpvReport& report, const NavState& nav, std::string_view device)
{
    const FixEpoch& epoch = report.Epoch;
    json.BeginObject();
    json.StringField("class", "TPV");
    WriteDevice(json, device);
    json.IntegerField("mode", epoch.Mode);
    // gpsd leaves out status 1, but clients of protocol 3.14 that read a missing status as "no
    // fix" were around when it was written; saying it costs a few bytes.
    if (epoch.Mode >= 2)
        json.IntegerField("status", epoch.Status);
    WriteTime(json, epoch, nav);
    if (epoch.Mode >= 2)
        WriteFix(json, report);
    json.EndObject();
}

void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device)
{
    json.BeginObject();
    json.StringField("class", "SKY");
    WriteDevice(json, device);
    const auto dops = SkyGeometryDops(nav);
    if (dops) {
        WriteDop(json, "xdop", dops->X);
        WriteDop(json, "ydop", dops->Y);
    }
    WriteDop(json, "hdop", nav.Hdop);
    WriteDop(json, "vdop", nav.Vdop);
    WriteDop(json, "pdop", nav.Pdop);
    if (dops) {
        WriteDop(json, "tdop", dops->T);
        WriteDop(json, "gdop", dops->G);
    }
    int inView = 0;
    int used = 0;
    for (std::size_t index = 0; index < nav.SkyPrn.size(); ++index) {
        if (const auto satellite = PublishedSatellite(nav, index)) {
            ++inView;
            used += satellite->Used ? 1 : 0;
        }
    }
    json.IntegerField("nSat", inView);
    json.IntegerField("uSat", used);
    json.Key("satellites");
    json.BeginArray();
    for (std::size_t index = 0; index < nav.SkyPrn.size(); ++index) {
        const auto satellite = PublishedSatellite(nav, index);
        if (!satellite)
            continue;
        json.BeginObject();
        json.IntegerField("PRN", satellite->Prn);
        json.IntegerField("el", satellite->Elevation);
        json.IntegerField("az", satellite->Azimuth);
        json.IntegerField("ss", satellite->Snr);
        json.BoolField("used", satellite->Used);
        json.IntegerField("gnssid", satellite->GnssId);
        json.IntegerField("svid", satellite->Svid);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void AppendTpv(std::string& out, const TpvReport& report, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteTpv(json, report, nav, device);
    out.append("\r\n");
}

void AppendSky(std::string& out, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteSky(json, nav, device);
    out.append("\r\n");
}

void AppendEmptySky(std::string& out, std::string_view device)
{
    AppendSky(out, NavState{}, device);
}
