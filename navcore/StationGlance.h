#pragma once

#include <optional>
#include <string>

// What the station is doing, at a glance: how good the fix is and how fresh, what the receiver
// sees and sends, and who takes the position from the servers. A small snapshot of plain values,
// so that its words come from one place whichever face shows them, and can be checked as a
// table. A value that nothing has told yet is absent, never 0.

enum class FixQuality { None, Fix2D, Fix3D, Dgps, RtkFixed, RtkFloat, DeadReckoning };

struct ServerGlance {
    bool Enabled = false;   // a server that the settings turn off is not mentioned as failing
    bool Listening = false;
    int Port = 0;
    int Clients = 0;
};

struct StationGlance {
    FixQuality Quality = FixQuality::None;
    std::optional<int> SatellitesUsed;       // in the solution, as the receiver said
    std::optional<int> SatellitesSeen;       // in view
    std::optional<double> FixAgeSeconds;     // since the last accepted fix
    std::optional<double> SentencesPerSecond; // with a valid checksum; absent before the first
    ServerGlance Gpsd;
    ServerGlance Nmea;
    ServerGlance Web;
};

// The quality of a receiver cycle's fix from its mode (1 none, 2 2D, 3 3D) and its status in
// GPSD's numbering (2 differential, 3 RTK fixed, 4 RTK float, 5 dead reckoning).
FixQuality QualityOf(int mode, int status);

// The receiver in one line: "3D fix · 9 of 12 satellites used · fix 0.4 s old · 8 sentences/s".
std::string ReceiverGlanceText(const StationGlance& glance);
// The servers in one line: "GPSD on port 2947: 2 clients · NMEA on port 10110: no clients · Web
// page on port 8947: 1 page".
std::string ServersGlanceText(const StationGlance& glance);
