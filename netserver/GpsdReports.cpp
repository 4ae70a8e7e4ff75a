#include "GpsdReports.h"

#include "FixEpoch.h"
#include "IsoTime.h"
#include "JsonWriter.h"
#include "NavState.h"
#include "SkySatellites.h"

#include <optional>

namespace {

// The protocol gives speeds in metres per second; RMC gives knots.
constexpr double MetresPerSecondPerKnot = 1852.0 / 3600.0;

// The error a receiver makes in metres at 95 % confidence for each unit of dilution of
// precision, the user equivalent range errors gpsd multiplies the DOPs with, so that clients see
// the same estimates from either server: horizontal (epx, epy), vertical (epv) and position (eph,
// which gpsd takes from the horizontal DOP times the position error). A differential fix is four
// times as good.
struct RangeErrors {
    double Horizontal;
    double Vertical;
    double Position;
};
constexpr RangeErrors Autonomous{15.0, 23.0, 19.0};
constexpr RangeErrors Differential{3.75, 5.75, 4.75};
constexpr int DifferentialStatus = 2;

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

void WriteFix(JsonWriter& json, const FixEpoch& epoch, const NavState& nav)
{
    const bool threeD = epoch.Mode == 3;
    const RangeErrors& errors = epoch.Status == DifferentialStatus ? Differential : Autonomous;
    OptionalField(json, "lat", epoch.Latitude, 9);
    OptionalField(json, "lon", epoch.Longitude, 9);
    if (threeD && epoch.AltitudeMsl) {
        if (epoch.GeoidSeparation)
            json.NumberField("altHAE", *epoch.AltitudeMsl + *epoch.GeoidSeparation, 4);
        json.NumberField("altMSL", *epoch.AltitudeMsl, 4);
        json.NumberField("alt", *epoch.AltitudeMsl, 4);
    }
    if (const auto dops = SkyHorizontalDops(nav)) {
        json.NumberField("epx", dops->X * errors.Horizontal, 3);
        json.NumberField("epy", dops->Y * errors.Horizontal, 3);
    }
    if (threeD)
        OptionalField(json, "epv", epoch.Vdop, 3, errors.Vertical);
    OptionalField(json, "track", epoch.Course, 4);
    OptionalField(json, "magvar", epoch.MagneticVariation, 1);
    OptionalField(json, "speed", epoch.SpeedKnots, 3, MetresPerSecondPerKnot);
    OptionalField(json, "geoidSep", epoch.GeoidSeparation, 3);
    OptionalField(json, "eph", epoch.Hdop, 3, errors.Position);
}

void WriteDop(JsonWriter& json, std::string_view name, double dop)
{
    if (dop > 0)
        json.NumberField(name, dop, 2);
}

} // namespace

void WriteTpv(JsonWriter& json, const FixEpoch& epoch, const NavState& nav, std::string_view device)
{
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
        WriteFix(json, epoch, nav);
    json.EndObject();
}

void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device)
{
    json.BeginObject();
    json.StringField("class", "SKY");
    WriteDevice(json, device);
    if (const auto dops = SkyHorizontalDops(nav)) {
        WriteDop(json, "xdop", dops->X);
        WriteDop(json, "ydop", dops->Y);
    }
    WriteDop(json, "hdop", nav.Hdop);
    WriteDop(json, "vdop", nav.Vdop);
    WriteDop(json, "pdop", nav.Pdop);
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

void AppendTpv(std::string& out, const FixEpoch& epoch, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteTpv(json, epoch, nav, device);
    out.append("\r\n");
}

void AppendSky(std::string& out, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteSky(json, nav, device);
    out.append("\r\n");
}
