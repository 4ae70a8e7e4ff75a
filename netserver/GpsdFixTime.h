#pragma once

#include <cstdint>
#include <optional>

struct NavState;

// The time of the last fix in seconds since 1970-01-01 00:00:00 UTC: the fix's date
// (FixCalendarDate) plus the hhmmss of UtcTimeText; fractions of a second are dropped.
// nullopt when the time is not known or cannot be true: no date that can be, or a time text that
// is not a time of day. A plotter is better served by "unknown" than by a time made up from half
// a date, or one decades away.
std::optional<std::int64_t> GpsdFixTime(const NavState& nav);
