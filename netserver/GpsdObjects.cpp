#include "GpsdObjects.h"

#include "GpsdReports.h"
#include "IsoTime.h"
#include "JsonWriter.h"
#include "TpvEstimates.h"

namespace {

std::string IsoMillis(std::int64_t millis)
{
    const std::int64_t seconds = millis >= 0 ? millis / 1000 : (millis - 999) / 1000;
    return IsoUtcTime(seconds, static_cast<int>(millis - seconds * 1000));
}

void WriteDevice(JsonWriter& json, const GpsdDevice& device)
{
    json.BeginObject();
    json.StringField("class", "DEVICE");
    json.StringField("path", device.Path);
    json.StringField("driver", "NMEA0183");
    json.StringField("activated", IsoMillis(device.ActivatedMillis));
    json.IntegerField("flags", 1); // a GPS has been seen on it
    json.IntegerField("native", 0);
    // gpsd always sends the line with the cycle, and gpsprof fails on a line without one: the line
    // waits until the cycle is known.
    if (device.Line && device.CycleMs) {
        json.IntegerField("bps", device.Line->Bps);
        json.StringField("parity", std::string_view(&device.Line->Parity, 1));
        json.IntegerField("stopbits", device.Line->StopBits);
        json.NumberField("cycle", static_cast<double>(*device.CycleMs) / 1000.0, 2);
    }
    json.EndObject();
}

} // namespace

void AppendVersion(std::string& out, std::string_view revision)
{
    JsonWriter json(out);
    json.BeginObject();
    json.StringField("class", "VERSION");
    json.StringField("release", GpsdProtoRelease);
    json.StringField("rev", revision);
    json.IntegerField("proto_major", GpsdProtoMajor);
    json.IntegerField("proto_minor", GpsdProtoMinor);
    json.EndObject();
    out.append("\r\n");
}

void AppendDevices(std::string& out, const GpsdDevice& device)
{
    JsonWriter json(out);
    json.BeginObject();
    json.StringField("class", "DEVICES");
    json.Key("devices");
    json.BeginArray();
    if (device.Active())
        WriteDevice(json, device);
    json.EndArray();
    json.EndObject();
    out.append("\r\n");
}

void AppendDevice(std::string& out, const GpsdDevice& device)
{
    if (device.Path.empty()) {
        AppendError(out, "No such device");
        return;
    }
    JsonWriter json(out);
    if (device.Active()) {
        WriteDevice(json, device);
    } else {
        json.BeginObject();
        json.StringField("class", "DEVICE");
        json.StringField("path", device.Path);
        json.IntegerField("activated", 0);
        json.EndObject();
    }
    out.append("\r\n");
}

void AppendWatch(std::string& out, const WatchPolicy& watch)
{
    JsonWriter json(out);
    json.BeginObject();
    json.StringField("class", "WATCH");
    json.BoolField("enable", watch.Enable);
    json.BoolField("json", watch.Json);
    json.BoolField("nmea", watch.Nmea);
    json.IntegerField("raw", watch.Raw);
    json.BoolField("scaled", watch.Scaled);
    json.BoolField("timing", watch.Timing);
    json.BoolField("split24", watch.Split24);
    json.BoolField("pps", watch.Pps);
    if (!watch.Device.empty())
        json.StringField("device", watch.Device);
    json.EndObject();
    out.append("\r\n");
}

void AppendError(std::string& out, std::string_view message)
{
    JsonWriter json(out);
    json.BeginObject();
    json.StringField("class", "ERROR");
    json.StringField("message", message);
    json.EndObject();
    out.append("\r\n");
}

void AppendPoll(std::string& out, const TpvReport& latest, const NavState& nav, const GpsdDevice& device,
                std::int64_t nowMillis)
{
    JsonWriter json(out);
    json.BeginObject();
    json.StringField("class", "POLL");
    json.StringField("time", IsoMillis(nowMillis));
    json.IntegerField("active", device.Active() ? 1 : 0);
    json.Key("tpv");
    json.BeginArray();
    if (device.Active())
        WriteTpv(json, latest, nav, device.Path);
    json.EndArray();
    json.Key("sky");
    json.BeginArray();
    if (device.Active())
        WriteSky(json, nav, device.Path);
    json.EndArray();
    json.EndObject();
    out.append("\r\n");
}
