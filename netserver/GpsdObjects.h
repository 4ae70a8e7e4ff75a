#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct NavState;

// The serial device the reports come from, as the DEVICES object names it.
struct GpsdDevice {
    std::string Path;                 // empty until a port has opened
    std::int64_t ActivatedMillis = 0; // when it opened, milliseconds since 1970 UTC
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

// The protocol level this server speaks: 3.14, the JSON protocol that current clients expect.
inline constexpr int GpsdProtoMajor = 3;
inline constexpr int GpsdProtoMinor = 14;

// Each object is one line ending in CR LF, appended to out.
void AppendVersion(std::string& out, std::string_view release);
// DEVICES with the one serial device, or an empty list before a port has opened.
void AppendDevices(std::string& out, const GpsdDevice& device);
void AppendDevice(std::string& out, const GpsdDevice& device);
void AppendWatch(std::string& out, const WatchPolicy& watch);
void AppendError(std::string& out, std::string_view message);
// The answer to ?POLL: the time now, the active devices, and a TPV and a SKY for the device.
void AppendPoll(std::string& out, const NavState& nav, const GpsdDevice& device, std::int64_t nowMillis);
