#include "AutoBrightness.h"

#include "Coordinates.h"
#include "FixDate.h"
#include "NavState.h"
#include "SolarPosition.h"

#include <chrono>

namespace {

// The fix's time in seconds since 1970, or nullopt when its date or time of day is not known.
std::optional<std::int64_t> FixSeconds(const NavState& nav)
{
    const auto date = FixCalendarDate(nav);
    const auto second = FixSecondOfDay(nav.UtcTimeText);
    if (!date || !second)
        return std::nullopt;
    // A 31st of a shorter month rolls over into the next, as a calendar does.
    const std::chrono::sys_days day = std::chrono::year(date->Year) / date->Month / date->Day;
    return std::int64_t{day.time_since_epoch().count()} * 86400 + *second;
}

} // namespace

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
    const auto now = nav.FixValid ? FixSeconds(nav) : std::nullopt;
    if (!now || (Elevation && *now >= ChosenAt && *now - ChosenAt < ChoiceIntervalSeconds))
        return false;
    ChosenAt = *now;
    Elevation = SolarElevation(static_cast<double>(*now), DegMin2Deg(nav.PreciseLatitude),
                               DegMin2Deg(nav.PreciseLongitude));
    Chosen = BrightnessForSun(*Elevation);
    return true;
}
