// Captures from real receivers, streamed character by character through the intake as the
// receiver sent them (each line ended with CR LF; comment lines of the capture left out).
#include "NavState.h"
#include "NmeaInput.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QString LogDir()
{
    return QStringLiteral(NMEA_LOG_DIR);
}

struct Replay {
    int Lines = 0;
    int Recognised = 0;
    int Fixes = 0;
};

Replay Stream(const QString& path, NavState& nav)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    NmeaInput input(nav);
    Replay replay;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('#'))
            continue;
        line.append("\r\n");
        for (char c : line) {
            if (const auto result = input.Intake(c)) {
                ++replay.Lines;
                replay.Recognised += result->Recognised;
                replay.Fixes += result->FixAccepted;
                const std::string& shown = input.Screening().Text();
                if (shown.size() > InputScreening::MaxChars
                    || std::count(shown.begin(), shown.end(), '\n') > InputScreening::MaxLines)
                    qFatal("InputScreening grew past its bounds");
            }
        }
    }
    return replay;
}

int SatellitesInSky(const NavState& nav)
{
    return static_cast<int>(std::count_if(nav.SkyPrn.begin(), nav.SkyPrn.end(),
                                          [](std::uint8_t prn) { return prn != 0; }));
}

} // namespace

class TestRealLogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLogStreamsCleanly_data();
    void everyLogStreamsCleanly();
    void lastFix_data();
    void lastFix();
    void badChecksumsAndLowerCaseDigitsAreRefused();
};

void TestRealLogs::initTestCase()
{
    if (!QDir(LogDir()).exists())
        QSKIP(qPrintable("the receiver captures are not at " + LogDir()
                         + " (they come with the project's shared test data)"));
}

void TestRealLogs::everyLogStreamsCleanly_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(LogDir());
    for (const QString& name : dir.entryList({"*.log"}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestRealLogs::everyLogStreamsCleanly()
{
    QFETCH(QString, path);
    NavState nav;
    const Replay replay = Stream(path, nav);
    QVERIFY(replay.Lines > 0);
    QVERIFY(replay.Recognised <= replay.Lines);
    // A fix always names the sentence it came from.
    QCOMPARE(nav.FixValid, !nav.FixSource.empty());
}

void TestRealLogs::lastFix_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("time");
    QTest::addColumn<float>("latitude");
    QTest::addColumn<float>("longitude");
    QTest::addColumn<int>("satellites");
    // Values read from the last lines of each capture.
    QTest::newRow("navika, GLL last, then ZDA")
        << "navika-100-fix.log" << "GLL" << "223310" << 37.5792655f << -122.3194546f << 12;
    QTest::newRow("mt3339, differential GGA, RMC last")
        << "mt3339.log" << "RMC" << "202709" << 44.041297f << -121.188513f << 12;
    QTest::newRow("garmin 25LP, whole-second times")
        << "garmin25lp.log" << "GGA" << "120335" << 42.213898f << 13.220780f << 9;
    QTest::newRow("bt451, RMC with fraction")
        << "bt451.log" << "RMC" << "143308" << 55.4681633f << 23.3470079f << 10;
}

void TestRealLogs::lastFix()
{
    QFETCH(QString, log);
    QFETCH(QString, source);
    QFETCH(QString, time);
    QFETCH(float, latitude);
    QFETCH(float, longitude);
    QFETCH(int, satellites);
    NavState nav;
    Stream(QDir(LogDir()).filePath(log), nav);
    QVERIFY(nav.FixValid);
    QCOMPARE(QString::fromStdString(nav.FixSource), source);
    QCOMPARE(QString::fromStdString(nav.UtcTimeText), time);
    QCOMPARE(nav.Latitude, latitude);
    QCOMPARE(nav.Longitude, longitude);
    QCOMPARE(SatellitesInSky(nav), satellites);
}

void TestRealLogs::badChecksumsAndLowerCaseDigitsAreRefused()
{
    // firefly-II: every GGA has a wrong checksum, so no fix ever comes from GGA.
    NavState firefly;
    const Replay fireflyReplay = Stream(QDir(LogDir()).filePath("firefly-II.log"), firefly);
    QCOMPARE(QString::fromStdString(firefly.FixSource), QString("RMC"));
    QVERIFY(fireflyReplay.Recognised < fireflyReplay.Lines);
    // hp58534a: no checksums at all, nothing is recognised.
    NavState hp;
    QCOMPARE(Stream(QDir(LogDir()).filePath("hp58534a.log"), hp).Recognised, 0);
    QVERIFY(hp == NavState{});
}

QTEST_GUILESS_MAIN(TestRealLogs)
#include "tst_reallogs.moc"
