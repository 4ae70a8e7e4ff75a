// The old protocol's position report: its time from the RMC or ZDA date, and its altitude.
#include "GpsdReply.h"
#include "Received.h"

#include <QTest>

namespace {

// The n-th space-separated value after "GPSD,O=" (1 is the tag).
std::string ReplyField(const std::string& reply, int n)
{
    return QString::fromStdString(reply).mid(7).trimmed().split(QLatin1Char(' ')).value(n - 1).toStdString();
}

} // namespace

class TestGpsdReply : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void fixTime_data();
    void fixTime();
    void altitude_data();
    void altitude();
    void newerDateWins();
};

void TestGpsdReply::workedExample()
{
    NavState nav = Received();
    QCOMPARE(PositionReply(nav), "GPSD,O=RMC 1711197319 0.005 48.117302 11.516667 545.40 ? ? 84.4 22.4 ? ? ? ? 3\r\n");
}

void TestGpsdReply::fixTime_data()
{
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QList<int>>("zda"); // day, month, year
    QTest::addColumn<QString>("field");
    const QList<int> noZda{0, 0, 0};
    QTest::newRow("RMC date") << "123519" << "230324" << noZda << "1711197319";
    QTest::newRow("ZDA date wins") << "201530" << "230324" << QList<int>{4, 7, 2024} << "1720124130";
    QTest::newRow("ZDA needs all three") << "123519" << "230324" << QList<int>{4, 7, 0} << "1711197319";
    QTest::newRow("ZDA that cannot be true") << "123519" << "230324" << QList<int>{4, 13, 2024} << "1711197319";
    QTest::newRow("GLL time with fraction") << "123519.00" << "230324" << noZda << "1711197319";
    QTest::newRow("second 60 rolls on") << "235960" << "310124" << noZda << "1706745600";
    QTest::newRow("past 2038") << "000000" << "" << QList<int>{1, 1, 2040} << "2208988800";
    QTest::newRow("last year that can be true") << "235959" << "" << QList<int>{31, 12, 2200} << "7289654399";
    QTest::newRow("no date yet") << "123519" << "" << noZda << "?";
    QTest::newRow("RMC day 0") << "123519" << "000324" << noZda << "?";
    QTest::newRow("RMC day 32") << "123519" << "320124" << noZda << "?";
    QTest::newRow("RMC month 13") << "123519" << "011324" << noZda << "?";
    QTest::newRow("date too short") << "123519" << "2303" << noZda << "?";
    QTest::newRow("date not digits") << "123519" << "23-324" << noZda << "?";
    QTest::newRow("time too short") << "1235" << "230324" << noZda << "?";
    QTest::newRow("no time") << "" << "" << QList<int>{4, 7, 2024} << "?";
}

void TestGpsdReply::fixTime()
{
    QFETCH(QString, timeText);
    QFETCH(QString, dateText);
    QFETCH(QList<int>, zda);
    QFETCH(QString, field);
    NavState nav = Received();
    nav.UtcTimeText = timeText.toStdString();
    nav.UtcDateText = dateText.toStdString();
    nav.ZdaDay = static_cast<std::int16_t>(zda[0]);
    nav.ZdaMonth = static_cast<std::int16_t>(zda[1]);
    nav.ZdaYear = static_cast<std::int16_t>(zda[2]);
    nav.RmcDateIsNewer = false; // as after a ZDA
    const std::string reply = PositionReply(nav);
    QCOMPARE(ReplyField(reply, 2), field.toStdString());
    QCOMPARE(ReplyField(reply, 15), std::string("3"));
}

void TestGpsdReply::altitude_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("metres") << "M" << "545.40";
    QTest::newRow("lower-case metres") << "m" << "545.40";
    QTest::newRow("feet") << "F" << "?";
    QTest::newRow("no unit") << "" << "?";
    QTest::newRow("longer text") << "MM" << "?";
}

void TestGpsdReply::altitude()
{
    QFETCH(QString, unit);
    QFETCH(QString, text);
    NavState nav = Received();
    nav.AltitudeUnit = unit.toStdString();
    QCOMPARE(ReplyField(PositionReply(nav), 6), text.toStdString());
}

void TestGpsdReply::newerDateWins()
{
    // An RMC after a ZDA brings the newer date; the next ZDA takes over again.
    NavState nav = Received({Gga, Gsa, "GPZDA,201530.00,01,07,2024,00,00", Rmc});
    QCOMPARE(ReplyField(PositionReply(nav), 2), "1711197319");
    nav = Received({Gga, Gsa, Rmc, "GPZDA,123519.00,01,07,2024,00,00"});
    QCOMPARE(ReplyField(PositionReply(nav), 2), "1719837319");
}

QTEST_APPLESS_MAIN(TestGpsdReply)
#include "tst_gpsdreply.moc"
