// The texts of the digital windows: what a person reads off them, across the values a receiver sends.
#include "InstrumentTexts.h"

#include <QTest>

#include <limits>

class TestInstrumentTexts : public QObject {
    Q_OBJECT

private slots:
    void values();
    void clock();
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

QTEST_APPLESS_MAIN(TestInstrumentTexts)
#include "tst_instrumenttexts.moc"
