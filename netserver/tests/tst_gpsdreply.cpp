// The GPSD replies built from NavState: the position report, its time field and the commands.
#include "GpsdReply.h"
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QTest>

namespace {

// NavState as the program has it after start-up and the given sentence bodies.
NavState Received(std::initializer_list<std::string_view> bodies)
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaInput input(nav);
    for (std::string_view body : bodies) {
        for (char c : WithNmeaChecksum(std::string(body)) + "\r\n")
            input.Intake(c);
    }
    return nav;
}

const std::string_view Gga = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string_view Gsa = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
const std::string_view Rmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W";
const std::string ExampleReply =
    "GPSD,O=RMC 1711197319 0.005 48.117302 11.516667 545.40 ? ? 84.4 22.4 ? ? ? ? 3\r\n";

// The n-th space-separated value after "GPSD,O=" (1 is the tag).
std::string ReplyField(const std::string& reply, int n)
{
    const QStringList values =
        QString::fromStdString(reply).mid(7).trimmed().split(QLatin1Char(' '));
    return values.value(n - 1).toStdString();
}

std::string Answers(std::string_view received, NavState& nav)
{
    std::string replies;
    for (char c : received)
        replies += GpsdAnswer(c, nav);
    return replies;
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
    void commands_data();
    void commands();
    void newerDateWins();
};

void TestGpsdReply::workedExample()
{
    NavState nav = Received({Gga, Gsa, Rmc});
    QCOMPARE(PositionReply(nav), ExampleReply);
    QCOMPARE(nav.FixUnixTime, qint64(1711197319));
    QCOMPARE(nav.AltitudeText, std::string("545.40"));
}

void TestGpsdReply::fixTime_data()
{
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<int>("zdaDay");
    QTest::addColumn<int>("zdaMonth");
    QTest::addColumn<int>("zdaYear");
    QTest::addColumn<QString>("field");
    QTest::addColumn<qint64>("stored");

    QTest::newRow("RMC date") << "123519" << "230324" << 0 << 0 << 0 << "1711197319" << qint64(1711197319);
    QTest::newRow("ZDA date wins") << "201530" << "230324" << 4 << 7 << 2024 << "1720124130" << qint64(1720124130);
    QTest::newRow("ZDA needs all three") << "123519" << "230324" << 4 << 7 << 0 << "1711197319" << qint64(1711197319);
    QTest::newRow("ZDA that cannot be true") << "123519" << "230324" << 4 << 13 << 2024 << "1711197319" << qint64(1711197319);
    QTest::newRow("GLL time with fraction") << "123519.00" << "230324" << 0 << 0 << 0 << "1711197319" << qint64(1711197319);
    QTest::newRow("second 60 rolls on") << "235960" << "310124" << 0 << 0 << 0 << "1706745600" << qint64(1706745600);
    QTest::newRow("past 2038") << "000000" << "" << 1 << 1 << 2040 << "2208988800" << qint64(2208988800);
    QTest::newRow("last year that can be true") << "235959" << "" << 31 << 12 << 2200 << "7289654399" << qint64(7289654399);
    QTest::newRow("no date yet") << "123519" << "" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("RMC day 0") << "123519" << "000324" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("RMC day 32") << "123519" << "320124" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("RMC month 13") << "123519" << "011324" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("date too short") << "123519" << "2303" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("date not digits") << "123519" << "23-324" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("time too short") << "1235" << "230324" << 0 << 0 << 0 << "?" << qint64(0);
    QTest::newRow("no time") << "" << "" << 4 << 7 << 2024 << "?" << qint64(0);
}

void TestGpsdReply::fixTime()
{
    QFETCH(QString, timeText);
    QFETCH(QString, dateText);
    QFETCH(int, zdaDay);
    QFETCH(int, zdaMonth);
    QFETCH(int, zdaYear);
    QFETCH(QString, field);
    QFETCH(qint64, stored);
    NavState nav = Received({Gga, Gsa, Rmc});
    nav.FixUnixTime = 12345; // a stale value must not survive an unknown time
    nav.UtcTimeText = timeText.toStdString();
    nav.UtcDateText = dateText.toStdString();
    nav.ZdaDay = static_cast<std::int16_t>(zdaDay);
    nav.ZdaMonth = static_cast<std::int16_t>(zdaMonth);
    nav.ZdaYear = static_cast<std::int16_t>(zdaYear);
    nav.RmcDateIsNewer = false; // as after a ZDA
    const std::string reply = PositionReply(nav);
    QCOMPARE(ReplyField(reply, 2), field.toStdString());
    QCOMPARE(qint64(nav.FixUnixTime), stored);
    // The rest of the reply is untouched by the time.
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
    NavState nav = Received({Gga, Gsa, Rmc});
    nav.AltitudeUnit = unit.toStdString();
    const std::string reply = PositionReply(nav);
    QCOMPARE(ReplyField(reply, 6), text.toStdString());
    QCOMPARE(nav.AltitudeText, text.toStdString());
}

void TestGpsdReply::commands_data()
{
    const QString level = QString::fromLatin1(GpsdLevelReply.data(), GpsdLevelReply.size());
    const QString position = QString::fromStdString(ExampleReply);
    QTest::addColumn<bool>("fix");
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("replies");
    QTest::newRow("O CR LF") << true << "O\r\n" << position;
    QTest::newRow("?POLL;") << true << "?POLL;" << position + level + level;
    QTest::newRow("every o answered in order") << true << "olo" << position + level + position;
    QTest::newRow("no fix") << false << "o" << "GPSD,O=?";
    QTest::newRow("level without fix") << false << "Ll" << level + level;
    QTest::newRow("others ignored") << true << "xyz?;\r\n\x01 " << "";
}

void TestGpsdReply::commands()
{
    QFETCH(bool, fix);
    QFETCH(QString, received);
    QFETCH(QString, replies);
    NavState nav = Received({Gga, Gsa, Rmc});
    nav.FixValid = fix;
    QCOMPARE(Answers(received.toStdString(), nav), replies.toStdString());
}

void TestGpsdReply::newerDateWins()
{
    // An RMC after a ZDA brings the newer date; the next ZDA takes over again.
    NavState nav = Received({Gga, Gsa, "GPZDA,201530.00,01,07,2024,00,00", Rmc});
    QCOMPARE(ReplyField(PositionReply(nav), 2), std::to_string(1711197319));
    nav = Received({Gga, Gsa, Rmc, "GPZDA,123519.00,01,07,2024,00,00"});
    QCOMPARE(ReplyField(PositionReply(nav), 2), std::to_string(1719837319));
}

QTEST_APPLESS_MAIN(TestGpsdReply)
#include "tst_gpsdreply.moc"
