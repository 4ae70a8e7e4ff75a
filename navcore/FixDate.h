#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct NavState;

// A date of the Gregorian calendar as a receiver writes it.
struct CivilDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

// The years a receiver can mean: GPS time began in 1980, and 2200 is far beyond the life of
// anything that runs this program. A year outside them is a corrupt sentence or a receiver that
// lost count, and a time built from it would send plotters decades away.
inline constexpr int EarliestYear = 1980;
inline constexpr int LatestYear = 2200;

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, for a month 1..12.
// Days past the end of the month roll over the way a calendar does: 30 February 2000 is 1 March.
std::int64_t DaysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day);

// Whether a date can be true: a year within EarliestYear..LatestYear, month 1..12, day 1..31.
// The 31st of a shorter month is left to the reader: the GPSD time rolls it over into the next
// month, the date window shows no date.
bool IsPlausibleDate(const CivilDate& date);

// The date of the fix, the one place that chooses it for every reader: ZDA's once a ZDA gave
// one, unless an RMC came after it with a date; otherwise the RMC's ddmmyy, read as 20yy. Only
// dates that can be true count (RMC sends 000000 before it knows the date). nullopt when there
// is none.
std::optional<CivilDate> FixCalendarDate(const NavState& nav);

// The time of the last fix in seconds since 1970-01-01 00:00:00 UTC: the fix's date
// (FixCalendarDate) plus the hhmmss of UtcTimeText; fractions of a second are dropped.
// nullopt when the time is not known or cannot be true: no date that can be, or a time text that
// is not a time of day. A plotter is better served by "unknown" than by a time made up from half
// a date, or one decades away, and the sun's position is no better than the time it is for.
std::optional<std::int64_t> FixEpochSeconds(const NavState& nav);

// hhmmss (a GLL fraction ignored) in seconds since midnight; nullopt unless the text starts with
// six digits that form a time of day. Second 60, a leap second, is accepted and rolls over.
std::optional<int> FixSecondOfDay(std::string_view utcTimeText);
// The same with the fraction of a time field hhmmss.sss, in milliseconds since midnight: the
// digits after the point, to the millisecond. A fraction that is not digits is no time.
std::optional<int> FixMillisecondOfDay(std::string_view timeField);
