#pragma once

#include <cstdint>
#include <random>
#include <string>

// Spoils a share of the lines the way a poor serial line or a confused receiver does, to show how
// the program copes: garbage bytes inside a line, or a checksum that does not match.
class LineCorruption {
public:
    // Shares in percent, 0..100.
    LineCorruption(double noisePercent, double badChecksumPercent, std::uint32_t seed);

    // line is one line without its line end.
    void Apply(std::string& line);

private:
    bool Chance(double percent);
    void InsertGarbage(std::string& line);
    void SpoilChecksum(std::string& line);

    double NoisePercent = 0;
    double BadChecksumPercent = 0;
    std::mt19937 Random;
};
