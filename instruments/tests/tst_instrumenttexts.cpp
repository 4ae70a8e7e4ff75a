#include "InstrumentTexts.h"

#include <QTest>

#include <limits>

class TestInstrumentTexts : public QObject {
    Q_OBJECT

private slots:
    void position_data();
    void position();
    void speed_data();
    void speed();
    void course_data();
    void course();
    void timeSeparator_data();
    void timeSeparator();
    void clockText();
    void displayText();
};

void TestInstrumentTexts::position_data()
{
    QTest::addColumn<float>("latitude");
    QTest::addColumn<float>("longitude");
    QTest::addColumn<QString>("expected");
    QTest::newRow("north east") << 52.134f << 4.5321f << QStringLiteral("52º13.400' N\r\n004º53.210' E");
    QTest::newRow("south east") << -33.515f << 151.12f << QStringLiteral("33º51.500' S\r\n151º12.000' E");
    QTest::newRow("zero is south and west") << 0.0f << 0.0f << QStringLiteral("00º00.000' S\r\n000º00.000' W");
    QTest::newRow("minutes rounded") << 52.1234567f << -4.5321f
                                     << QStringLiteral("52º12.346' N\r\n004º53.210' W");
}

void TestInstrumentTexts::position()
{
    QFETCH(float, latitude);
    QFETCH(float, longitude);
    QFETCH(QString, expected);
    const QString text = PositionText(latitude, longitude);
    QCOMPARE(text, expected);
    // The mark is the masculine ordinal indicator, not the degree sign.
    QVERIFY(text.contains(QChar(0x00BA)));
    QVERIFY(!text.contains(QChar(0x00B0)));
}

void TestInstrumentTexts::speed_data()
{
    QTest::addColumn<float>("knots");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal") << 5.34f << QStringLiteral("5.3");
    QTest::newRow("whole") << 12.0f << QStringLiteral("12.0");
    QTest::newRow("zero") << 0.0f << QStringLiteral("0.0");
    QTest::newRow("rounds up a digit") << 9.96f << QStringLiteral("10.0");
    QTest::newRow("negative keeps its sign") << -1.25f << QStringLiteral("-1.3");
}

void TestInstrumentTexts::speed()
{
    QFETCH(float, knots);
    QFETCH(QString, expected);
    QCOMPARE(SpeedText(knots), expected);
}

void TestInstrumentTexts::course_data()
{
    QTest::addColumn<float>("degrees");
    QTest::addColumn<QString>("expected");
    QTest::newRow("123.7") << 123.7f << QStringLiteral("123º");
    QTest::newRow("truncated, not rounded") << 89.9f << QStringLiteral("89º");
    QTest::newRow("just under north") << 359.99f << QStringLiteral("359º");
    QTest::newRow("below one") << 0.4f << QStringLiteral("0º");
    QTest::newRow("not zero-filled") << 5.0f << QStringLiteral("5º");
    QTest::newRow("minus zero") << -0.0f << QStringLiteral("0º");
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << QStringLiteral("?º");
}

void TestInstrumentTexts::course()
{
    QFETCH(float, degrees);
    QFETCH(QString, expected);
    QCOMPARE(CourseText(degrees), expected);
}

void TestInstrumentTexts::timeSeparator_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QChar>("expected");
    QTest::newRow("colon") << QStringLiteral("HH:mm") << QChar(u':');
    QTest::newRow("point, twelve-hour") << QStringLiteral("h.mm AP") << QChar(u'.');
    QTest::newRow("quoted letters skipped") << QStringLiteral("HH 'h' mm") << QChar(u':');
    QTest::newRow("empty") << QString() << QChar(u':');
}

void TestInstrumentTexts::timeSeparator()
{
    QFETCH(QString, format);
    QFETCH(QChar, expected);
    QCOMPARE(TimeSeparator(format), expected);
}

void TestInstrumentTexts::clockText()
{
    QCOMPARE(ClockText(QTime(7, 4, 5), u':'), QStringLiteral("07:04:05"));
    QCOMPARE(ClockText(QTime(23, 59, 59), u'.'), QStringLiteral("23.59.59"));
    QCOMPARE(ClockText(std::nullopt, u':'), QStringLiteral("--:--:--"));
}

void TestInstrumentTexts::displayText()
{
    QCOMPARE(DisplayText(NoReceptionText()), QStringLiteral("No\nreception"));
}

QTEST_APPLESS_MAIN(TestInstrumentTexts)
#include "tst_instrumenttexts.moc"
