#include "GpsdFixTime.h"

#include "FixDate.h"
#include "NavState.h"

std::int64_t DaysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day)
{
    // Howard Hinnant's days_from_civil; the years of a receiver are all after year 0, so the
    // divisions below never see a negative number.
    year -= month <= 2;
    const std::int64_t era = year / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<std::int64_t> GpsdFixTime(const NavState& nav)
{
    const auto date = FixCalendarDate(nav);
    const auto second = FixSecondOfDay(nav.UtcTimeText);
    if (!date || !second)
        return std::nullopt;
    return DaysSinceEpoch(date->Year, date->Month, date->Day) * 86400 + *second;
}
