// The JSON objects, read back with Qt's JSON parser. TPVs come from sentences streamed through a
// real intake, one per receiver cycle as the intake completes them: every field present that the
// cycle carried or that follows from it and the cycle before, and none that does not.
#include "FixEpoch.h"
#include "GpsdObjects.h"
#include "GpsdReports.h"
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"
#include "TpvEstimates.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const std::string Device = "/dev/ttyUSB0";

// The one object of a line that must end with CR LF and hold nothing else.
QJsonObject ObjectOf(const std::string& line)
{
    if (line.size() < 2 || line.substr(line.size() - 2) != "\r\n" || line.find('\n') != line.size() - 1)
        return {};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

struct Streamed {
    NavState Nav;
    QList<QJsonObject> Tpvs;
    QString Modes; // the mode of each TPV, "|" where the receiver fell quiet
};

// The sentence bodies through an intake, then the quiet that ends the last cycle; an empty body
// is a quiet pause.
Streamed Stream(const QStringList& bodies)
{
    Streamed streamed;
    streamed.Nav.SetGpsdPlaceholders();
    NmeaInput input(streamed.Nav);
    TpvHistory history;
    input.OnEpoch([&streamed, &history](const FixEpoch& epoch) {
        std::string line;
        AppendTpv(line, history.Next(epoch, streamed.Nav), streamed.Nav, Device);
        streamed.Tpvs << ObjectOf(line);
        streamed.Modes += QString::number(streamed.Tpvs.last().value("mode").toInt());
    });
    for (const QString& body : bodies + QStringList{""}) {
        if (body.isEmpty()) {
            streamed.Modes += "|";
            input.EndOfCycle();
        }
        for (char c : body.isEmpty() ? std::string() : WithNmeaChecksum(body.toStdString()) + "\r\n")
            input.Intake(c);
    }
    return streamed;
}

QStringList Sorted(QStringList keys)
{
    keys.sort();
    return keys;
}

const QString Rmc = "GPRMC,123519.25,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W,A";
const QString Gga = "GPGGA,123519.25,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const QString Gsa = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
const QString Zda = "GPZDA,123519.25,23,03,2024,00,00";
// The same sentence of a receiver's cycle seconds later.
QString Later(QString body, int seconds = 1)
{
    return body.replace("123519", QString::number(123519 + seconds));
}

} // namespace

class TestGpsdObjects : public QObject {
    Q_OBJECT

private slots:
    void tpvAfterFullCycle();
    void cycles_data();
    void cycles();
    void skyListsPublishedSatellites();
    void pollCarriesTpvAndSky();
    void devicesAndVersion();
};

void TestGpsdObjects::tpvAfterFullCycle()
{
    const Streamed streamed = Stream({Rmc, Gga, Gsa});
    QCOMPARE(streamed.Modes, "|3");
    const QJsonObject tpv = streamed.Tpvs[0];
    QCOMPARE(tpv.value("device").toString(), "/dev/ttyUSB0");
    QCOMPARE(tpv.value("time").toString(), "2024-03-23T12:35:19.250Z");
    QCOMPARE(tpv.value("ept").toDouble(), 0.005);
    QCOMPARE(tpv.value("altHAE").toDouble(), 592.3);
    QCOMPARE(tpv.value("magvar").toDouble(), -3.1); // west
    // The DOPs times gpsd's range errors, 19 m and 23 m for a fix without corrections.
    QCOMPARE(tpv.value("eph").toDouble(), 24.7);
    QCOMPARE(tpv.value("epv").toDouble(), 48.3);
    QCOMPARE(tpv.value("sep").toDouble(), 47.5); // PDOP times 19 m
    QCOMPARE(tpv.value("magtrack").toDouble(), 87.5); // 3.1 degrees west of true
    // One satellite overhead and three on the horizon 120 degrees apart: east and north DOPs of
    // sqrt(2/3), times gpsd's 15 m horizontal range error; a clock DOP of sqrt(1/3) and a
    // geometric one of sqrt(3).
    const QString gsa = "GPGSA,A,3,01,02,03,04,,,,,,,,,2.5,1.3,2.1";
    const QString gsv = "GPGSV,1,1,04,01,90,000,40,02,00,000,40,03,00,120,40,04,00,240,40";
    const Streamed sky = Stream({Rmc, Gga, gsa, gsv, Later(Rmc), gsa, Later(Gga).replace("545.4", "547.9")});
    QCOMPARE(sky.Tpvs[0].value("epx").toDouble(), 12.247);
    QCOMPARE(sky.Tpvs[0].value("epy").toDouble(), 12.247);
    std::string line;
    AppendSky(line, sky.Nav, Device);
    QCOMPARE(ObjectOf(line).value("tdop").toDouble(), 0.58);
    QCOMPARE(ObjectOf(line).value("gdop").toDouble(), 1.73);
    // Over the second after: the horizontal errors of both cycles as the speed's error, their
    // vertical ones as the climb's, and the climb from the two altitudes.
    QCOMPARE(sky.Tpvs[1].value("eps").toDouble(), 24.49);
    QCOMPARE(sky.Tpvs[1].value("epc").toDouble(), 96.6);
    QCOMPARE(sky.Tpvs[1].value("climb").toDouble(), 2.5);
    // A receiver that leaves elevation and azimuth empty puts every satellite in one spot: that
    // geometry gives no DOP at all.
    const Streamed flat = Stream({Rmc, Gga, gsa, "GPGSV,1,1,04,01,,,40,02,,,40,03,,,40,04,,,40"});
    QVERIFY(!flat.Tpvs[0].contains("epx"));
    line.clear();
    AppendSky(line, flat.Nav, Device);
    QCOMPARE(ObjectOf(line).value("uSat").toInt(), 4);
    QVERIFY(!ObjectOf(line).contains("xdop") && !ObjectOf(line).contains("gdop"));
}

void TestGpsdObjects::cycles_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<QString>("modes"); // of each TPV; "|" where the receiver fell quiet
    QTest::addColumn<int>("status");    // of the last TPV
    QTest::addColumn<QStringList>("keys"); // of the last TPV
    const QStringList none{"class", "device", "mode"};
    const QStringList timed = none + QStringList{"time", "ept"};
    const QStringList fix = QStringList{"status", "lat", "lon"};
    const QStringList heights{"altMSL", "alt", "altHAE", "geoidSep"};
    const QStringList motion{"track", "speed", "magvar", "magtrack"};
    QTest::newRow("nothing received") << QStringList{} << "|" << 0 << QStringList{};
    QTest::newRow("GGA alone: 3D, no date") << QStringList{Gga} << "|3" << 1 << none + fix + heights + QStringList{"eph"};
    QTest::newRow("2D by GSA: no heights")
        << QStringList{Rmc, Gga, "GPGSA,A,2,04,05,,09,,,,,,,,,2.5,1.3,2.1"} << "|2" << 1
        << timed + fix + motion + QStringList{"eph", "sep", "geoidSep"};
    QTest::newRow("empty altitude, course and variation")
        << QStringList{"GNRMC,223745.00,A,3806.62964,N,12237.61382,W,0.040,,110720,,,D,V",
                       "GNGGA,223745.00,3806.62964,N,12237.61382,W,2,12,,,M,-29.5,M,,0000"}
        << "|2" << 2 << timed + fix + QStringList{"speed", "geoidSep"};
    QTest::newRow("altitude in feet") << QStringList{"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,1789.4,F,46.9,M,,", Gsa}
                                      << "|3" << 1 << none + fix + QStringList{"geoidSep", "eph", "epv", "sep"};
    QTest::newRow("RTK fixed") << QStringList{"GPGGA,123519,4807.038,N,01131.000,E,4,08,0.9,5.4,M,46.9,M,,"}
                               << "|3" << 3 << none + fix + heights + QStringList{"eph"};
    QTest::newRow("no fix: mode 1 with the time")
        << QStringList{Zda, "GPRMC,123519.25,V,,,,,,,230324,,,N", "GPGGA,123519.25,,,,,0,00,99.99,,,,,,"} << "|1" << 0 << timed;
    QTest::newRow("RMC, GGA and GLL of one time: one TPV")
        << QStringList{Rmc, Gga, Gsa, "GPGLL,4807.038,N,01131.000,E,123519.25,A,A"} << "|3" << 1
        << timed + fix + heights + motion + QStringList{"eph", "epv", "sep"};
    // No climb from a 3D fix to a 2D one, nor to a 3D one without an altitude.
    QTest::newRow("a new time ends the cycle") << QStringList{Rmc, Gga, Later(Rmc)} << "3|2" << 1 << timed + fix + motion;
    QTest::newRow("3D by GSA without an altitude") << QStringList{Rmc, Gga, Gsa, Later(Rmc), Gsa} << "3|3" << 1
                                                   << timed + fix + motion + QStringList{"eph", "epv", "sep", "epc"};
    // The sentence before the time changed, ZDA, is the receiver's last: from then on a cycle is
    // reported the moment its ZDA arrives, and what comes after with the same time is not sent again.
    QTest::newRow("the last sentence of a cycle learned")
        << QStringList{Rmc, Gga, Zda, Later(Rmc), Later(Gga), Later(Zda), Later(Gga)} << "33|" << 1
        << timed + fix + heights + motion + QStringList{"eph", "climb"};
    QTest::newRow("a GSA after the last sentence goes with the next cycle")
        << QStringList{Rmc, Gga, Later(Rmc), Later(Gga), Gsa, "", Later(Rmc, 2), Later(Gga, 2)} << "33|3|" << 1
        << timed + fix + heights + motion + QStringList{"eph", "epv", "sep", "climb"};
    QTest::newRow("no fix sentence, no report") << QStringList{Zda, Gsa} << "|" << 0 << QStringList{};
    QTest::newRow("a fix, then none") << QStringList{Rmc, Later("GPRMC,123519.25,V,,,,,,,230324,,,N")} << "21|" << 0 << timed;
}

void TestGpsdObjects::cycles()
{
    QFETCH(QStringList, sentences);
    QFETCH(QString, modes);
    QFETCH(int, status);
    QFETCH(QStringList, keys);
    const Streamed streamed = Stream(sentences);
    QCOMPARE(streamed.Modes, modes);
    const QJsonObject last = streamed.Tpvs.value(streamed.Tpvs.size() - 1);
    QCOMPARE(Sorted(last.keys()), Sorted(keys));
    QCOMPARE(last.value("status").toInt(), status);
}

void TestGpsdObjects::skyListsPublishedSatellites()
{
    NavState nav;
    nav.SkyPrn[0] = 4;
    nav.SkySystem[0] = Gnss::Gps;
    nav.SkyElevation[0] = 40;
    nav.SkyAzimuth[0] = 83;
    nav.SkySnr[0] = 46;
    nav.SkyPrn[5] = 404; // slots need not be consecutive; BeiDou 4, numbered from 401, is not GPS 4
    nav.SkySystem[5] = Gnss::BeiDou;
    nav.SkyElevation[5] = 7;
    nav.SkyAzimuth[5] = 344;
    nav.SkyPrn[6] = 70; // GLONASS slot 6
    nav.SkySystem[6] = Gnss::Glonass;
    nav.SkyElevation[6] = 20;
    nav.SkyAzimuth[6] = 100;
    nav.UsedSatellites[0] = {Gnss::Gps, 4};
    nav.Hdop = 1.3f;
    std::string lines[2];
    AppendSky(lines[0], nav, Device);
    AppendSky(lines[1], NavState{}, "");
    const QJsonObject sky = ObjectOf(lines[0]);
    QCOMPARE(Sorted(sky.keys()), Sorted({"class", "device", "hdop", "nSat", "uSat", "satellites"}));
    QCOMPARE(sky.value("hdop").toDouble(), 1.3);
    QCOMPARE(sky.value("nSat").toInt(), 3);
    QCOMPARE(sky.value("uSat").toInt(), 1);
    QCOMPARE(QJsonDocument(sky.value("satellites").toArray()).toJson(QJsonDocument::Compact),
             R"([{"PRN":4,"az":83,"el":40,"gnssid":0,"ss":46,"svid":4,"used":true},)"
             R"({"PRN":404,"az":344,"el":7,"gnssid":3,"ss":0,"svid":4,"used":false},)"
             R"({"PRN":70,"az":100,"el":20,"gnssid":6,"ss":0,"svid":6,"used":false}])");
    QCOMPARE(Sorted(ObjectOf(lines[1]).keys()), Sorted({"class", "nSat", "uSat", "satellites"}));
}

void TestGpsdObjects::pollCarriesTpvAndSky()
{
    const Streamed streamed = Stream({Rmc, Gga, Gsa});
    TpvReport latest;
    latest.Epoch.Mode = 3;
    std::string lines[2];
    AppendPoll(lines[0], latest, streamed.Nav, GpsdDevice{Device, 1, true, {}, {}}, 1711197319250);
    AppendPoll(lines[1], latest, streamed.Nav, GpsdDevice{Device, 1, false, {}, {}}, 0);
    const QJsonObject poll = ObjectOf(lines[0]);
    QCOMPARE(poll.value("time").toString(), "2024-03-23T12:35:19.250Z");
    QCOMPARE(poll.value("tpv").toArray()[0].toObject().value("mode").toInt(), 3);
    QCOMPARE(poll.value("sky").toArray()[0].toObject().value("class").toString(), "SKY");
    // The device has gone: nothing to report on.
    QCOMPARE(QJsonDocument(ObjectOf(lines[1])).toJson(QJsonDocument::Compact),
             R"({"active":0,"class":"POLL","sky":[],"time":"1970-01-01T00:00:00.000Z","tpv":[]})");
}

void TestGpsdObjects::devicesAndVersion()
{
    std::string lines[5];
    AppendDevices(lines[0], GpsdDevice{Device, 1711197319000, true, SerialLine{4800, 'E', 2}, 200});
    AppendDevices(lines[1], GpsdDevice{Device, 1711197319000, false, {}, {}});
    AppendDevice(lines[2], GpsdDevice{});
    AppendVersion(lines[3], "devozora 1.2.3");
    AppendDevice(lines[4], GpsdDevice{Device, 1711197319000, true, SerialLine{4800, 'E', 2}, {}});
    const QJsonObject device = ObjectOf(lines[0]).value("devices").toArray()[0].toObject();
    QCOMPARE(device.value("driver").toString(), "NMEA0183");
    QCOMPARE(device.value("flags").toInt(), 1); // a GPS has been seen on it
    QCOMPARE(device.value("activated").toString(), "2024-03-23T12:35:19.000Z");
    QCOMPARE(QStringList({device.value("bps").toVariant().toString(), device.value("parity").toString(),
                          device.value("stopbits").toVariant().toString(), device.value("cycle").toVariant().toString()}),
             QStringList({"4800", "E", "2", "0.2"}));
    // No line without its cycle, before two cycles have come: gpsprof takes the one for the other.
    QCOMPARE(Sorted(ObjectOf(lines[4]).keys()), Sorted({"class", "path", "driver", "activated", "flags", "native"}));
    QVERIFY(ObjectOf(lines[1]).value("devices").toArray().isEmpty()); // the device has gone
    QCOMPARE(ObjectOf(lines[2]).value("class").toString(), "ERROR");
    const QJsonObject version = ObjectOf(lines[3]);
    // cgps and xgps warn about any release but their own; the revision names the program.
    QCOMPARE(version.value("release").toString(), "3.22");
    QCOMPARE(version.value("rev").toString(), "devozora 1.2.3");
    QCOMPARE(version.value("proto_major").toInt(), 3);
    QCOMPARE(version.value("proto_minor").toInt(), 14);
}

QTEST_GUILESS_MAIN(TestGpsdObjects)
#include "tst_gpsdobjects.moc"
