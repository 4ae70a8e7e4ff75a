// VTG (track and speed) and ZDA (time and date): no fix condition, neither restarts the watchdog.
#include "FieldReader.h"
#include "NavState.h"
#include "SentenceRules.h"

// $GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48
// Each value is taken only when its unit letter stands beside it.
InterpretResult ApplyVtg(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 8)
        return {};
    FieldReader read(fields);
    const float courseTrue = read.Single(1);
    const float courseMagnetic = read.Single(3);
    const float speedKnots = read.Single(5);
    const float speedKmh = read.Single(7);
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
InterpretResult ApplyZda(const SentenceFields& fields, NavState& nav)
{
    if (fields.Count() <= 6)
        return {};
    FieldReader read(fields);
    const std::int16_t day = read.Integer(read.Single(2));
    const std::int16_t month = read.Integer(read.Single(3));
    const std::int16_t year = read.Integer(read.Single(4));
    const std::int16_t zoneHours = read.Integer(read.Single(5));
    const std::int16_t zoneMinutes = read.Integer(read.Single(6));
    if (!read.Ok())
        return {};

    nav.UtcTimeText = read.Left6(1);
    nav.ZdaDay = day;
    nav.ZdaMonth = month;
    nav.ZdaYear = year;
    nav.ZdaZoneHours = zoneHours;
    nav.ZdaZoneMinutes = zoneMinutes;
    return {};
}
