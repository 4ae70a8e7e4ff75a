#include "GpsdFixTime.h"

#include "NavState.h"

#include <string_view>

namespace {

// Floor division: the calendar arithmetic below needs -1 / 12 to be -1, not 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Howard Hinnant's days_from_civil, for a month 1..12 and a day 1..31.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The number written by the two characters at pos, or nullopt unless both are digits.
std::optional<int> TwoDigits(std::string_view text, std::size_t pos)
{
    if (text.size() < pos + 2)
        return std::nullopt;
    const char tens = text[pos];
    const char units = text[pos + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9')
        return std::nullopt;
    return (tens - '0') * 10 + (units - '0');
}

std::optional<std::int64_t> FixDay(const NavState& nav)
{
    if (nav.ZdaYear != 0 && nav.ZdaMonth != 0 && nav.ZdaDay != 0)
        return DaysSinceEpoch(nav.ZdaYear, nav.ZdaMonth, nav.ZdaDay);
    // ddmmyy; the receiver's two-digit year is taken as 20yy.
    const auto day = TwoDigits(nav.UtcDateText, 0);
    const auto month = TwoDigits(nav.UtcDateText, 2);
    const auto year = TwoDigits(nav.UtcDateText, 4);
    if (!day || !month || !year)
        return std::nullopt;
    return DaysSinceEpoch(2000 + *year, *month, *day);
}

} // namespace

std::int64_t DaysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day)
{
    const std::int64_t monthIndex = month - 1;
    const std::int64_t normalisedYear = year + FloorDiv(monthIndex, 12);
    const std::int64_t normalisedMonth = monthIndex - FloorDiv(monthIndex, 12) * 12 + 1;
    return DaysFromCivil(normalisedYear, normalisedMonth, 1) + (day - 1);
}

std::optional<std::int64_t> GpsdFixTime(const NavState& nav)
{
    const auto day = FixDay(nav);
    const auto hours = TwoDigits(nav.UtcTimeText, 0);
    const auto minutes = TwoDigits(nav.UtcTimeText, 2);
    const auto seconds = TwoDigits(nav.UtcTimeText, 4);
    if (!day || !hours || !minutes || !seconds)
        return std::nullopt;
    return *day * 86400 + *hours * 3600 + *minutes * 60 + *seconds;
}
