#include "CommandLine.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr char Usage[] =
    "Usage: devozora\n"
    "Shows the NMEA 0183 stream of a GPS receiver in large instrument windows and serves the\n"
    "position to chart plotters: the GPSD protocols on TCP port 2947, plain NMEA on TCP port 10110.\n"
    "Settings are made in its window, or in its settings files:\n"
    "  per user       $XDG_CONFIG_HOME/Quarvel/DevozOra.conf (default ~/.config/...)\n"
    "  machine-wide   <first folder of $XDG_CONFIG_DIRS>/Quarvel/DevozOra.conf (default /etc/xdg/...)\n"
    "Options:\n"
    "  --headless     serve without a screen, as a service (also when started without a display);\n"
    "                 SIGHUP reads the settings again and reopens the device and the ports\n"
    "  -h, --help     show this text\n"
    "  -v, --version  show the version\n"
    "See devozora(1).\n";

} // namespace

const char* UsageText()
{
    return Usage;
}

// The two arguments people try first are answered before anything else, so that they work
// without a display.
CommandLine ReadCommandLine(int argc, char* argv[])
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(Usage, stdout);
            line.Answered = 0;
            return line;
        }
        if (argument == "--version" || argument == "-v") {
            std::printf("devozora %s\n", DEVOZORA_VERSION);
            line.Answered = 0;
            return line;
        }
        if (argument == "--headless")
            line.Headless = true;
        else
            line.Others.emplace_back(argument);
    }
    return line;
}
