// The texts of the digital windows, what a person reads off them across the values a receiver
// sends, and the date and time they show: read from the receiver's texts, in UTC or local time by
// a chosen or an automatic difference to UTC.
#include "FixDateTime.h"
#include "InstrumentTexts.h"
#include "NavState.h"

#include <QTest>

#include <limits>

class TestInstrumentTexts : public QObject {
    Q_OBJECT

private slots:
    void values();
    void clock();
    void received();
    void differences();
    void shown();
};

void TestInstrumentTexts::values()
{
    // The mark is the masculine ordinal indicator, not the degree sign.
    const struct { float Latitude, Longitude; QString Text; } positions[] = {
        {52.134f, 4.5321f, "52º13.400' N\r\n004º53.210' E"},
        {-33.515f, 151.12f, "33º51.500' S\r\n151º12.000' E"},
        {0.0f, 0.0f, "00º00.000' S\r\n000º00.000' W"}, // zero is south and west
        {52.1234567f, -4.5321f, "52º12.346' N\r\n004º53.210' W"},
    };
    for (const auto& [latitude, longitude, text] : positions)
        QCOMPARE(PositionText(latitude, longitude), text);
    // One decimal, rounded; a negative speed keeps its sign.
    const std::pair<float, QString> speeds[] = {{5.34f, "5.3"}, {12.0f, "12.0"}, {0.0f, "0.0"}, {9.96f, "10.0"}, {-1.25f, "-1.3"}};
    for (const auto& [knots, text] : speeds)
        QCOMPARE(SpeedText(knots), text);
    // Whole degrees, truncated and not zero-filled.
    const std::pair<float, QString> courses[] = {{123.7f, "123º"}, {89.9f, "89º"}, {359.99f, "359º"}, {0.4f, "0º"},
                                                 {5.0f, "5º"}, {-0.0f, "0º"}, {std::numeric_limits<float>::quiet_NaN(), "?º"}};
    for (const auto& [degrees, text] : courses)
        QCOMPARE(CourseText(degrees), text);
    QCOMPARE(DisplayText(NoReceptionText()), QStringLiteral("No\nreception"));
}

// The clock shows the separator of the system's time format, and dashes while the time is unknown.
void TestInstrumentTexts::clock()
{
    const std::pair<QString, QChar> formats[] = {
        {"HH:mm", u':'}, {"h.mm AP", u'.'}, {"HH 'h' mm", u':'}, {QString(), u':'}};
    for (const auto& [format, separator] : formats)
        QCOMPARE(TimeSeparator(format), separator);
    QCOMPARE(ClockText(QTime(7, 4, 5), u':'), QStringLiteral("07:04:05"));
    QCOMPARE(ClockText(QTime(23, 59, 59), u'.'), QStringLiteral("23.59.59"));
    QCOMPARE(ClockText(std::nullopt, u':'), QStringLiteral("--:--:--"));
}

// Only whole, possible dates and times count; a ZDA date wins over the RMC one when it is whole.
void TestInstrumentTexts::received()
{
    const struct { const char* Rmc; int ZdaYear, ZdaMonth, ZdaDay; QDate Date; } dates[] = {
        {"051226", 0, 0, 0, QDate(2026, 12, 5)},      {"051226", 2026, 12, 31, QDate(2026, 12, 31)},
        {"051226", 2026, 0, 31, QDate(2026, 12, 5)},  {"051226", 2026, 13, 1, QDate(2026, 12, 5)},
        {"", 0, 0, 0, QDate()},                       {"000000", 0, 0, 0, QDate()}, // receiver without a date
        {"310226", 0, 0, 0, QDate()},                 {"05122", 0, 0, 0, QDate()},
        {"05-226", 0, 0, 0, QDate()},                 {"290228", 0, 0, 0, QDate(2028, 2, 29)},
    };
    for (const auto& [rmc, year, month, day, date] : dates) {
        NavState nav;
        nav.UtcDateText = rmc;
        nav.ZdaYear = static_cast<std::int16_t>(year);
        nav.ZdaMonth = static_cast<std::int16_t>(month);
        nav.ZdaDay = static_cast<std::int16_t>(day);
        QVERIFY2(FixDate(nav).value_or(QDate()) == date, rmc);
    }
    // The second of the day; -1: unknown. A fraction (GLL) is ignored, a leap second kept.
    const std::pair<const char*, int> times[] = {{"123456", 45296}, {"123456.78", 45296}, {"000000", 0}, {"235960", 86400},
                                                 {"12345", -1}, {"", -1}, {"12a456", -1}, {"240000", -1}, {"126000", -1}};
    for (const auto& [text, second] : times)
        QVERIFY2(FixSecondOfDay(text).value_or(-1) == second, text);
}

void TestInstrumentTexts::differences()
{
    // A chosen entry of the list, in minutes; nothing readable is no difference.
    const std::pair<const char*, int> entries[] = {{"+5:30", 330}, {"+5:45", 345}, {"-4:30", -270}, {"-12:00", -720},
                                                   {"+13:00", 780}, {"0:00", 0}, {"-0:30", -30}, {"5", 300},
                                                   {"", 0}, {"abc", 0}};
    for (const auto& [entry, minutes] : entries)
        QVERIFY2(EntryUtcDifference(entry) == minutes, entry);
    // "AUTO": how far the computer's clock is ahead of the fix, to the nearest whole hour.
    const std::pair<qint64, qint64> leads[] = {{-299, -300}, {60, 60}, {-330, -300}, {30, 60}, {-30, 0}, {29, 0}, {-31, -60}};
    for (const auto& [lead, minutes] : leads)
        QVERIFY2(AutoUtcDifference(lead) == minutes, qPrintable(QString::number(lead)));
}

// The fix's time, in UTC or shifted by the chosen difference (an hour more with daylight saving),
// over midnight and the new year with its date; "AUTO" takes the difference from the computer's
// clock. An unknown time or date is not shown.
void TestInstrumentTexts::shown()
{
    const QDateTime noon(QDate(2026, 12, 5), QTime(12, 40));
    const QDate dec5(2026, 12, 5);
    const struct { const char* Time; const char* RmcDate; bool Local, DaylightSaving; const char* Entry; QDateTime ComputerNow; QTime ShownTime; QDate ShownDate; } cases[] = {
        {"123456", "051226", false, false, "+5:30", noon, QTime(12, 34, 56), dec5},
        {"123456", "051226", true, false, "+5:30", noon, QTime(18, 4, 56), dec5},
        {"123456", "051226", true, true, "+5:30", noon, QTime(19, 4, 56), dec5},
        {"020000", "051226", true, false, "-4:30", noon, QTime(21, 30), QDate(2026, 12, 4)},
        {"020000", "010127", true, false, "-4:30", noon, QTime(21, 30), QDate(2026, 12, 31)},
        {"201500", "311226", true, false, "+5:45", noon, QTime(2, 0), QDate(2027, 1, 1)},
        {"123456", "051226", true, false, "AUTO", QDateTime(dec5, QTime(7, 35, 10)), QTime(7, 34, 56), dec5},
        {"123456", "051226", true, false, "AUTO", QDateTime(dec5, QTime(13, 34)), QTime(13, 34, 56), dec5},
        {"123456", "051226", true, false, "auto", QDateTime(dec5, QTime(13, 34)), QTime(12, 34, 56), dec5}, // not "AUTO"
        // Without a date only the time of day is known: the clock difference goes the short way round.
        {"233456", "", true, false, "AUTO", QDateTime(QDate(2026, 12, 6), QTime(0, 20)), QTime(0, 34, 56), QDate()},
        {"1234", "051226", false, false, "", noon, QTime(), QDate()},
        {"123456", "000000", false, false, "", noon, QTime(12, 34, 56), QDate()},
    };
    for (const auto& [time, rmcDate, local, daylightSaving, entry, computerNow, shownTime, shownDate] : cases) {
        NavState nav;
        nav.UtcTimeText = time;
        nav.UtcDateText = rmcDate;
        const ShownDateTime shown = FixDateTime(nav, {local, daylightSaving, entry}, computerNow);
        QVERIFY2(shown.Time.value_or(QTime()) == shownTime && shown.Date.value_or(QDate()) == shownDate,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(time, rmcDate, entry)));
    }
}

QTEST_APPLESS_MAIN(TestInstrumentTexts)
#include "tst_instrumenttexts.moc"
