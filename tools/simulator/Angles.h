#pragma once

#include <cmath>

inline constexpr double Pi = 3.14159265358979323846;

// An angle in degrees brought into 0 <= angle < 360.
inline double Wrap360(double degrees)
{
    const double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0)
        return wrapped + 360.0 < 360.0 ? wrapped + 360.0 : 0.0;
    return wrapped;
}
