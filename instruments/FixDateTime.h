#pragma once

#include "FixDate.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

struct NavState;

// How the main window's time controls ask for the time to be shown.
struct TimeDisplay {
    bool LocalTime = false;
    bool DaylightSaving = false;
    QString UtcDifference; // "AUTO", "-4:30", "+5:45", ... or empty when nothing is selected
    bool operator==(const TimeDisplay&) const = default;
};

// The fix's time of day and date as the date and time window shows them. Either is empty when
// the sentences did not give it in a usable form: a wrong date is worse than none.
struct ShownDateTime {
    std::optional<QTime> Time;
    std::optional<QDate> Date;
};

// The date of the fix (FixCalendarDate) as a date of the calendar: the 31st of a shorter month
// gives no date rather than a rolled-over one.
std::optional<QDate> FixDate(const NavState& nav);

// The minutes a fixed UTC-difference entry stands for: "+5:45" 345, "-4:30" -270, "0:00" 0;
// an entry without a colon counts hours ("5" 300); an empty or unreadable entry 0. The minutes
// take the sign of the whole entry, which is how "-0:30" comes to mean half an hour west.
int EntryUtcDifference(const QString& entry);

// "AUTO": minutes, the computer clock's lead over the fix time, to the nearest whole hour, an
// exact half hour rounding up for either sign (-330 gives -300, +30 gives +60, -30 gives 0).
std::int64_t AutoUtcDifference(std::int64_t minutes);

// The shown date and time: UTC, or local with an hour for daylight saving and then the UTC
// difference. computerNow is the computer's local date and time, read only for "AUTO".
ShownDateTime FixDateTime(const NavState& nav, const TimeDisplay& display,
                          const QDateTime& computerNow);

// The three lines of the date and time window: "UTC" or "Local Time", the clock time with the
// locale's separator (only the dashes while the time is unknown), and the locale's long date
// (empty while the date is unknown).
struct DateTimeTexts {
    QString Sort;
    QString Time;
    QString Date;
    bool operator==(const DateTimeTexts&) const = default;
};

DateTimeTexts ShownDateTimeTexts(const NavState& nav, const TimeDisplay& display, const QDateTime& computerNow,
                                 const QLocale& locale);
