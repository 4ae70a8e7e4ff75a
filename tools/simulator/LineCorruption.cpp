#include "LineCorruption.h"

#include <cstdio>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

LineCorruption::LineCorruption(double noisePercent, double badChecksumPercent, std::uint32_t seed)
    : NoisePercent(noisePercent), BadChecksumPercent(badChecksumPercent), Random(seed ^ 0xC0FFEEu)
{
}

void LineCorruption::Apply(std::string& line)
{
    if (Chance(BadChecksumPercent))
        SpoilChecksum(line);
    if (Chance(NoisePercent))
        InsertGarbage(line);
}

bool LineCorruption::Chance(double percent)
{
    if (percent <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 100.0)(Random) < percent;
}

void LineCorruption::InsertGarbage(std::string& line)
{
    // Any byte but CR and LF: line noise that ended a line would be a different fault.
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(1, 4);
    std::uniform_int_distribution<std::size_t> where(0, line.size());
    std::string garbage;
    for (int n = length(Random); static_cast<int>(garbage.size()) < n;) {
        const char c = static_cast<char>(byte(Random));
        if (c != '\r' && c != '\n')
            garbage.push_back(c);
    }
    line.insert(where(Random), garbage);
}

void LineCorruption::SpoilChecksum(std::string& line)
{
    const std::size_t star = line.rfind('*');
    if (star == std::string::npos || star + 3 != line.size())
        return;
    const int high = HexDigit(line[star + 1]);
    const int low = HexDigit(line[star + 2]);
    if (high < 0 || low < 0)
        return;
    const int wrong = (high * 16 + low) ^ std::uniform_int_distribution<int>(1, 255)(Random);
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(wrong));
    line.replace(star + 1, 2, digits);
}
