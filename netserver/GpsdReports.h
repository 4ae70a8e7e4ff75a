#pragma once

#include <string>
#include <string_view>

class JsonWriter;
struct FixEpoch;
struct NavState;

// The two reports of the JSON protocol. A field is written only when its value is known: a client
// takes a missing field as "unknown", but a 0 as a measurement.

// The TPV object (time, position, velocity) of one receiver cycle; a FixEpoch{} says "no fix".
// nav gives what outlasts a cycle: the sky whose geometry gives epx and epy, and the time error.
// device is left out when empty.
void WriteTpv(JsonWriter& json, const FixEpoch& epoch, const NavState& nav, std::string_view device);
// The SKY object: the published satellites and the dilutions of precision.
void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device);

// Each object as one line, ending in CR LF, appended to out.
void AppendTpv(std::string& out, const FixEpoch& epoch, const NavState& nav, std::string_view device);
void AppendSky(std::string& out, const NavState& nav, std::string_view device);
