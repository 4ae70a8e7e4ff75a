#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// Whole-number conversions of the program: to the nearest whole number, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4), which is what every stored and displayed integer uses.
inline double RoundHalfEven(double x)
{
    // nearbyint follows the current rounding mode, which nothing in this program changes from the
    // default round-to-nearest-even.
    return std::nearbyint(x);
}

// Rounds half to even and checks the result fits T; nullopt for NaN, infinities and values
// outside T's range, so that a caller can refuse them instead of wrapping around.
template <typename T>
std::optional<T> RoundToFit(double x)
{
    const double r = RoundHalfEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min())
          && r <= static_cast<double>(std::numeric_limits<T>::max()))) {
        return std::nullopt;
    }
    return static_cast<T>(r);
}

// "x div k": x rounded half to even, then divided by k and truncated toward zero. The layout
// rules of the instrument windows are written in it.
inline std::int64_t DivRounded(double x, std::int64_t k)
{
    return static_cast<std::int64_t>(RoundHalfEven(x)) / k;
}
