#include "AutoBrightness.h"

#include "Coordinates.h"
#include "FixDate.h"
#include "NavState.h"
#include "SolarPosition.h"

std::string_view BrightnessForSun(double elevation)
{
    if (elevation > 6)
        return BrightnessModes[0];
    if (elevation > 0)
        return BrightnessModes[1];
    return elevation >= -6 ? BrightnessModes[2] : BrightnessModes[3];
}

bool AutoBrightness::Follow(const NavState& nav)
{
    const auto now = nav.FixValid ? FixEpochSeconds(nav) : std::nullopt;
    if (!now || (Elevation && *now >= ChosenAt && *now - ChosenAt < ChoiceIntervalSeconds))
        return false;
    ChosenAt = *now;
    Elevation = SolarElevation(static_cast<double>(*now), DegreesFromDegreesMinutes(nav.PreciseLatitude),
                               DegreesFromDegreesMinutes(nav.PreciseLongitude));
    Chosen = BrightnessForSun(*Elevation);
    return true;
}
