#pragma once

#include "BrightnessColour.h"

#include <QColor>
#include <QString>

#include <cstdint>

// How the instrument windows are lit: a brightness mode ("Daylight", "Shade", "Dusk" or "Night")
// and whether they draw in red only, which the main window asks for at "Dusk" and "Night" when
// the red night palette is chosen.
struct Brightness {
    QString Mode = QStringLiteral("Daylight");
    bool Red = false;

    bool operator==(const Brightness&) const = default;
};

// Colour values are kept as 24-bit RGB with red in the low byte; Qt wants its own colour type.
inline QColor ToQColor(std::int32_t rgb)
{
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// A base colour dimmed for the brightness, and in red only where it asks for red.
inline QColor ScaledColour(std::int32_t base, const Brightness& brightness)
{
    const std::int32_t scaled = ScaleColour(base, brightness.Mode.toStdString());
    return ToQColor(brightness.Red ? RedOnly(scaled) : scaled);
}
