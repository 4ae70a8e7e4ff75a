#include "FixDateTime.h"

#include "InstrumentTexts.h"
#include "NavState.h"
#include "NumberText.h"
#include "Rounding.h"

namespace {

constexpr int MinutesPerDay = 24 * 60;

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
    const std::optional<CivilDate> date = FixCalendarDate(nav);
    return date ? CalendarDate(date->Year, date->Month, date->Day) : std::nullopt;
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

DateTimeTexts ShownDateTimeTexts(const NavState& nav, const TimeDisplay& display, const QDateTime& computerNow,
                                 const QLocale& locale)
{
    const ShownDateTime shown = FixDateTime(nav, display, computerNow);
    return {display.LocalTime ? QStringLiteral("Local Time") : QStringLiteral("UTC"),
            ClockText(shown.Time, TimeSeparator(locale.timeFormat(QLocale::ShortFormat))),
            shown.Date ? locale.toString(*shown.Date, QLocale::LongFormat) : QString()};
}
