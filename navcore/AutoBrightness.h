#pragma once

#include "BrightnessColour.h"

#include <cstdint>
#include <optional>
#include <string_view>

struct NavState;

// The brightness mode the sun calls for at an elevation in degrees: "Daylight" above +6, "Shade"
// down to 0, "Dusk" through civil twilight down to -6, "Night" below.
std::string_view BrightnessForSun(double elevation);

// "Auto" of the brightness list: the mode that the sun's elevation at the received position and
// time calls for. It chooses again at most once per minute of the receiver's clock, so that the
// windows never flicker between two levels, and it reads the receiver's clock rather than the
// computer's, so that a replayed voyage dims with the sun of its own evening. A clock that jumps
// back (a replay starting over) is followed at once.
class AutoBrightness {
public:
    static constexpr std::int64_t ChoiceIntervalSeconds = 60;

    // Looks at the record after an accepted fix; true when it chose again. A fix without a date
    // that can be true, or without a time of day, changes nothing.
    bool Follow(const NavState& nav);
    // "Daylight" until the first fix with a date; after that the last choice, which holds while
    // there is no fix.
    std::string_view Mode() const { return Chosen; }
    // The sun's elevation at the last choice; nullopt before the first.
    std::optional<double> SunElevation() const { return Elevation; }

private:
    std::string_view Chosen = BrightnessModes[0];
    std::optional<double> Elevation;
    std::int64_t ChosenAt = 0; // the fix time of the last choice, seconds since 1970
};
