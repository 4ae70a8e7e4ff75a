#pragma once

#include <cstdint>

// Fill colours of the reception indicator Reception, 24-bit RGB with red in the low byte.
enum class IndicatorColour : std::uint32_t {
    Black = 0x000000,   // port opened; also the dark phase of the blink
    Green = 0x00FF00,   // the last line was a sentence we know with a valid checksum
    Blue = 0xFF0000,    // the last line was not (checksum error, unknown type, noise)
    Red = 0x0000FF,     // the port refused the settings, did not open, or went away
    Magenta = 0xFF00FF, // the port number has no device
};
