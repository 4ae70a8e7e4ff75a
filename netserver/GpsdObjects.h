#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct NavState;
struct TpvReport;

// How a serial device's line is set; a receiver on the network has none.
struct SerialLine {
    int Bps = 0;
    char Parity = 'N'; // N, E, O, M or S
    int StopBits = 1;
};

// The serial device the reports come from, as the DEVICES object names it.
struct GpsdDevice {
    std::string Path;                 // empty until a port has opened
    std::int64_t ActivatedMillis = 0; // when it opened, milliseconds since 1970 UTC
    bool Open = false;                // false again once the device has gone away
    std::optional<SerialLine> Line;
    std::optional<std::int64_t> CycleMs; // the receiver's cycle, once two have come

    bool Active() const { return Open && !Path.empty(); }
};

// What a client asked to be sent, set by ?WATCH. Flags the server does not act on are still kept,
// so that the WATCH object shows the client what it asked for.
struct WatchPolicy {
    bool Enable = false;
    bool Json = false;   // TPV and SKY reports
    bool Nmea = false;   // the received sentences as they came
    int Raw = 0;         // from an NMEA receiver the same as Nmea
    bool Scaled = false;
    bool Timing = false;
    bool Split24 = false;
    bool Pps = false;
    std::string Device;  // as the client named it; empty when it named none

    bool WantsReports() const { return Enable && Json; }
    bool WantsSentences() const { return Enable && (Nmea || Raw > 0); }
};

// The protocol level this server speaks: 3.14, the JSON protocol that current clients expect,
// and the gpsd release that speaks it. cgps and xgps warn about a release other than their own
// and compare nothing else; the revision names this program.
inline constexpr int GpsdProtoMajor = 3;
inline constexpr int GpsdProtoMinor = 14;
inline constexpr std::string_view GpsdProtoRelease = "3.22";

// Each object is one line ending in CR LF, appended to out.
void AppendVersion(std::string& out, std::string_view revision);
// DEVICES with the one serial device, or an empty list while no port is open.
void AppendDevices(std::string& out, const GpsdDevice& device);
// DEVICE with the device's settings, its line and cycle once the cycle is known; while no port is
// open, what gpsd tells its watchers when a device goes away: its path and "activated":0 (nothing
// without a path).
void AppendDevice(std::string& out, const GpsdDevice& device);
void AppendWatch(std::string& out, const WatchPolicy& watch);
void AppendError(std::string& out, std::string_view message);
// The answer to ?POLL: the time now, the active devices, and for the device the TPV of its latest
// cycle and a SKY.
void AppendPoll(std::string& out, const TpvReport& latest, const NavState& nav, const GpsdDevice& device,
                std::int64_t nowMillis);
