#include "FixDate.h"

#include "NavState.h"

namespace {

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

std::optional<CivilDate> Plausible(const CivilDate& date)
{
    return IsPlausibleDate(date) ? std::optional<CivilDate>(date) : std::nullopt;
}

std::optional<CivilDate> RmcDate(std::string_view ddmmyy)
{
    const auto day = TwoDigits(ddmmyy, 0);
    const auto month = TwoDigits(ddmmyy, 2);
    const auto year = TwoDigits(ddmmyy, 4);
    if (!day || !month || !year)
        return std::nullopt;
    return Plausible({2000 + *year, *month, *day});
}

} // namespace

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

bool IsPlausibleDate(const CivilDate& date)
{
    return date.Year >= EarliestYear && date.Year <= LatestYear && date.Month >= 1 && date.Month <= 12
           && date.Day >= 1 && date.Day <= 31;
}

std::optional<CivilDate> FixCalendarDate(const NavState& nav)
{
    const auto rmc = RmcDate(nav.UtcDateText);
    if (nav.RmcDateIsNewer && rmc)
        return rmc;
    const auto zda = Plausible({nav.ZdaYear, nav.ZdaMonth, nav.ZdaDay});
    return zda ? zda : rmc;
}

std::optional<std::int64_t> FixEpochSeconds(const NavState& nav)
{
    const auto date = FixCalendarDate(nav);
    const auto second = FixSecondOfDay(nav.UtcTimeText);
    if (!date || !second)
        return std::nullopt;
    return DaysSinceEpoch(date->Year, date->Month, date->Day) * 86400 + *second;
}

std::optional<int> FixSecondOfDay(std::string_view utcTimeText)
{
    const auto hours = TwoDigits(utcTimeText, 0);
    const auto minutes = TwoDigits(utcTimeText, 2);
    const auto seconds = TwoDigits(utcTimeText, 4);
    if (!hours || *hours > 23 || !minutes || *minutes > 59 || !seconds || *seconds > 60)
        return std::nullopt;
    return (*hours * 60 + *minutes) * 60 + *seconds;
}

std::optional<int> FixMillisecondOfDay(std::string_view timeField)
{
    const auto second = FixSecondOfDay(timeField);
    if (!second || (timeField.size() > 6 && timeField[6] != '.'))
        return std::nullopt;
    int milliseconds = 0;
    int scale = 100;
    for (std::size_t i = 7; i < timeField.size(); ++i, scale /= 10) {
        const char digit = timeField[i];
        if (digit < '0' || digit > '9')
            return std::nullopt;
        milliseconds += (digit - '0') * scale;
    }
    return *second * 1000 + milliseconds;
}
