#pragma once

#include <cstdint>
#include <optional>

struct NavState;

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar. Months and days
// outside their range roll over the way a calendar does: month 13 is January of the next year,
// day 0 the last day of the previous month, day 32 of January the first of February.
std::int64_t DaysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day);

// The time of the last fix in seconds since 1970-01-01 00:00:00 UTC: the ZDA date once all three
// of its fields are set (ZDA is never cleared, so it wins for the rest of the run), else the RMC
// date, plus the hhmmss of UtcTimeText; fractions of a second are dropped.
// nullopt when the time is not known: no ZDA date and no RMC date of six digits, or a time text
// that does not start with six digits. A plotter is better served by "unknown" than by a time
// made up from half a date.
std::optional<std::int64_t> GpsdFixTime(const NavState& nav);
