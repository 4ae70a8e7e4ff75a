#include "FixDateTime.h"

#include "NavState.h"
#include "NumberText.h"
#include "Rounding.h"

namespace {

constexpr int MinutesPerDay = 24 * 60;

// The number written by count digits from first on, or -1 when any of them is not a digit.
int DigitsAt(std::string_view text, std::size_t first, std::size_t count)
{
    if (text.size() < first + count)
        return -1;
    int value = 0;
    for (const char c : text.substr(first, count)) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<QDate> CalendarDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::int64_t FloorDiv(std::int64_t x, std::int64_t k)
{
    return x / k - (x % k != 0 && (x < 0) != (k < 0));
}

// Minute boundaries crossed from the fix time to the computer's clock, both read as plain
// wall-clock values. Without a fix date only the time of day is known, so the difference is
// taken the short way round the clock.
std::int64_t ClockLeadMinutes(const QDateTime& fix, const QDateTime& computerNow, bool dateKnown)
{
    const QDateTime wallNow(computerNow.date(), computerNow.time(), Qt::UTC);
    std::int64_t minutes = FloorDiv(wallNow.toSecsSinceEpoch(), 60)
        - FloorDiv(fix.toSecsSinceEpoch(), 60);
    if (!dateKnown)
        minutes -= FloorDiv(minutes + MinutesPerDay / 2, MinutesPerDay) * MinutesPerDay;
    return minutes;
}

int ReadWhole(double value)
{
    return RoundToFit<int>(value).value_or(0);
}

} // namespace

std::optional<QDate> FixDate(const NavState& nav)
{
    if (nav.ZdaYear != 0 && nav.ZdaMonth != 0 && nav.ZdaDay != 0) {
        if (auto date = CalendarDate(nav.ZdaYear, nav.ZdaMonth, nav.ZdaDay))
            return date;
    }
    const std::string_view text = nav.UtcDateText;
    const int day = DigitsAt(text, 0, 2);
    const int month = DigitsAt(text, 2, 2);
    const int year = DigitsAt(text, 4, 2);
    if (day < 0 || month < 0 || year < 0)
        return std::nullopt;
    return CalendarDate(2000 + year, month, day);
}

std::optional<int> FixSecondOfDay(std::string_view utcTimeText)
{
    const int hours = DigitsAt(utcTimeText, 0, 2);
    const int minutes = DigitsAt(utcTimeText, 2, 2);
    const int seconds = DigitsAt(utcTimeText, 4, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 60)
        return std::nullopt;
    return (hours * 60 + minutes) * 60 + seconds;
}

int EntryUtcDifference(const QString& entry)
{
    const std::string text = entry.toStdString();
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return ReadWhole(LeadingNumber(text) * 60);
    const std::string minutes = text.substr(0, 1) + text.substr(colon + 1, 2);
    return ReadWhole(LeadingNumber(text.substr(0, colon)) * 60 + LeadingNumber(minutes));
}

std::int64_t AutoUtcDifference(std::int64_t minutes)
{
    return FloorDiv(minutes + 30, 60) * 60;
}

ShownDateTime FixDateTime(const NavState& nav, const TimeDisplay& display,
                          const QDateTime& computerNow)
{
    const std::optional<int> second = FixSecondOfDay(nav.UtcTimeText);
    if (!second)
        return {};
    const std::optional<QDate> date = FixDate(nav);
    // Without a date the arithmetic still needs one; it only decides the time of day then.
    QDateTime shown = QDateTime(date.value_or(computerNow.date()), QTime(0, 0), Qt::UTC)
                          .addSecs(*second);
    if (display.LocalTime) {
        if (display.DaylightSaving)
            shown = shown.addSecs(3600);
        const std::int64_t difference = display.UtcDifference == QLatin1String("AUTO")
            ? AutoUtcDifference(ClockLeadMinutes(shown, computerNow, date.has_value()))
            : EntryUtcDifference(display.UtcDifference);
        shown = shown.addSecs(difference * 60);
    }
    ShownDateTime result;
    result.Time = shown.time();
    if (date)
        result.Date = shown.date();
    return result;
}
