#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers in texts, read and written the same way whatever the process locale: "." is always the
// decimal point.

// The value of the number at the start of a text: blanks are skipped, an optional sign, digits,
// an optional "." and digits; reading stops at the first character that cannot continue the
// number. Empty or non-numeric text gives 0. No exponents: NMEA never writes them. A digit
// string too long for a double gives an infinity, which callers that store the value refuse.
double LeadingNumber(std::string_view text);

// An NMEA number field as a single-precision value, divided by divisor unless it is 0 (the
// division is done in single precision, as the coordinates have always been computed).
float NMEAValue(std::string_view field, std::int16_t divisor);

// value with at least intDigits integer digits (zero-padded) and exactly decimals decimals,
// rounded half away from zero on the exact binary value of the float: (5445.5, 5, 4) gives
// "5445.50000", (-4.25, 2) gives "-4.25". A result that rounds to zero has no minus sign.
// A value that is not finite gives "?", the GPSD protocol's "unknown".
std::string FormatFixed(float value, int decimals = 6, int intDigits = 1);

// The shortest text with at most 7 significant digits that stands for value, without trailing
// zeros: 22.4, 84.4, 0, 0.005. The GPSD replies write course, speed and time error this way.
std::string FormatGeneral(float value);
