#pragma once

#include <string>
#include <string_view>

struct NavState;

// The two short replies: no fix to report, and the protocol level. Neither has a line end; the
// plotters that speak this old protocol expect them exactly so.
inline constexpr std::string_view GpsdNoFixReply = "GPSD,O=?";
inline constexpr std::string_view GpsdLevelReply = "GPSD,L=2 2 LO";

// "GPSD,O=" and the fifteen values of the position report, then CR LF. Recomputes
// nav.FixUnixTime and nav.AltitudeText first; an unknown time is sent as "?".
std::string PositionReply(NavState& nav);

// The reply to one received command character: "o" and "l" in either case; every other character
// asks nothing and gets an empty text. Each "o" is answered from nav as it is at that moment.
std::string GpsdAnswer(char command, NavState& nav);
