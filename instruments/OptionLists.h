#pragma once

#include "BrightnessColour.h"

#include <QStringList>

#include <iterator>

// The UTC-difference list of the "Local" tab, west to east: "AUTO" (the date and time window
// derives the difference from the computer clock), then whole hours from "-12:00" to "+13:00"
// with the half-hour and 45-minute zones where they fall. 35 entries.
QStringList UtcDifferenceEntries();

// The brightness list: "Daylight", "Shade", "Dusk", "Night", "Auto".
QStringList BrightnessEntries();
// Where "Auto" stands in it: after the modes, so that a stored position 0 to 3 reads as it always
// has.
inline constexpr int AutoBrightnessEntry = static_cast<int>(std::size(BrightnessModes));
