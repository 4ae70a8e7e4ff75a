#include "SimulatorOptions.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <cmath>

namespace {

struct Reader {
    const QCommandLineParser& Parser;
    QString& Error;

    // The option's value if it is set and lies in [low, high]; fallback if it is not set.
    double Number(const QString& name, double fallback, double low, double high)
    {
        if (!Parser.isSet(name))
            return fallback;
        bool ok = false;
        const double value = Parser.value(name).toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < low || value > high) {
            if (Error.isEmpty())
                Error = QStringLiteral("--%1 must be a number from %2 to %3")
                            .arg(name).arg(low).arg(high);
            return fallback;
        }
        return value;
    }

    std::optional<std::int64_t> Start()
    {
        if (!Parser.isSet("start"))
            return std::nullopt;
        const QDateTime start = QDateTime::fromString(Parser.value("start"), Qt::ISODate);
        if (!start.isValid()) {
            Error = QStringLiteral("--start must be a date and time like 2026-12-06T12:00:00Z");
            return std::nullopt;
        }
        return start.toMSecsSinceEpoch();
    }
};

void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        "Writes the NMEA stream of a GPS receiver on a moving vessel to a pseudo-terminal and\n"
        "prints the device's path as its first line, or replays a recorded log. With --tcp or\n"
        "--udp it is a receiver on the network instead, and prints the port entry that reads it.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"rate", "Epochs per second (default 1).", "hz"},
        {"baud", "Pace the output like a serial line at this baud rate; a reader whose port is\n"
                 "set to another rate gets noise (default: no pacing, any rate).", "n"},
        {"seed", "Choose the track and the sky (default 1).", "n"},
        {"start", "UTC time of the first epoch, ISO 8601 (default: now).", "time"},
        {"lat", "Start latitude in degrees, north positive (default 52.1).", "deg"},
        {"lon", "Start longitude in degrees, east positive (default 4.1).", "deg"},
        {"drop-fix-after", "Lose the fix after this many seconds, and again each cycle.", "s"},
        {"drop-fix-for", "Stay without fix this many seconds.", "s"},
        {"unplug-after", "Take the device away after this many seconds, as if unplugged.", "s"},
        {"unplug-for", "Bring it back, at the same --link path, after this many seconds.", "s"},
        {"noise", "Insert garbage bytes into this share of lines.", "percent"},
        {"bad-checksum", "Give this share of sentences a wrong checksum.", "percent"},
        {"replay", "Replay a recorded log at its recorded pace, looping at the end.", "file"},
        {"speed", "Run that many times faster: a replayed log than recorded, the simulated\n"
                  "receiver than its clock (default 1).", "factor"},
        {"once", "Replay the log once and stop, instead of looping."},
        {"delay", "Wait this long before the first sentence, so that readers can attach.", "s"},
        {"link", "Also make a symbolic link to the device here (removed on exit).", "path"},
        {"tcp", "Serve the stream to every client of this TCP port (0: a free one), as a Wi-Fi gateway.", "port"},
        {"udp", "Send the stream as datagrams to this address and port, a broadcast address included.",
         "address:port"},
        {"count", "Stop after this many epochs.", "n"},
        {"stdout", "Write the stream to standard output instead of a pseudo-terminal."},
    });
}

} // namespace

std::optional<SimulatorOptions> ParseSimulatorOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.process(arguments);
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    Reader read{parser, error};
    SimulatorOptions options;
    options.Rate = read.Number("rate", options.Rate, 0.01, 100);
    options.Baud = static_cast<int>(read.Number("baud", 0, 110, 4'000'000));
    options.Seed = static_cast<std::uint32_t>(read.Number("seed", 1, 0, 4'294'967'295.0));
    options.StartUtcMs = read.Start();
    options.Latitude = read.Number("lat", options.Latitude, -89.9, 89.9);
    options.Longitude = read.Number("lon", options.Longitude, -180, 180);
    options.DropFixAfter = read.Number("drop-fix-after", 0, 0.001, 1e9);
    options.DropFixFor = read.Number("drop-fix-for", 0, 0.001, 1e9);
    options.UnplugAfter = read.Number("unplug-after", 0, 0.001, 1e9);
    options.UnplugFor = read.Number("unplug-for", 0, 0.001, 1e9);
    options.NoisePercent = read.Number("noise", 0, 0, 100);
    options.BadChecksumPercent = read.Number("bad-checksum", 0, 0, 100);
    options.Count = static_cast<std::int64_t>(read.Number("count", 0, 1, 1e15));
    options.ReplayFile = parser.value("replay");
    options.ReplaySpeed = read.Number("speed", 1, 0.1, 1000);
    options.ReplayOnce = parser.isSet("once");
    options.DelaySeconds = read.Number("delay", 0, 0, 3600);
    if (error.isEmpty() && options.ReplayOnce && options.ReplayFile.isEmpty())
        error = QStringLiteral("--once goes with --replay");
    options.LinkPath = parser.value("link");
    options.ToStdout = parser.isSet("stdout");
    options.TcpPort = static_cast<int>(read.Number("tcp", -1, 0, 65535));
    options.UdpTarget = parser.value("udp");
    const int outputs = int(options.ToStdout) + int(parser.isSet("tcp")) + int(parser.isSet("udp"));
    if (error.isEmpty() && (outputs > 1 || (outputs == 1 && !options.LinkPath.isEmpty())))
        error = QStringLiteral("choose one of --link, --stdout, --tcp and --udp");
    if (error.isEmpty() && parser.isSet("drop-fix-after") != parser.isSet("drop-fix-for"))
        error = QStringLiteral("--drop-fix-after and --drop-fix-for go together");
    if (error.isEmpty() && parser.isSet("unplug-after") != parser.isSet("unplug-for"))
        error = QStringLiteral("--unplug-after and --unplug-for go together");
    if (error.isEmpty() && options.ToStdout && options.UnplugAfter > 0)
        error = QStringLiteral("--unplug-after needs the pseudo-terminal; it does not go with --stdout");
    if (!error.isEmpty())
        return std::nullopt;
    return options;
}
