#pragma once

#include "SentenceFields.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Reads the values of a sentence's fields the way the interpreter stores them, and remembers
// whether any of them did not fit the field it is meant for (a PRN of 300, an elevation of
// 1e9, a coordinate too large for a float). A rule reads everything first and stores nothing
// unless Ok(): a corrupt sentence then changes nothing, rather than half of the state.
class FieldReader {
public:
    explicit FieldReader(const SentenceFields& fields) : Fields(fields) {}

    bool Ok() const { return Valid; }

    // The numeric value of field n ("." decimal point, empty or non-numeric text 0).
    double Value(int n) const;
    // The field as a float, divided by divisor unless it is 0.
    float Single(int n, std::int16_t divisor = 0);
    // x rounded half to even into a 16-bit or 8-bit whole number.
    std::int16_t Integer(double x);
    std::uint8_t Byte(double x);
    // The field's text, whole or its first six characters.
    std::string_view Text(int n) const { return Fields[n]; }
    std::string_view Left6(int n) const { return Fields[n].substr(0, 6); }
    // A coordinate, signed degrees-and-minutes: in single precision as the displays and the old
    // GPSD reply have always computed it, and in double precision, which keeps the receiver's
    // last digit (a float of 52.0612345 is off by up to 0.4 m) for the JSON reports.
    struct Coordinate {
        float Single = 0;
        double Precise = 0;
    };
    // A coordinate from its value field and hemisphere field; nullopt when the hemisphere letter
    // is missing or unknown, which leaves the stored coordinate as it was.
    std::optional<Coordinate> Latitude(int valueField, int hemisphereField);
    std::optional<Coordinate> Longitude(int valueField, int hemisphereField);

private:
    std::optional<Coordinate> ReadCoordinate(int valueField, int hemisphereField, char positive,
                                             char negative);

    const SentenceFields& Fields;
    bool Valid = true;
};
