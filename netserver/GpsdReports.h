#pragma once

#include <string>
#include <string_view>

class JsonWriter;
struct NavState;
struct TpvReport;

// The two reports of the JSON protocol. A field is written only when its value is known: a client
// takes a missing field as "unknown", but a 0 as a measurement.

// The TPV object (time, position, velocity) of one receiver cycle; a TpvReport{} says "no fix".
// nav gives what outlasts a cycle: the time error. device is left out when empty.
void WriteTpv(JsonWriter& json, const TpvReport& report, const NavState& nav, std::string_view device);
// The SKY object: the published satellites and the dilutions of precision.
void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device);

// Each object as one line, ending in CR LF, appended to out.
void AppendTpv(std::string& out, const TpvReport& report, const NavState& nav, std::string_view device);
void AppendSky(std::string& out, const NavState& nav, std::string_view device);
// A SKY without satellites or DOPs: the device has gone, and so has its sky.
void AppendEmptySky(std::string& out, std::string_view device);
