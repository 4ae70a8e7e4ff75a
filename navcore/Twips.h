#pragma once

#include "Rounding.h"

// Window geometry is kept in twips, 1/1440 inch, so that layouts keep their proportions on every
// screen; a screen of D dots per inch has 1440 / D twips per pixel (15 at 96 DPI).
inline double TwipsPerPixel(double dotsPerInch)
{
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

// Twips to whole pixels, in single precision and halves to even, as window positions always were.
inline int TwipsToPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(
        RoundHalfEven(static_cast<float>(twips) / static_cast<float>(twipsPerPixel)));
}

inline double PixelsToTwips(int pixels, double twipsPerPixel)
{
    return pixels * twipsPerPixel;
}
