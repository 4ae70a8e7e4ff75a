// The JSON objects built from NavState, read back with Qt's JSON parser: every field present
// that is known, and none that is not.
#include "GpsdObjects.h"
#include "GpsdReports.h"
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const std::string Device = "/dev/ttyUSB0";
const std::string_view Gga = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string_view GgaFeet = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,1789.4,F,46.9,M,,";
const std::string_view GgaNoGeoid = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,";
const std::string_view Gsa3d = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
const std::string_view Gsa2d = "GPGSA,A,2,04,05,,09,,,,,,,,,2.5,1.3,2.1";
const std::string_view Rmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W";
const std::string_view Gll = "GPGLL,4807.038,N,01131.000,E,123520.25,A";

NavState Received(const QStringList& bodies)
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaInput input(nav);
    for (const QString& body : bodies) {
        for (char c : WithNmeaChecksum(body.toStdString()) + "\r\n")
            input.Intake(c);
    }
    return nav;
}

// The one object of a line that must end with CR LF and hold nothing else.
QJsonObject ObjectOf(const std::string& line)
{
    if (line.size() < 2 || line.substr(line.size() - 2) != "\r\n"
        || line.find('\n') != line.size() - 1)
        return {};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

QStringList SortedKeys(const QJsonObject& object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QStringList Sorted(QStringList keys)
{
    keys.sort();
    return keys;
}

QString S(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class TestGpsdObjects : public QObject {
    Q_OBJECT

private slots:
    void tpvAfterFullFix();
    void tpvFields_data();
    void tpvFields();
    void skyListsPublishedSatellites();
    void skyWithoutDops();
    void pollCarriesTpvAndSky();
    void pollWithoutDevice();
    void devicesAndVersion();
    void isoTime_data();
    void isoTime();
};

void TestGpsdObjects::tpvAfterFullFix()
{
    const NavState nav = Received({S(Gga), S(Gsa3d), S(Rmc)});
    std::string line;
    AppendTpv(line, nav, Device);
    const QJsonObject tpv = ObjectOf(line);
    QCOMPARE(tpv.value("class").toString(), "TPV");
    QCOMPARE(tpv.value("device").toString(), "/dev/ttyUSB0");
    QCOMPARE(tpv.value("mode").toInt(), 3);
    QCOMPARE(tpv.value("time").toString(), "2024-03-23T12:35:19.000Z");
    QCOMPARE(tpv.value("ept").toDouble(), 0.005);
    QVERIFY(std::abs(tpv.value("lat").toDouble() - (48 + 7.038 / 60)) < 1e-5); // NavState keeps single precision
    QVERIFY(std::abs(tpv.value("lon").toDouble() - (11 + 31.0 / 60)) < 1e-5); // NavState keeps single precision
    QCOMPARE(tpv.value("altMSL").toDouble(), 545.4);
    QCOMPARE(tpv.value("alt").toDouble(), 545.4);
    QCOMPARE(tpv.value("altHAE").toDouble(), 592.3);
    QCOMPARE(tpv.value("track").toDouble(), 84.4);
    // 22.4 knots in metres per second.
    QVERIFY(std::abs(tpv.value("speed").toDouble() - 22.4 * 1852 / 3600) < 0.001);
}

void TestGpsdObjects::tpvFields_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<bool>("fixLost"); // the watchdog cleared the fix afterwards
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("keys");
    const QStringList always{"class", "device", "mode"};
    const QStringList position = always + QStringList{"status", "lat", "lon"};
    const QStringList heights{"altMSL", "alt", "altHAE", "geoidSep"};
    const QStringList timed = position + QStringList{"time", "ept"};
    QTest::newRow("nothing received") << QStringList{} << false << 1 << always;
    QTest::newRow("GGA without GSA or date") << QStringList{S(Gga)} << false << 2
                                             << position + heights;
    QTest::newRow("no geoid separation") << QStringList{S(GgaNoGeoid)} << false << 2
                                         << position + QStringList{"altMSL", "alt"};
    QTest::newRow("altitude in feet") << QStringList{S(GgaFeet), S(Gsa3d)} << false << 3 << position;
    QTest::newRow("2D by GSA") << QStringList{S(Rmc), S(Gsa2d)} << false << 2
                               << timed + QStringList{"track", "speed"};
    QTest::newRow("everything") << QStringList{S(Gga), S(Gsa3d), S(Rmc)} << false << 3
                                << timed + heights + QStringList{"track", "speed"};
    QTest::newRow("fix lost") << QStringList{S(Gga), S(Gsa3d), S(Rmc)} << true << 1 << always;
}

void TestGpsdObjects::tpvFields()
{
    QFETCH(QStringList, sentences);
    QFETCH(bool, fixLost);
    QFETCH(int, mode);
    QFETCH(QStringList, keys);
    NavState nav = Received(sentences);
    if (fixLost)
        nav.FixValid = false;
    std::string line;
    AppendTpv(line, nav, Device);
    const QJsonObject tpv = ObjectOf(line);
    QCOMPARE(tpv.value("mode").toInt(), mode);
    QCOMPARE(SortedKeys(tpv), Sorted(keys));
}

void TestGpsdObjects::isoTime_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<QString>("time");
    QTest::newRow("RMC date and time") << QStringList{S(Rmc)} << "2024-03-23T12:35:19.000Z";
    QTest::newRow("GLL keeps its fraction") << QStringList{S(Rmc), S(Gll)} << "2024-03-23T12:35:20.250Z";
    QTest::newRow("the newer date wins") << QStringList{S(Rmc), "GPZDA,123519,31,12,2025,00,00"}
                                         << "2025-12-31T12:35:19.000Z";
}

void TestGpsdObjects::isoTime()
{
    QFETCH(QStringList, sentences);
    QFETCH(QString, time);
    std::string line;
    AppendTpv(line, Received(sentences), Device);
    QCOMPARE(ObjectOf(line).value("time").toString(), time);
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
    nav.UsedSatellites[0] = {Gnss::Gps, 4};
    nav.Hdop = 1.3f;
    nav.Vdop = 2.1f;
    nav.Pdop = 2.5f;
    std::string line;
    AppendSky(line, nav, Device);
    const QJsonObject sky = ObjectOf(line);
    QCOMPARE(sky.value("class").toString(), "SKY");
    QCOMPARE(sky.value("device").toString(), "/dev/ttyUSB0");
    QCOMPARE(sky.value("hdop").toDouble(), 1.3);
    QCOMPARE(sky.value("vdop").toDouble(), 2.1);
    QCOMPARE(sky.value("pdop").toDouble(), 2.5);
    const QJsonArray satellites = sky.value("satellites").toArray();
    QCOMPARE(satellites.size(), 2);
    const QJsonObject first = satellites[0].toObject();
    QCOMPARE(SortedKeys(first), Sorted({"PRN", "el", "az", "ss", "used", "gnssid", "svid"}));
    QCOMPARE(first.value("PRN").toInt(), 4);
    QCOMPARE(first.value("gnssid").toInt(), 0);
    QCOMPARE(first.value("svid").toInt(), 4);
    QCOMPARE(first.value("el").toInt(), 40);
    QCOMPARE(first.value("az").toInt(), 83);
    QCOMPARE(first.value("ss").toInt(), 46);
    QCOMPARE(first.value("used").toBool(), true);
    const QJsonObject beidou = satellites[1].toObject();
    QCOMPARE(beidou.value("PRN").toInt(), 404);
    QCOMPARE(beidou.value("gnssid").toInt(), 3);
    QCOMPARE(beidou.value("svid").toInt(), 4);
    QCOMPARE(beidou.value("used").toBool(), false);
}

void TestGpsdObjects::skyWithoutDops()
{
    std::string line;
    AppendSky(line, NavState{}, "");
    const QJsonObject sky = ObjectOf(line);
    QCOMPARE(SortedKeys(sky), Sorted({"class", "satellites"}));
    QVERIFY(sky.value("satellites").toArray().isEmpty());
}

void TestGpsdObjects::pollCarriesTpvAndSky()
{
    const NavState nav = Received({S(Gga), S(Gsa3d), S(Rmc)});
    std::string line;
    AppendPoll(line, nav, GpsdDevice{Device, 0}, 1711197319250);
    const QJsonObject poll = ObjectOf(line);
    QCOMPARE(poll.value("class").toString(), "POLL");
    QCOMPARE(poll.value("time").toString(), "2024-03-23T12:35:19.250Z");
    QCOMPARE(poll.value("active").toInt(), 1);
    QCOMPARE(poll.value("tpv").toArray().size(), 1);
    QCOMPARE(poll.value("tpv").toArray()[0].toObject().value("mode").toInt(), 3);
    QCOMPARE(poll.value("sky").toArray().size(), 1);
    QCOMPARE(poll.value("sky").toArray()[0].toObject().value("class").toString(), "SKY");
}

void TestGpsdObjects::pollWithoutDevice()
{
    std::string line;
    AppendPoll(line, NavState{}, GpsdDevice{}, 0);
    const QJsonObject poll = ObjectOf(line);
    QCOMPARE(poll.value("active").toInt(), 0);
    QVERIFY(poll.value("tpv").toArray().isEmpty());
    QVERIFY(poll.value("sky").toArray().isEmpty());
}

void TestGpsdObjects::devicesAndVersion()
{
    std::string lines[3];
    AppendDevices(lines[0], GpsdDevice{"/dev/tty\"odd\"", 1711197319000});
    AppendDevices(lines[1], GpsdDevice{});
    AppendVersion(lines[2], "1.2.3");
    const QJsonArray devices = ObjectOf(lines[0]).value("devices").toArray();
    QCOMPARE(devices.size(), 1);
    const QJsonObject device = devices[0].toObject();
    QCOMPARE(device.value("class").toString(), "DEVICE");
    QCOMPARE(device.value("path").toString(), "/dev/tty\"odd\"");
    QCOMPARE(device.value("driver").toString(), "NMEA0183");
    QCOMPARE(device.value("activated").toString(), "2024-03-23T12:35:19.000Z");
    QCOMPARE(ObjectOf(lines[1]).value("class").toString(), "DEVICES");
    QVERIFY(ObjectOf(lines[1]).value("devices").toArray().isEmpty());
    const QJsonObject version = ObjectOf(lines[2]);
    QCOMPARE(version.value("class").toString(), "VERSION");
    QCOMPARE(version.value("release").toString(), "1.2.3");
    QCOMPARE(version.value("proto_major").toInt(), 3);
    QCOMPARE(version.value("proto_minor").toInt(), 14);
}

QTEST_GUILESS_MAIN(TestGpsdObjects)
#include "tst_gpsdobjects.moc"
