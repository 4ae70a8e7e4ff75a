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
    int Times = 0;          // times of day in the sentences, each counted once
    int FixCycles = 0;      // the same in fix sentences, with or without a fix
    int ReceiverBack = 0;   // times earlier than the one before
    int Epochs = 0;         // cycles reported
    int EpochsNotLater = 0; // reported with a time not later than the report before
    int Modes[4] = {};      // cycles reported with mode 1 (no fix), 2 (2D) and 3 (3D), at 1 to 3
};

Replay Stream(const QString& path, NavState& nav)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    NmeaInput input(nav);
    Replay replay;
    std::optional<std::int64_t> lastReported;
    input.OnEpoch([&](const FixEpoch& epoch) {
        ++replay.Epochs;
        ++replay.Modes[std::clamp(epoch.Mode, 0, 3)];
        replay.EpochsNotLater += lastReported && epoch.TimeMs && *epoch.TimeMs <= *lastReported;
        lastReported = epoch.TimeMs ? epoch.TimeMs : lastReported;
    });
    std::int32_t lastTime = -1;
    std::int32_t lastFixTime = -1;
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
                const std::int32_t time = result->TimeOfDayMs;
                if (time >= 0 && time != lastTime) {
                    ++replay.Times;
                    replay.ReceiverBack += time < lastTime;
                    lastTime = time;
                }
                if ((result->FixAccepted || result->NoFix) && time >= 0 && time != lastFixTime) {
                    ++replay.FixCycles;
                    lastFixTime = time;
                }
            }
        }
    }
    input.EndOfCycle();
    return replay;
}

} // namespace

class TestRealLogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The captures live in the repository: a missing folder is a broken checkout, not a reason
        // to pass quietly.
        QVERIFY2(!QDir(LogDir()).entryList({"*.log"}, QDir::Files).isEmpty(),
                 qPrintable("no receiver captures at " + LogDir()));
    }

    void everyLogStreamsCleanly_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(LogDir());
        for (const QString& name : dir.entryList({"*.log"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void everyLogStreamsCleanly()
    {
        QFETCH(QString, path);
        NavState nav;
        const Replay replay = Stream(path, nav);
        QVERIFY(replay.Lines > 0);
        // A fix always names the sentence it came from.
        QCOMPARE(nav.FixValid, !nav.FixSource.empty());
        // Every cycle with a fix sentence reported, none twice, and its time goes back only where
        // the receiver's did.
        QVERIFY(replay.Epochs >= replay.FixCycles && replay.Epochs <= replay.Times + 1);
        QVERIFY(replay.EpochsNotLater <= replay.ReceiverBack);
    }

    void lastFix_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("time");
        QTest::addColumn<float>("latitude");
        QTest::addColumn<float>("longitude");
        // Satellites in the sky of each constellation, GPS SBAS GLONASS Galileo BeiDou, as the last
        // complete group of each talker in the capture lists them.
        QTest::addColumn<QString>("systems");
        QTest::addColumn<QString>("modes");   // cycles reported without a fix, in 2D and in 3D
        // Values read from the last lines of each capture.
        QTest::newRow("navika, GLL last, then ZDA")
            << "navika-100-fix.log" << "GLL" << "223310" << 37.5792655f << -122.3194546f << "12 0 0 0 0" << "0 0 20";
        QTest::newRow("mt3339, differential GGA, RMC last")
            << "mt3339.log" << "RMC" << "202709" << 44.041297f << -121.188513f << "11 1 0 0 0" << "0 0 30";
        QTest::newRow("garmin 25LP, whole-second times")
            << "garmin25lp.log" << "GGA" << "120335" << 42.213898f << 13.220780f << "9 0 0 0 0" << "10 9 1";
        QTest::newRow("bt451, RMC with fraction")
            << "bt451.log" << "RMC" << "143308" << 55.4681633f << 23.3470079f << "10 0 0 0 0" << "0 2 13";
        // Receivers of several constellations: the fix comes from the combined talker GN.
        QTest::newRow("NEO-M9N, GNGLL then GNZDA, four constellations and SBAS in GPGSV")
            << "ublox-neo-m9n-nmea.log" << "GLL" << "223845" << 38.0663006f << -122.3761538f << "13 3 10 10 7"
            << "0 0 61";
        QTest::newRow("NEO-M8N, GNGGA last")
            << "neo-m8n.log" << "GGA" << "171948" << 44.0413902f << -121.1885371f << "13 0 10 0 0" << "0 1 23";
        QTest::newRow("BU-353 GLONASS, GNRMC fix, GPGGA without one, GPZDA last")
            << "bu353-glonass.log" << "RMC" << "081429" << 55.411973f << 37.372934f << "12 0 10 0 0" << "10 0 9";
    }

    void lastFix()
    {
        QFETCH(QString, log);
        QFETCH(QString, source);
        QFETCH(QString, time);
        QFETCH(float, latitude);
        QFETCH(float, longitude);
        QFETCH(QString, systems);
        QFETCH(QString, modes);
        NavState nav;
        const Replay replay = Stream(QDir(LogDir()).filePath(log), nav);
        QCOMPARE(QString("%1 %2 %3").arg(replay.Modes[1]).arg(replay.Modes[2]).arg(replay.Modes[3]), modes);
        QVERIFY(nav.FixValid);
        QCOMPARE(QString::fromStdString(nav.FixSource), source);
        QCOMPARE(QString::fromStdString(nav.UtcTimeText), time);
        QCOMPARE(nav.Latitude, latitude);
        QCOMPARE(nav.Longitude, longitude);
        QStringList counts;
        qsizetype total = 0;
        for (const char system : {Gnss::Gps, Gnss::Sbas, Gnss::Glonass, Gnss::Galileo, Gnss::BeiDou}) {
            total += std::count(nav.SkySystem.begin(), nav.SkySystem.end(), system);
            counts << QString::number(std::count(nav.SkySystem.begin(), nav.SkySystem.end(), system));
        }
        QCOMPARE(counts.join(' '), systems);
        QCOMPARE(std::count_if(nav.SkyPrn.begin(), nav.SkyPrn.end(), [](auto prn) { return prn != 0; }), total);
    }

    void multiGnssSatellitesKeepTheirOwnValues()
    {
        // The M9N's last groups list PRN 5 as GPS (GPGSV) and as Galileo (GAGSV), and 27 three times:
        // each keeps its own values, and only the one the GSA epoch names is used.
        NavState nav;
        Stream(QDir(LogDir()).filePath("ublox-neo-m9n-nmea.log"), nav);
        const auto find = [&nav](char system, int prn) {
            for (std::size_t i = 0; i < nav.SkyPrn.size(); ++i)
                if (nav.SkySystem[i] == system && nav.SkyPrn[i] == prn)
                    return QString("%1 %2 %3").arg(nav.SkyElevation[i]).arg(nav.SkyAzimuth[i]).arg(nav.SkySnr[i]);
            return QString("missing");
        };
        QCOMPARE(find(Gnss::Gps, 5), QString("0 47 0"));
        QCOMPARE(find(Gnss::Galileo, 5), QString("42 71 41"));
        QCOMPARE(find(Gnss::BeiDou, 27), QString("78 59 43"));
        for (const SatelliteId used : {SatelliteId{Gnss::Gps, 29}, SatelliteId{Gnss::Sbas, 51},
                                       SatelliteId{Gnss::Glonass, 82}, SatelliteId{Gnss::Galileo, 5},
                                       SatelliteId{Gnss::BeiDou, 33}})
            QVERIFY(nav.SatelliteUsed(used));
        QVERIFY(!nav.SatelliteUsed({Gnss::Gps, 5}));
        QVERIFY(!nav.SatelliteUsed({}));
    }

    void badChecksumsAndLowerCaseDigitsAreRefused()
    {
        // firefly-II: every GGA has a wrong checksum, so no fix ever comes from GGA; hp58534a sends
        // no checksums at all, and nothing of it is recognised.
        NavState firefly;
        const Replay fireflyReplay = Stream(QDir(LogDir()).filePath("firefly-II.log"), firefly);
        QVERIFY(fireflyReplay.Recognised < fireflyReplay.Lines && firefly.FixSource == "RMC");
        NavState hp;
        QCOMPARE(Stream(QDir(LogDir()).filePath("hp58534a.log"), hp).Recognised, 0);
        QVERIFY(hp == NavState{});
    }
};

QTEST_GUILESS_MAIN(TestRealLogs)
#include "tst_reallogs.moc"
