#pragma once

#include "Rounding.h"
#include "SentenceFields.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

// Reads the values of a sentence's fields the way the interpreter stores them, and remembers
// whether any of them could not be true: a number that is not a plain decimal number (an
// exponent, hex, "nan"), one that does not fit the field it is meant for (a PRN of 1000, an
// elevation of 1e9), or one outside the bounds of ValueBounds.h. A rule reads everything first
// and stores nothing unless Ok(): a corrupt sentence then changes nothing, rather than half of
// the state. An empty field is 0, as receivers leave out what they do not know.
class FieldReader {
public:
    explicit FieldReader(const SentenceFields& fields) : Fields(fields) {}

    bool Ok() const { return Valid; }

    // The numeric value of field n.
    double Value(int n);
    // The field as a float within low..high.
    float Single(int n, float low = std::numeric_limits<float>::lowest(),
                 float high = std::numeric_limits<float>::max());
    // The field rounded half to even into a whole number of type T within low..high.
    template <typename T>
    T Whole(int n, double low = std::numeric_limits<T>::lowest(), double high = std::numeric_limits<T>::max())
    {
        const std::optional<T> value = RoundToFit<T>(Value(n));
        Valid = Valid && value && *value >= low && *value <= high;
        return Valid ? *value : T{};
    }
    // x rounded half to even into a 16-bit whole number.
    std::int16_t Integer(double x);
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
    // is missing or unknown, which leaves the stored coordinate as it was. An empty value field
    // fails: these are read only from fix sentences, and a fix without a position is none.
    std::optional<Coordinate> Latitude(int valueField, int hemisphereField);
    std::optional<Coordinate> Longitude(int valueField, int hemisphereField);

private:
    std::optional<Coordinate> ReadCoordinate(int valueField, int hemisphereField, char positive,
                                             char negative, double maxDegrees);

    const SentenceFields& Fields;
    bool Valid = true;
};
