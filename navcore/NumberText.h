#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers in texts, read and written the same way whatever the process locale: "." is always the
// decimal point.

// The value of the number at the start of a text: blanks are skipped, an optional sign, digits,
// an optional "." and digits; reading stops at the first character that cannot continue the
// number. Empty or non-numeric text gives 0. No exponents. A digit string too long for a double
// gives an infinity, which callers that store the value refuse. For texts a person typed, such as
// settings; a receiver's fields are read with NmeaNumber.
double LeadingNumber(std::string_view text);

// A text that is a plain decimal number and nothing else: an optional sign, digits with at most
// one "." among or after them ("-12.5", "+3", ".5", "7."). nullopt for anything more or less: an
// empty text, blanks, an exponent ("5.2e3"), hex ("0x1p12"), "inf", "nan", a number too large
// for a double. A receiver writes its numbers this way; anything else is corruption.
std::optional<double> PlainDecimal(std::string_view text);

// An NMEA number field as a single-precision value, divided by divisor unless it is 0 (the
// division is done in single precision, as the coordinates have always been computed). An empty
// field is 0; a field that is not a plain decimal number, or too large for a float, is nullopt.
std::optional<float> NmeaNumber(std::string_view field, std::int16_t divisor);

// value with at least intDigits integer digits (zero-padded) and exactly decimals decimals,
// rounded half away from zero on the exact binary value (a float converts to double exactly):
// (5445.5, 5, 4) gives "5445.50000", (-4.25, 2) gives "-4.25". A result that rounds to zero has no
// minus sign. A value that is not finite gives "?", the GPSD protocol's "unknown".
std::string FormatFixed(double value, int decimals = 6, int intDigits = 1);

// The shortest text with at most 7 significant digits that stands for value, without trailing
// zeros: 22.4, 84.4, 0, 0.005; a negative zero (a receiver's "-0.0") is "0". The GPSD replies
// write course, speed and time error this way.
std::string FormatGeneral(float value);
