#include "Coordinates.h"

#include <cmath>

double DegreesFromDegreesMinutes(double value)
{
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    const double degrees = std::trunc(magnitude);
    const double minutes = (magnitude - degrees) * 100.0 / 60.0;
    const double result = degrees + minutes;
    return negative ? -result : result;
}
