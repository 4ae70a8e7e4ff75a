#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the command line asks for.
struct SimulatorOptions {
    double Rate = 1;                     // epochs per second
    int Baud = 0;                        // 0: no serial-line pacing
    std::uint32_t Seed = 1;
    std::optional<std::int64_t> StartUtcMs;  // unset: the computer's clock
    double Latitude = 52.1;
    double Longitude = 4.1;
    double DropFixAfter = 0;
    double DropFixFor = 0;
    double UnplugAfter = 0;              // 0: the device stays
    double UnplugFor = 0;
    double NoisePercent = 0;
    double BadChecksumPercent = 0;
    QString ReplayFile;
    double ReplaySpeed = 1;              // times faster than recorded, or than the receiver's clock
    bool ReplayOnce = false;             // stop at the end of the log instead of looping
    double DelaySeconds = 0;             // before the first sentence
    QString LinkPath;
    int TcpPort = -1;                    // serve TCP on this port instead of a pty; 0: a free one
    QString UdpTarget;                   // send datagrams to ADDRESS:PORT instead
    std::int64_t Count = 0;              // 0: run until stopped
    bool ToStdout = false;
};

// Parses the arguments (argv as a list). --help and --version print and exit. A missing or
// out-of-range value returns nullopt with error set.
std::optional<SimulatorOptions> ParseSimulatorOptions(const QStringList& arguments, QString& error);
