#include "EpochCollector.h"

#include "Coordinates.h"
#include "NavState.h"

#include <algorithm>

namespace {

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

std::array<char, 3> TypeOf(std::string_view type)
{
    std::array<char, 3> letters{};
    std::copy_n(type.begin(), std::min(type.size(), letters.size()), letters.begin());
    return letters;
}

} // namespace

void EpochCollector::Take(std::string_view type, const InterpretResult& result, const NavState& nav)
{
    const Type letters = TypeOf(type);
    const std::int32_t time = result.TimeOfDayMs;
    if (time >= 0) {
        if (LastTimeOfDayMs >= 0 && time != LastTimeOfDayMs) {
            Ender = LastTimedType;
            if (TimeOfDayMs >= 0)
                Complete();
        }
        LastTimeOfDayMs = time;
        LastTimedType = letters;
        TimeOfDayMs = time;
    }
    Apply(result, nav);
    if (time >= 0 && letters == Ender)
        Complete();
}

void EpochCollector::Finish()
{
    // Sentences without a time that came after the last of a cycle (a GSA after the RMC) belong
    // to the next cycle, however long the pause before it.
    if (CycleOpen())
        Complete();
}

void EpochCollector::Apply(const InterpretResult& result, const NavState& nav)
{
    FixSeen = FixSeen || result.FixAccepted;
    NoFixSeen = NoFixSeen || result.NoFix;
    // GGA and RMC may tell different qualities (RMC "E" dead reckoning, GGA 1): the highest
    // counts, as gpsd has it.
    Current.Status = std::max<int>(Current.Status, result.FixStatus);
    if (result.TimeOfDayMs >= 0)
        Date = FixCalendarDate(nav);
    const std::uint16_t carried = result.Carried;
    if (carried & Carried::Position) {
        Current.Latitude = DegreesFromDegreesMinutes(nav.PreciseLatitude);
        Current.Longitude = DegreesFromDegreesMinutes(nav.PreciseLongitude);
    }
    if (carried & Carried::Altitude)
        Current.AltitudeMsl = nav.Altitude;
    if (carried & Carried::GeoidSeparation)
        Current.GeoidSeparation = nav.GeoidSeparation;
    if (carried & Carried::Course)
        Current.Course = nav.Course;
    if (carried & Carried::Speed)
        Current.SpeedKnots = nav.Speed;
    if (carried & Carried::MagneticVariation)
        Current.MagneticVariation = nav.MagneticVariationDirection == "W" ? -nav.MagneticVariation : nav.MagneticVariation;
    if (carried & Carried::Hdop)
        Current.Hdop = nav.Hdop;
    if (carried & Carried::Vdop)
        Current.Vdop = nav.Vdop;
    if (carried & Carried::Pdop)
        Current.Pdop = nav.Pdop;
    if (carried & Carried::GsaMode)
        GsaMode = nav.FixMode;
}

FixEpoch EpochCollector::Completed() const
{
    FixEpoch epoch;
    if (FixSeen) {
        epoch = Current;
        if (GsaMode == 2 || GsaMode == 3)
            epoch.Mode = GsaMode;
        else
            epoch.Mode = epoch.AltitudeMsl ? 3 : 2;
        epoch.Status = std::max(epoch.Status, 1);
    }
    if (TimeOfDayMs >= 0 && Date)
        epoch.TimeMs = DaysSinceEpoch(Date->Year, Date->Month, Date->Day) * MillisecondsPerDay + TimeOfDayMs;
    return epoch;
}

void EpochCollector::Complete()
{
    // A cycle whose time was reported already: the rest of it came after a quiet gap, or after
    // a second type that ends cycles. Its clients have had their one report. A cycle without any
    // fix sentence says nothing about the fix: its beginning was lost (the port opened halfway),
    // or the receiver sends time alone.
    const bool reported = TimeOfDayMs >= 0 && TimeOfDayMs == ReportedTimeOfDayMs;
    if (!reported && (FixSeen || NoFixSeen) && Report)
        Report(Completed());
    if (TimeOfDayMs >= 0)
        ReportedTimeOfDayMs = TimeOfDayMs;
    Current = FixEpoch{};
    FixSeen = false;
    NoFixSeen = false;
    GsaMode = 0;
    TimeOfDayMs = -1;
    Date.reset();
}
