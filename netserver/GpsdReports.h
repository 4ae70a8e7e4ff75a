#pragma once

#include <string>
#include <string_view>

class JsonWriter;
struct NavState;

// The two reports of the JSON protocol built from NavState. A field is written only when its
// value is known: a client takes a missing field as "unknown", but a 0 as a measurement.

// FixMode when a GSA gave 2 or 3; 2 for a fix no GSA has described (a position is at least
// 2D); 1 without a fix.
int TpvMode(const NavState& nav);

// The TPV object (time, position, velocity). device is left out when empty.
void WriteTpv(JsonWriter& json, const NavState& nav, std::string_view device);
// The SKY object: the published satellites and the dilutions of precision.
void WriteSky(JsonWriter& json, const NavState& nav, std::string_view device);

// Each object as one line, ending in CR LF, appended to out.
void AppendTpv(std::string& out, const NavState& nav, std::string_view device);
void AppendSky(std::string& out, const NavState& nav, std::string_view device);
