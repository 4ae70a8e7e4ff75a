#include "IsoTime.h"

#include <cstdio>

namespace {

struct CivilDate {
    std::int64_t Year;
    int Month;
    int Day;
};

// Howard Hinnant's civil_from_days: the proleptic Gregorian date of a day count from 1970-01-01.
CivilDate CivilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const auto month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

} // namespace

std::string IsoUtcTime(std::int64_t unixSeconds, int milliseconds)
{
    std::int64_t days = unixSeconds / 86400;
    std::int64_t secondOfDay = unixSeconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    const CivilDate date = CivilFromDays(days);
    char text[48];
    const int length = std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d.%03dZ",
                                     static_cast<long long>(date.Year), date.Month, date.Day,
                                     static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                                     static_cast<int>(secondOfDay % 60), milliseconds % 1000);
    return std::string(text, static_cast<std::size_t>(length));
}
