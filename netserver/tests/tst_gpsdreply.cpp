// The old protocol's position report: its position exactly as received, its time from the RMC or
// ZDA date, and its altitude.
#include "GpsdReply.h"
#include "Received.h"

#include <QTest>

#include <cmath>

namespace {

// The n-th space-separated value after "GPSD,O=" (1 is the tag).
std::string ReplyField(const std::string& reply, int n)
{
    return QString::fromStdString(reply).mid(7).trimmed().split(QLatin1Char(' ')).value(n - 1).toStdString();
}

// The decimal degrees of a ddmm.mmmm field to six decimals, halves away from zero, by integer
// arithmetic on its digits: a reference that shares nothing with the code under test.
std::string ExactDegrees(const QString& field, const QString& side)
{
    const qsizetype point = field.indexOf('.');
    const qint64 scale = static_cast<qint64>(std::pow(10, field.size() - point - 1));
    const qint64 minutes = QString(field.mid(point - 2)).remove('.').toLongLong(); // in 1/scale minutes
    const qint64 micro = field.left(point - 2).toLongLong() * 1000000 + (minutes * 2000000 + 60 * scale) / (120 * scale);
    const QString text = QString("%1.%2").arg(micro / 1000000).arg(micro % 1000000, 6, 10, QChar('0'));
    return (side == "S" || side == "W" ? "-" + text : text).toStdString();
}

} // namespace

class TestGpsdReply : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void position_data();
    void position();
    void fixTime_data();
    void fixTime();
    void altitude_data();
    void altitude();
    void newerDateWins();
};

void TestGpsdReply::workedExample()
{
    NavState nav = Received();
    QCOMPARE(PositionReply(nav), "GPSD,O=RMC 1711197319 0.005 48.117300 11.516667 545.40 ? ? 84.4 22.4 ? ? ? ? 3\r\n");
}

void TestGpsdReply::position_data()
{
    QTest::addColumn<QStringList>("fields"); // latitude, its side, longitude, its side, speed
    QTest::addColumn<QString>("speed");
    QTest::newRow("a float would say 52.100410") << QStringList{"5206.0243", "N", "00406.0000", "E", "5.0"} << "5";
    QTest::newRow("a float would be 1.9 m off") << QStringList{"0000.0001", "S", "17959.9999", "W", "-0.0"} << "0";
    QTest::newRow("centimetres") << QStringList{"5206.02431234", "N", "00406.12345678", "E", "0.01"} << "0.01";
}

void TestGpsdReply::position()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, speed);
    NavState nav = Received({"GPRMC,123519,A," + fields.join(',').toStdString() + ",084.4,230324,003.1,W"});
    const std::string reply = PositionReply(nav);
    QCOMPARE(ReplyField(reply, 4), ExactDegrees(fields[0], fields[1]));
    QCOMPARE(ReplyField(reply, 5), ExactDegrees(fields[2], fields[3]));
    QCOMPARE(ReplyField(reply, 10), speed.toStdString());
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
