#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// XOR of the characters of body, the part of a sentence between "$" and "*".
std::uint8_t NmeaChecksumOf(std::string_view body);

// "$" + body + "*" + two upper-case hex digits: a complete sentence without line end.
std::string WithNmeaChecksum(std::string_view body);

// True when sentence is not "$...*hh" with hh the two upper-case hex digits of its checksum.
// Lower-case digits count as wrong: that is how the received text is compared. Characters after
// the two digits are ignored. Whenever a "*" is found the view is cut before it, so a valid
// sentence comes back without its checksum; a line without "*" (or without "$") is left whole.
bool NMEAChecksumError(std::string_view& sentence);
