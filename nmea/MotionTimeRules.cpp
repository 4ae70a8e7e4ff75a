// VTG (track and speed) and ZDA (time and date): no fix condition, neither restarts the watchdog.
#include "FieldReader.h"
#include "FixDate.h"
#include "NavState.h"
#include "SentenceRules.h"
#include "ValueBounds.h"

// $GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48
// Each value is taken only when its unit letter stands beside it.
InterpretResult ApplyVtg(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 8)
        return {};
    FieldReader read(fields);
    const float courseTrue = read.Single(1, 0, MaxCourse);
    const float courseMagnetic = read.Single(3, 0, MaxCourse);
    const float speedKnots = read.Single(5, 0, MaxSpeedKnots);
    const float speedKmh = read.Single(7, 0, MaxSpeedKmh);
    if (!read.Ok())
        return {};

    if (fields[2] == "T")
        nav.VtgCourseTrue = courseTrue;
    if (fields[4] == "M")
        nav.VtgCourseMagnetic = courseMagnetic;
    if (fields[6] == "N")
        nav.VtgSpeedKnots = speedKnots;
    if (fields[8] == "K")
        nav.VtgSpeedKmh = speedKmh;
    return {};
}

// $GPZDA,201530.00,04,07,2002,00,00*60
// A receiver that does not know the date yet leaves day, month and year empty; otherwise they
// must form a date that can be true, or the whole ZDA is refused: a date once taken from ZDA is
// the fix's date until the next one, and a corrupt one would put every later fix in another
// century.
InterpretResult ApplyZda(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 6)
        return {};
    FieldReader read(fields);
    const std::int16_t day = read.Whole<std::int16_t>(2);
    const std::int16_t month = read.Whole<std::int16_t>(3);
    std::int16_t year = read.Whole<std::int16_t>(4);
    // Some receivers send the year in two digits: 19 is 2019.
    if (fields[4].size() == 2 && year >= 0)
        year = static_cast<std::int16_t>(2000 + year);
    const bool noDate = fields[2].empty() && fields[3].empty() && fields[4].empty();
    const std::int16_t zoneHours = read.Whole<std::int16_t>(5);
    const std::int16_t zoneMinutes = read.Whole<std::int16_t>(6);
    if (!read.Ok() || (!noDate && !IsPlausibleDate({year, month, day})))
        return {};

    nav.UtcTimeText = read.Left6(1);
    nav.ZdaDay = day;
    nav.ZdaMonth = month;
    nav.ZdaYear = year;
    nav.ZdaZoneHours = zoneHours;
    nav.ZdaZoneMinutes = zoneMinutes;
    nav.RmcDateIsNewer = false;
    InterpretResult result;
    result.TimeOfDayMs = FixMillisecondOfDay(fields[1]).value_or(-1);
    return result;
}
