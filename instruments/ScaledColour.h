#pragma once

#include "BrightnessColor.h"

#include <QColor>
#include <QString>

#include <cstdint>

// Colour values are kept as 24-bit RGB with red in the low byte; Qt wants its own colour type.
inline QColor ToQColor(std::int32_t rgb)
{
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// A base colour dimmed for a brightness mode ("Daylight", "Shade", "Dusk", "Night").
inline QColor ScaledColour(std::int32_t base, const QString& mode)
{
    return ToQColor(ScaleColor(base, mode.toStdString()));
}
