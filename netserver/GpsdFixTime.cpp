#include "GpsdFixTime.h"

#include "FixDate.h"
#include "NavState.h"

std::optional<std::int64_t> GpsdFixTime(const NavState& nav)
{
    const auto date = FixCalendarDate(nav);
    const auto second = FixSecondOfDay(nav.UtcTimeText);
    if (!date || !second)
        return std::nullopt;
    return DaysSinceEpoch(date->Year, date->Month, date->Day) * 86400 + *second;
}
