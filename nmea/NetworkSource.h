#pragma once

#include <QString>

#include <optional>

// A port entry's device may be a receiver on the network instead of a serial device: most boats
// now have a Wi-Fi gateway, and laptops have no serial port.
//   tcp://HOST:PORT   we connect to a TCP server (a gateway, another program's NMEA output) and
//                     connect again whenever the connection is lost
//   udp://:PORT       we take the datagrams sent to that port of this machine, broadcasts included
//                     (udp://ADDRESS:PORT listens on one of its addresses only)
struct NetworkSource {
    enum class Transport { Tcp, Udp };
    Transport Kind = Transport::Tcp;
    QString Host; // udp: empty for every address
    quint16 Port = 0;
};

// Whether the entry names a receiver on the network: it starts with tcp:// or udp://.
bool IsNetworkEntry(const QString& entry);
// The receiver a network entry names; nothing when it is malformed (no port or port 0, a tcp
// entry without host, anything after the port).
std::optional<NetworkSource> ParseNetworkSource(const QString& entry);
