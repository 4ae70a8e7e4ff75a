#pragma once

#include <QStringList>

// The UTC-difference list of the "Local" tab, west to east: "AUTO" (the date and time window
// derives the difference from the computer clock), then whole hours from "-12:00" to "+13:00"
// with the half-hour and 45-minute zones where they fall. 35 entries.
QStringList UtcDifferenceEntries();

// The brightness list: "Daylight", "Shade", "Dusk", "Night".
QStringList BrightnessEntries();
