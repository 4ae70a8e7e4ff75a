#include "FieldReader.h"

#include "NumberText.h"
#include "Rounding.h"

#include <cctype>
#include <cmath>

double FieldReader::Value(int n) const
{
    return LeadingNumber(Fields[n]);
}

float FieldReader::Single(int n, std::int16_t divisor)
{
    const float value = NMEAValue(Fields[n], divisor);
    if (!std::isfinite(value))
        Valid = false;
    return value;
}

std::int16_t FieldReader::Integer(double x)
{
    const auto value = RoundToFit<std::int16_t>(x);
    Valid = Valid && value.has_value();
    return value.value_or(0);
}

std::uint8_t FieldReader::Byte(double x)
{
    const auto value = RoundToFit<std::uint8_t>(x);
    Valid = Valid && value.has_value();
    return value.value_or(0);
}

std::optional<FieldReader::Coordinate> FieldReader::Latitude(int valueField, int hemisphereField)
{
    return ReadCoordinate(valueField, hemisphereField, 'N', 'S');
}

std::optional<FieldReader::Coordinate> FieldReader::Longitude(int valueField, int hemisphereField)
{
    return ReadCoordinate(valueField, hemisphereField, 'E', 'W');
}

std::optional<FieldReader::Coordinate> FieldReader::ReadCoordinate(int valueField, int hemisphereField,
                                                                   char positive, char negative)
{
    const std::string_view hemisphere = Fields[hemisphereField];
    if (hemisphere.size() != 1)
        return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(hemisphere[0])));
    if (letter != positive && letter != negative)
        return std::nullopt;
    const std::int16_t divisor = letter == positive ? 100 : -100;
    return Coordinate{Single(valueField, divisor), Value(valueField) / divisor};
}
