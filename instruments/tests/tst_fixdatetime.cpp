#include "FixDateTime.h"

#include "NavState.h"

#include <QTest>

class TestFixDateTime : public QObject {
    Q_OBJECT

private slots:
    void fixDate_data();
    void fixDate();
    void secondOfDay_data();
    void secondOfDay();
    void entryDifference_data();
    void entryDifference();
    void autoDifference_data();
    void autoDifference();
    void shown_data();
    void shown();
};

void TestFixDateTime::fixDate_data()
{
    QTest::addColumn<QString>("rmcDate");
    QTest::addColumn<int>("zdaYear");
    QTest::addColumn<int>("zdaMonth");
    QTest::addColumn<int>("zdaDay");
    QTest::addColumn<QDate>("expected"); // invalid: no date
    QTest::newRow("RMC") << "051226" << 0 << 0 << 0 << QDate(2026, 12, 5);
    QTest::newRow("ZDA preferred") << "051226" << 2026 << 12 << 31 << QDate(2026, 12, 31);
    QTest::newRow("ZDA incomplete") << "051226" << 2026 << 0 << 31 << QDate(2026, 12, 5);
    QTest::newRow("ZDA impossible, RMC used") << "051226" << 2026 << 13 << 1 << QDate(2026, 12, 5);
    QTest::newRow("no date at all") << "" << 0 << 0 << 0 << QDate();
    QTest::newRow("receiver without a date") << "000000" << 0 << 0 << 0 << QDate();
    QTest::newRow("31 February") << "310226" << 0 << 0 << 0 << QDate();
    QTest::newRow("too short") << "05122" << 0 << 0 << 0 << QDate();
    QTest::newRow("not digits") << "05-226" << 0 << 0 << 0 << QDate();
    QTest::newRow("29 February of a leap year") << "290228" << 0 << 0 << 0 << QDate(2028, 2, 29);
}

void TestFixDateTime::fixDate()
{
    QFETCH(QString, rmcDate);
    QFETCH(int, zdaYear);
    QFETCH(int, zdaMonth);
    QFETCH(int, zdaDay);
    QFETCH(QDate, expected);
    NavState nav;
    nav.UtcDateText = rmcDate.toStdString();
    nav.ZdaYear = static_cast<std::int16_t>(zdaYear);
    nav.ZdaMonth = static_cast<std::int16_t>(zdaMonth);
    nav.ZdaDay = static_cast<std::int16_t>(zdaDay);
    QCOMPARE(FixDate(nav).value_or(QDate()), expected);
}

void TestFixDateTime::secondOfDay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: unknown
    QTest::newRow("hhmmss") << "123456" << 45296;
    QTest::newRow("GLL fraction ignored") << "123456.78" << 45296;
    QTest::newRow("midnight") << "000000" << 0;
    QTest::newRow("leap second") << "235960" << 86400;
    QTest::newRow("too short") << "12345" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("not digits") << "12a456" << -1;
    QTest::newRow("hour 24") << "240000" << -1;
    QTest::newRow("minute 60") << "126000" << -1;
}

void TestFixDateTime::secondOfDay()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(FixSecondOfDay(text.toStdString()).value_or(-1), expected);
}

void TestFixDateTime::entryDifference_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("minutes");
    QTest::newRow("+5:30") << "+5:30" << 330;
    QTest::newRow("+5:45") << "+5:45" << 345;
    QTest::newRow("-4:30") << "-4:30" << -270;
    QTest::newRow("-12:00") << "-12:00" << -720;
    QTest::newRow("+13:00") << "+13:00" << 780;
    QTest::newRow("0:00, unsigned") << "0:00" << 0;
    QTest::newRow("-0:30 keeps its sign") << "-0:30" << -30;
    QTest::newRow("hours only") << "5" << 300;
    QTest::newRow("nothing selected") << "" << 0;
    QTest::newRow("unreadable") << "abc" << 0;
}

void TestFixDateTime::entryDifference()
{
    QFETCH(QString, entry);
    QFETCH(int, minutes);
    QCOMPARE(EntryUtcDifference(entry), minutes);
}

void TestFixDateTime::autoDifference_data()
{
    QTest::addColumn<qint64>("lead");
    QTest::addColumn<qint64>("minutes");
    QTest::newRow("-299") << qint64(-299) << qint64(-300);
    QTest::newRow("+60") << qint64(60) << qint64(60);
    QTest::newRow("-330, half an hour off") << qint64(-330) << qint64(-300);
    QTest::newRow("+30 rounds up") << qint64(30) << qint64(60);
    QTest::newRow("-30 rounds up to 0") << qint64(-30) << qint64(0);
    QTest::newRow("+29") << qint64(29) << qint64(0);
    QTest::newRow("-31") << qint64(-31) << qint64(-60);
}

void TestFixDateTime::autoDifference()
{
    QFETCH(qint64, lead);
    QFETCH(qint64, minutes);
    QCOMPARE(AutoUtcDifference(lead), minutes);
}

void TestFixDateTime::shown_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("rmcDate");
    QTest::addColumn<bool>("zda");
    QTest::addColumn<bool>("local");
    QTest::addColumn<bool>("daylightSaving");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDateTime>("computerNow");
    QTest::addColumn<QTime>("expectedTime"); // invalid: unknown
    QTest::addColumn<QDate>("expectedDate"); // invalid: not shown

    const QDateTime noon(QDate(2026, 12, 5), QTime(12, 40));
    QTest::newRow("UTC") << "123456" << "051226" << false << false << false << "+5:30" << noon
                         << QTime(12, 34, 56) << QDate(2026, 12, 5);
    QTest::newRow("ZDA date over RMC") << "123456" << "051226" << true << false << false << "" << noon
                                       << QTime(12, 34, 56) << QDate(2026, 12, 31);
    QTest::newRow("+5:30") << "123456" << "051226" << false << true << false << "+5:30" << noon
                           << QTime(18, 4, 56) << QDate(2026, 12, 5);
    QTest::newRow("+5:30 and daylight saving") << "123456" << "051226" << false << true << true << "+5:30"
                                               << noon << QTime(19, 4, 56) << QDate(2026, 12, 5);
    QTest::newRow("-4:30 back over midnight") << "020000" << "051226" << false << true << false << "-4:30"
                                              << noon << QTime(21, 30) << QDate(2026, 12, 4);
    QTest::newRow("-4:30 back over new year") << "020000" << "010127" << false << true << false << "-4:30"
                                              << noon << QTime(21, 30) << QDate(2026, 12, 31);
    QTest::newRow("+5:45 forward over midnight") << "201500" << "311226" << false << true << false << "+5:45"
                                                 << noon << QTime(2, 0) << QDate(2027, 1, 1);
    QTest::newRow("0:00") << "123456" << "051226" << false << true << false << "0:00" << noon
                          << QTime(12, 34, 56) << QDate(2026, 12, 5);
    QTest::newRow("AUTO, m = -299") << "123456" << "051226" << false << true << false << "AUTO"
                                    << QDateTime(QDate(2026, 12, 5), QTime(7, 35, 10))
                                    << QTime(7, 34, 56) << QDate(2026, 12, 5);
    QTest::newRow("AUTO, m = +60") << "123456" << "051226" << false << true << false << "AUTO"
                                   << QDateTime(QDate(2026, 12, 5), QTime(13, 34))
                                   << QTime(13, 34, 56) << QDate(2026, 12, 5);
    QTest::newRow("AUTO is case-sensitive") << "123456" << "051226" << false << true << false << "auto"
                                            << QDateTime(QDate(2026, 12, 5), QTime(13, 34))
                                            << QTime(12, 34, 56) << QDate(2026, 12, 5);
    // Without a date only the time of day is known: the clock difference goes the short way round.
    QTest::newRow("AUTO without a date") << "233456" << "" << false << true << false << "AUTO"
                                         << QDateTime(QDate(2026, 12, 6), QTime(0, 20))
                                         << QTime(0, 34, 56) << QDate();
    QTest::newRow("unknown time") << "1234" << "051226" << false << false << false << "" << noon
                                  << QTime() << QDate();
    QTest::newRow("unknown date") << "123456" << "000000" << false << false << false << "" << noon
                                  << QTime(12, 34, 56) << QDate();
}

void TestFixDateTime::shown()
{
    QFETCH(QString, time);
    QFETCH(QString, rmcDate);
    QFETCH(bool, zda);
    QFETCH(bool, local);
    QFETCH(bool, daylightSaving);
    QFETCH(QString, entry);
    QFETCH(QDateTime, computerNow);
    QFETCH(QTime, expectedTime);
    QFETCH(QDate, expectedDate);

    NavState nav;
    nav.UtcTimeText = time.toStdString();
    nav.UtcDateText = rmcDate.toStdString();
    if (zda) {
        nav.ZdaYear = 2026;
        nav.ZdaMonth = 12;
        nav.ZdaDay = 31;
    }
    const ShownDateTime shown = FixDateTime(nav, {local, daylightSaving, entry}, computerNow);
    QCOMPARE(shown.Time.value_or(QTime()), expectedTime);
    QCOMPARE(shown.Date.value_or(QDate()), expectedDate);
}

QTEST_APPLESS_MAIN(TestFixDateTime)
#include "tst_fixdatetime.moc"
