#include "GpsdReports.h"

#include "Coordinates.h"
#include "GpsdFixTime.h"
#include "IsoTime.h"
#include "JsonWriter.h"
#include "NavState.h"
#include "SkySatellites.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

// The protocol gives speeds in metres per second; RMC gives knots.
constexpr double MetresPerSecondPerKnot = 1852.0 / 3600.0;

// The milliseconds of a time text "hhmmss.sss" (GLL keeps its fraction); 0 without one.
int TimeMilliseconds(std::string_view timeText)
{
    if (timeText.size() < 8 || timeText[6] != '.')
        return 0;
    int milliseconds = 0;
    int scale = 100;
    for (std::size_t i = 7; i < timeText.size() && i < 10; ++i, scale /= 10) {
        const char digit = timeText[i];
        if (digit < '0' || digit > '9')
            break;
        milliseconds += (digit - '0') * scale;
    }
    return milliseconds;
}

// A number kept as text, such as the error placeholders; nullopt while it says "?" or nothing.
std::optional<double> KnownNumber(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void KnownNumberField(JsonWriter& json, std::string_view name, std::string_view text)
{
    if (const auto value = KnownNumber(text))
        json.NumberField(name, *value, 3);
}

bool IsMetres(std::string_view unit)
{
    return unit == "M" || unit == "m";
}

void WriteFixTime(JsonWriter& json, const NavState& nav)
{
    const auto seconds = GpsdFixTime(nav);
    if (!seconds)
        return;
    json.StringField("time", IsoUtcTime(*seconds, TimeMilliseconds(nav.UtcTimeText)));
    if (nav.TimeError > 0)
        json.NumberField("ept", nav.TimeError, 3);
}

void WritePosition(JsonWriter& json, const NavState& nav)
{
    json.NumberField("lat", DegMin2Deg(nav.PreciseLatitude), 9);
    json.NumberField("lon", DegMin2Deg(nav.PreciseLongitude), 9);
    // Only GGA carries an altitude, and with it its unit; a unit other than metres would need a
    // conversion nobody has asked for.
    if (IsMetres(nav.AltitudeUnit)) {
        json.NumberField("altMSL", nav.Altitude, 3);
        json.NumberField("alt", nav.Altitude, 3);
        // The height above the ellipsoid, as the GGA's geoid separation gives it.
        if (IsMetres(nav.GeoidUnit)) {
            json.NumberField("altHAE", static_cast<double>(nav.Altitude) + nav.GeoidSeparation, 3);
            json.NumberField("geoidSep", nav.GeoidSeparation, 3);
        }
    }
    // Course and speed come from RMC alone, which also brings the date: without an RMC date they
    // were never received.
    if (!nav.UtcDateText.empty()) {
        json.NumberField("track", nav.Course, 4);
        json.NumberField("speed", nav.Speed * MetresPerSecondPerKnot, 3);
    }
    KnownNumberField(json, "climb", nav.ClimbText);
    KnownNumberField(json, "eph", nav.HorizontalErrorText);
    KnownNumberField(json, "epv", nav.VerticalErrorText);
    KnownNumberField(json, "epd", nav.CourseErrorText);
    KnownNumberField(json, "eps", nav.SpeedErrorText);
    KnownNumberField(json, "epc", nav.ClimbErrorText);
}

void WriteDevice(JsonWriter& json, std::string_view device)
{
    if (!device.empty())
        json.StringField("device", device);
}

void WriteDop(JsonWriter& json, std::string_view name, float dop)
{
    if (dop > 0)
        json.NumberField(name, dop, 2);
}

} // namespace

int TpvMode(const NavState& nav)
{
    if (!nav.FixValid)
        return 1;
    return nav.FixMode == 2 || nav.FixMode == 3 ? nav.FixMode : 2;
}

void WriteTpv(JsonWriter& json, const NavState& nav, std::string_view device)
{
    json.BeginObject();
    json.StringField("class", "TPV");
    WriteDevice(json, device);
    const int mode = TpvMode(nav);
    json.IntegerField("mode", mode);
    // Without a fix the last time and position are history, not a report.
    if (mode >= 2) {
        // A plain satellite fix; clients of protocol 3.14 take a missing status for "no fix".
        json.IntegerField("status", 1);
        WriteFixTime(json, nav);
        WritePosition(json, nav);
    }
    json.EndObject();
}

void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device)
{
    json.BeginObject();
    json.StringField("class", "SKY");
    WriteDevice(json, device);
    WriteDop(json, "hdop", nav.Hdop);
    WriteDop(json, "vdop", nav.Vdop);
    WriteDop(json, "pdop", nav.Pdop);
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

void AppendTpv(std::string& out, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteTpv(json, nav, device);
    out.append("\r\n");
}

void AppendSky(std::string& out, const NavState& nav, std::string_view device)
{
    JsonWriter json(out);
    WriteSky(json, nav, device);
    out.append("\r\n");
}
