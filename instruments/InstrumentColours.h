#pragma once

#include "BrightnessColour.h"

#include <cstdint>

// The undimmed colours of the instruments' texts and lines, red in the low byte; each brightness
// mode scales them (ScaleColour) and the red palette keeps their red only (RedOnly).
inline constexpr std::int32_t ValueColour = Rgb(255, 255, 255);   // the values: speed, course, position, time
inline constexpr std::int32_t HeadingColour = Rgb(128, 128, 128); // the line that says what a value is
inline constexpr std::int32_t DateColour = Rgb(224, 224, 224);
inline constexpr std::int32_t DrumScaleColour = Rgb(255, 255, 192);
inline constexpr std::int32_t DrumIndexColour = Rgb(255, 0, 0);
