#pragma once

#include "FixDateTime.h"

#include <QString>

// How the instruments are shown, beyond the received values: the brightness level the windows
// are lit at ("Daylight", "Shade", "Dusk", "Night", or "Auto" for the sun to choose), whether
// "Dusk" and "Night" are drawn in red, and the date and time window's choice of UTC or local
// time. The desktop program's main window sets it whenever it changes; the service without a
// screen takes it from the stored settings.
struct InstrumentLook {
    QString Mode = QStringLiteral("Daylight");
    bool NightRed = false;
    TimeDisplay Time;
    bool operator==(const InstrumentLook&) const = default;
};
