#include "FieldReader.h"

#include "NumberText.h"
#include "ValueBounds.h"

#include <cctype>
#include <cmath>

double FieldReader::Value(int n)
{
    const std::string_view field = Fields[n];
    if (field.empty())
        return 0.0;
    const std::optional<double> value = PlainDecimal(field);
    Valid = Valid && value;
    return value.value_or(0.0);
}

float FieldReader::Single(int n, float low, float high)
{
    const std::optional<float> value = NmeaNumber(Fields[n], 0);
    Valid = Valid && value && *value >= low && *value <= high;
    return value.value_or(0.0f);
}

std::int16_t FieldReader::Integer(double x)
{
    const auto value = RoundToFit<std::int16_t>(x);
    Valid = Valid && value.has_value();
    return value.value_or(0);
}

std::optional<FieldReader::Coordinate> FieldReader::Latitude(int valueField, int hemisphereField)
{
    return ReadCoordinate(valueField, hemisphereField, 'N', 'S', MaxLatitudeDegrees);
}

std::optional<FieldReader::Coordinate> FieldReader::Longitude(int valueField, int hemisphereField)
{
    return ReadCoordinate(valueField, hemisphereField, 'E', 'W', MaxLongitudeDegrees);
}

std::optional<FieldReader::Coordinate> FieldReader::ReadCoordinate(int valueField, int hemisphereField,
                                                                   char positive, char negative,
                                                                   double maxDegrees)
{
    // ddmm.mmmm: the hemisphere carries the sign, and the minutes stay below 60.
    const std::optional<double> value = PlainDecimal(Fields[valueField]);
    if (!value || *value < 0 || *value > maxDegrees * 100 || std::fmod(*value, 100.0) >= 60) {
        Valid = false;
        return std::nullopt;
    }
    const std::string_view hemisphere = Fields[hemisphereField];
    if (hemisphere.size() != 1)
        return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(hemisphere[0])));
    if (letter != positive && letter != negative)
        return std::nullopt;
    const std::int16_t divisor = letter == positive ? 100 : -100;
    // The division in single precision, as the coordinates have always been computed.
    return Coordinate{static_cast<float>(*value) / static_cast<float>(divisor), *value / divisor};
}
