#pragma once

#include <cstdint>
#include <string_view>

// Brightness modes of the instrument windows, darkest last. Any other text means "black".
inline constexpr std::string_view BrightnessModes[] = {"Daylight", "Shade", "Dusk", "Night"};

// The factor a mode scales every colour by: 1, 0.75, 0.5, 0.25; 0 for an unknown mode (the
// comparison is exact, so "night" is unknown).
double BrightnessFactor(std::string_view mode);

// colour (24-bit RGB, red in the low byte) with each channel scaled by the mode's factor and
// rounded half to even: white at "Night" is 0x404040.
std::int32_t ScaleColour(std::int32_t colour, std::string_view mode);

// The modes that the red night palette, when chosen, draws in red: "Dusk" and "Night", when eyes
// have adapted to the dark and red light disturbs that least.
bool IsRedMode(std::string_view mode);

// A colour in red only, as bright as its brightest channel: white at "Night" (0x404040) becomes
// red 64, so a red window keeps the levels that its brightness mode gives.
std::int32_t RedOnly(std::int32_t colour);

// The mode one level darker (steps > 0) or brighter (steps < 0) than the one shown now, held at
// "Night" and at "Daylight". A person dimming the windows at night must never light them up by
// pressing once too often, and from "Auto" a step starts at the level the sun chose. An unknown
// mode counts as "Daylight".
std::string_view SteppedBrightness(std::string_view shown, int steps);

// Builds a colour value from its channels, red in the low byte.
constexpr std::int32_t Rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}
