#pragma once

#include <optional>
#include <string>
#include <vector>

// The program's own options, the same for the desktop program and the service without a screen.
struct CommandLine {
    // --help or --version has been answered on standard output: end with this status.
    std::optional<int> Answered;
    bool Headless = false;
    // Arguments that are none of ours (the desktop program leaves them to Qt).
    std::vector<std::string> Others;
};

CommandLine ReadCommandLine(int argc, char* argv[]);

// The usage text, for an unknown option.
const char* UsageText();
