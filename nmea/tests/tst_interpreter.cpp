// The sentence rules, fed as real lines through the intake so that framing, splitting and
// dispatch are part of every case.
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"
#include "SentenceInterpreter.h"

#include <algorithm>

#include <QTest>

namespace {

constexpr char Rmc[] = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
constexpr char Gga[] = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";

// Feeds one sentence (given without "$" and checksum) through the intake.
LineResult Send(NmeaInput& input, const QString& body)
{
    std::optional<LineResult> result;
    for (char c : WithNmeaChecksum(body.toStdString()) + "\r\n") {
        if (auto r = input.Intake(c))
            result = r;
    }
    return *result;
}

// The same through a fresh intake bound to nav: enough for every sentence but GSV, whose groups
// the intake collects across sentences.
LineResult Send(NavState& nav, const QString& body)
{
    NmeaInput input(nav);
    return Send(input, body);
}

QString Replace(QString sentence, int field, const QString& value)
{
    QStringList fields = sentence.split(',');
    fields[field] = value;
    return fields.join(',');
}

// What the table of sentence outcomes looks at, as "Latitude -33.515", "Fix RMC", "Sky G7/40 C463/0"
// (constellation, number and SNR of each satellite in the published sky), ...
QStringList Stored(const NavState& nav)
{
    const auto number = [](float value) { return QString::number(value, 'g', 7); };
    QStringList sky;
    for (std::size_t i = 0; i < nav.SkyPrn.size(); ++i)
        if (nav.SkyPrn[i] != 0)
            sky << QString("%1%2/%3").arg(QChar(nav.SkySystem[i])).arg(nav.SkyPrn[i]).arg(nav.SkySnr[i]);
    return {"Fix " + QString::fromStdString(nav.FixSource), "Time " + QString::fromStdString(nav.UtcTimeText),
            "Latitude " + number(nav.Latitude), "Longitude " + number(nav.Longitude), "Speed " + number(nav.Speed),
            "Course " + number(nav.Course), "ZdaYear " + QString::number(nav.ZdaYear), "Sky " + sky.join(' ')};
}

} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT

private slots:
    void rmcExample();
    void ggaExample();
    void gsaModes_data();
    void gsaModes();
    void gsvGroupIsPublishedWhole();
    void gsvGroupLosingItsFirstMessageMerges();
    void gsvGroupLosingItsLastMessageIsNotPublished();
    void vtgTakesOnlyValuesWithTheirUnit();
    void zdaSetsTimeAndDateWithoutAFix();
    void otherTalkersAndTypesAreIgnored();
    void everyGnssTalkerReadsLikeGps_data();
    void everyGnssTalkerReadsLikeGps();
    void talkersGpOnlyIgnoresTheOthers();
    void usedSatellitesOfEveryConstellation_data();
    void usedSatellitesOfEveryConstellation();
    void usedSatellitesStayWithinTheirTable();
    void sentenceOutcomes_data();
    void sentenceOutcomes();
};

void TestInterpreter::rmcExample()
{
    NavState nav;
    const LineResult result = Send(nav, Rmc);
    QVERIFY(result.Recognised && result.FixAccepted && !result.SkyPublished);
    QCOMPARE(nav.FixSource, std::string("RMC"));
    QCOMPARE(nav.UtcTimeText, std::string("123519"));
    QCOMPARE(nav.Latitude, 48.07038f);
    QCOMPARE(nav.Longitude, 11.31f);
    QCOMPARE(nav.Speed, 22.4f);
    QCOMPARE(nav.Course, 84.4f);
    QCOMPARE(nav.UtcDateText, std::string("230394"));
    QCOMPARE(nav.MagneticVariation, 3.1f);
    QVERIFY(nav.FixValid);
}

void TestInterpreter::ggaExample()
{
    NavState nav;
    QVERIFY(Send(nav, Gga).FixAccepted);
    QCOMPARE(nav.FixSource, std::string("GGA"));
    QCOMPARE(nav.SatellitesUsed, std::int16_t(8));
    QCOMPARE(nav.Hdop, 0.9f);
    QCOMPARE(nav.Altitude, 545.4f);
    QCOMPARE(nav.AltitudeUnit, std::string("M"));
    QCOMPARE(nav.GeoidSeparation, 46.9f);
    QCOMPARE(nav.GeoidUnit, std::string("M"));
    QCOMPARE(nav.Latitude, 48.07038f);
    QVERIFY(nav.FixValid);
}

void TestInterpreter::gsaModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("fixMode");
    QTest::newRow("no fix") << "1" << 1;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("unknown 4") << "4" << 1;
    QTest::newRow("2D") << "2" << 2;
    QTest::newRow("3D") << "3" << 3;
}

void TestInterpreter::gsaModes()
{
    QFETCH(QString, mode);
    QFETCH(int, fixMode);
    NavState nav;
    const LineResult result =
        Send(nav, QString("GPGSA,A,%1,04,05,,09,12,,,24,,,,,2.5,1.3,2.1").arg(mode));
    QVERIFY(result.Recognised && !result.FixAccepted);
    QCOMPARE(nav.FixMode, std::int16_t(fixMode));
    QCOMPARE(nav.ActivePrn[0], std::uint16_t(4));
    QCOMPARE(nav.ActivePrn[2], std::uint16_t(0));
    QCOMPARE(nav.ActivePrn[7], std::uint16_t(24));
    QCOMPARE(nav.Pdop, 2.5f);
    QCOMPARE(nav.Hdop, 1.3f);
    QCOMPARE(nav.Vdop, 2.1f);
    QVERIFY(!nav.FixValid);
}

void TestInterpreter::gsvGroupIsPublishedWhole()
{
    NavState nav;
    NmeaInput input(nav);
    // A previous group of 12 satellites fills the published table.
    Send(input, "GPGSV,3,1,12,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    Send(input, "GPGSV,3,2,12,05,10,050,40,06,20,060,41,07,30,070,42,08,40,080,43");
    QVERIFY(Send(input, "GPGSV,3,3,12,09,10,090,40,10,20,100,41,11,30,110,42,12,40,120,43").SkyPublished);
    QCOMPARE(nav.SkyPrn[11], std::uint16_t(12));

    QVERIFY(!Send(input, "GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00").SkyPublished);
    Send(input, "GPGSV,3,2,11,14,25,170,00,16,57,208,39,18,67,296,40,19,40,246,00");
    QCOMPARE(nav.SkyPrn[0], std::uint16_t(1));   // still the previous group
    QCOMPARE(nav.SkyPrn[11], std::uint16_t(12));
    QVERIFY(Send(input, "GPGSV,3,3,11,22,42,067,42,24,14,311,43,27,05,244,00,,,,").SkyPublished);
    QCOMPARE(nav.SkyPrn[0], std::uint16_t(3));
    QCOMPARE(nav.SkyElevation[0], std::int16_t(3));
    QCOMPARE(nav.SkyAzimuth[0], std::int16_t(111));
    QCOMPARE(nav.SkySnr[5], std::uint8_t(39));
    QCOMPARE(nav.SkyPrn[10], std::uint16_t(27));
    for (int slot = 11; slot < SkySlotCount; ++slot)
        QCOMPARE(nav.SkyPrn[static_cast<std::size_t>(slot)], std::uint16_t(0));
    QCOMPARE(nav.SkySystem[10], Gnss::Gps);
    QCOMPARE(nav.SkySystem[11], '\0');
}

void TestInterpreter::gsvGroupLosingItsFirstMessageMerges()
{
    NavState nav;
    NmeaInput input(nav);
    Send(input, "GPGSV,2,1,08,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    Send(input, "GPGSV,2,2,08,05,10,050,40,06,20,060,41,07,30,070,42,08,40,080,43");
    // The next group's first message is lost: its second message lands on the old table.
    QVERIFY(Send(input, "GPGSV,2,2,06,25,10,050,40,26,20,060,41").SkyPublished);
    QCOMPARE(nav.SkyPrn[0], std::uint16_t(1));
    QCOMPARE(nav.SkyPrn[4], std::uint16_t(25));
    QCOMPARE(nav.SkyPrn[6], std::uint16_t(7));
}

void TestInterpreter::gsvGroupLosingItsLastMessageIsNotPublished()
{
    NavState nav;
    NmeaInput input(nav);
    Send(input, "GPGSV,1,1,01,01,10,010,40");
    Send(input, "GPGSV,2,1,05,11,10,050,40,12,20,060,41,13,30,070,42,14,40,080,43");
    QCOMPARE(nav.SkyPrn[0], std::uint16_t(1));
    QCOMPARE(nav.SkyPrn[1], std::uint16_t(0));
    // A group with no satellites publishes an empty sky.
    QVERIFY(Send(input, "GPGSV,1,1,00").SkyPublished);
    QVERIFY(nav.SkyPrn == decltype(nav.SkyPrn){});
}

void TestInterpreter::vtgTakesOnlyValuesWithTheirUnit()
{
    NavState nav;
    QVERIFY(Send(nav, "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K").Recognised);
    QCOMPARE(nav.VtgCourseTrue, 54.7f);
    QCOMPARE(nav.VtgCourseMagnetic, 34.4f);
    QCOMPARE(nav.VtgSpeedKnots, 5.5f);
    QCOMPARE(nav.VtgSpeedKmh, 10.2f);
    Send(nav, "GPVTG,100,t,200,,300,n,400,k");
    QCOMPARE(nav.VtgCourseTrue, 54.7f);
    QCOMPARE(nav.VtgSpeedKmh, 10.2f);
    // VTG never feeds the course and speed that the displays and GPSD show.
    QCOMPARE(nav.Course, 0.0f);
    QCOMPARE(nav.Speed, 0.0f);
}

void TestInterpreter::zdaSetsTimeAndDateWithoutAFix()
{
    NavState nav;
    const LineResult result = Send(nav, "GPZDA,201530.00,04,07,2002,-05,30");
    QVERIFY(result.Recognised && !result.FixAccepted);
    QCOMPARE(nav.UtcTimeText, std::string("201530"));
    QCOMPARE(nav.ZdaDay, std::int16_t(4));
    QCOMPARE(nav.ZdaMonth, std::int16_t(7));
    QCOMPARE(nav.ZdaYear, std::int16_t(2002));
    QCOMPARE(nav.ZdaZoneHours, std::int16_t(-5));
    QCOMPARE(nav.ZdaZoneMinutes, std::int16_t(30));
    QVERIFY(!nav.FixValid);
    Send(nav, Rmc);
    QCOMPARE(nav.ZdaDay, std::int16_t(4));
}

void TestInterpreter::otherTalkersAndTypesAreIgnored()
{
    NavState nav;
    QVERIFY(!Send(nav, "GPrmc,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!Send(nav, "IIRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!Send(nav, "GNRMCX,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!Send(nav, "GPHDT,274.07,T").Recognised);
    QVERIFY(!Send(nav, "PGRME,15.0,M,45.0,M,25.0,M").Recognised);
    QVERIFY(!Send(nav, "PGRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(Send(nav, "GPTXT,01,01,02,ANTSTATUS=OK").Recognised);
    QVERIFY(nav == NavState{});
}

void TestInterpreter::everyGnssTalkerReadsLikeGps_data()
{
    QTest::addColumn<QString>("talker");
    for (const char* talker : {"GN", "GL", "GA", "GB", "BD", "GQ", "GI"})
        QTest::newRow(talker) << QString(talker);
}

void TestInterpreter::everyGnssTalkerReadsLikeGps()
{
    QFETCH(QString, talker);
    const QString bodies[] = {Rmc, Gga, "GPGLL,4916.45,N,12311.12,W,225444,A",
                              "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", "GPZDA,201530.00,04,07,2002,-05,30",
                              "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1", "GPTXT,01,01,02,ANTSTATUS=OK"};
    for (const QString& body : bodies) {
        NavState gps;
        NavState other;
        const LineResult fromGps = Send(gps, body);
        const LineResult fromOther = Send(other, talker + body.mid(2));
        QVERIFY2(fromOther.Recognised && fromOther.FixAccepted == fromGps.FixAccepted, qPrintable(body));
        // Only the constellation of the satellites a GSA names depends on its talker.
        gps.UsedSatellites = other.UsedSatellites = {};
        QVERIFY2(other == gps, qPrintable(body));
    }
}

void TestInterpreter::talkersGpOnlyIgnoresTheOthers()
{
    NavState nav;
    SentenceInterpreter interpreter(nav);
    QVERIFY(!interpreter.TalkersGpOnly());
    interpreter.SetTalkersGpOnly(true);
    const auto interpret = [&interpreter](std::string body) {
        body.insert(0, "$");
        return interpreter.Interpret(SentenceFields(body));
    };
    QVERIFY(!interpret("GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!interpret("GLGSV,1,1,01,70,10,010,40").Recognised);
    QVERIFY(!interpret("GNGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1").Recognised);
    QVERIFY(nav == NavState{});
    QVERIFY(interpret("GPGSV,1,1,01,07,10,010,40").SkyPublished);
    QVERIFY(interpret("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").FixAccepted);
    QCOMPARE(nav.FixSource, std::string("RMC"));
    QCOMPARE(nav.SkyPrn[0], std::uint16_t(7));
    QCOMPARE(nav.SkyPrn[1], std::uint16_t(0));
    interpreter.SetTalkersGpOnly(false);
    QVERIFY(interpret("GLGSV,1,1,01,70,10,010,40").SkyPublished);
    QCOMPARE(nav.SkyPrn[1], std::uint16_t(70));
    QCOMPARE(nav.SkySystem[1], Gnss::Glonass);
}

void TestInterpreter::usedSatellitesOfEveryConstellation_data()
{
    QTest::addColumn<QStringList>("epoch");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QString>("notUsed");
    QTest::addColumn<int>("lastActive");
    QTest::newRow("GPS receiver") << QStringList{"GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"}
                                  << "G4 G5 G9 G12 G24" << "G7 R4" << 4;
    QTest::newRow("NMEA 4.10 system IDs")
        << QStringList{"GNGSA,A,3,29,20,51,,,,,,,,,,0.99,0.54,0.83,1", "GNGSA,A,3,82,73,,,,,,,,,,,0.99,0.54,0.83,2",
                       "GNGSA,A,3,03,05,,,,,,,,,,,0.99,0.54,0.83,3", "GNGSA,A,3,32,28,,,,,,,,,,,0.99,0.54,0.83,4"}
        << "G29 G20 S51 R82 R73 E3 E5 C32 C28" << "G3 G32 E29 R29" << 32;
    QTest::newRow("system from the numbers")
        << QStringList{"GNGSA,A,3,01,11,,,,,,,,,,,1.56,0.91,1.27", "GNGSA,A,3,67,83,,,,,,,,,,,1.56,0.91,1.27"}
        << "G1 G11 R67 R83" << "G67" << 67;
    QTest::newRow("Galileo from 301, BeiDou from 401")
        << QStringList{"GNGSA,A,3,01,301,336,401,463,,,,,,,,1.56,0.91,1.27"} << "G1 E301 E336 C401 C463" << "G301" << 1;
    QTest::newRow("one talker each")
        << QStringList{"GPGSA,A,3,01,11,,,,,,,,,,,1.56,0.91,1.27", "GAGSA,A,3,01,12,,,,,,,,,,,1.56,0.91,1.27"}
        << "G1 G11 E1 E12" << "G12 E11" << 1;
}

void TestInterpreter::usedSatellitesOfEveryConstellation()
{
    QFETCH(QStringList, epoch);
    QFETCH(QString, used);
    QFETCH(QString, notUsed);
    QFETCH(int, lastActive);
    NavState nav;
    NmeaInput input(nav);
    const auto id = [](const QString& text) {
        return SatelliteId{text[0].toLatin1(), static_cast<std::uint16_t>(text.mid(1).toInt())};
    };
    // The previous epoch's satellites give way to those of the next.
    Send(input, "GNGSA,A,3,07,08,,,,,,,,,,,1.0,1.0,1.0,1");
    Send(input, "GNGSA,A,3,29,65,,,,,,,,,,,1.0,1.0,1.0,2");
    Send(input, Gga);
    for (const QString& gsa : epoch)
        Send(input, gsa);
    for (const QString& satellite : used.split(' '))
        QVERIFY2(nav.SatelliteUsed(id(satellite)), qPrintable(satellite));
    for (const QString& satellite : notUsed.split(' ') + QStringList{"G7", "R29", "R65"})
        QVERIFY2(!nav.SatelliteUsed(id(satellite)), qPrintable(satellite));
    QVERIFY(!nav.SatelliteUsed(SatelliteId{}));
    // ActivePrn keeps the last GSA, as the one-constellation receivers always had it.
    QCOMPARE(nav.ActivePrn[0], std::uint16_t(lastActive));
}

void TestInterpreter::usedSatellitesStayWithinTheirTable()
{
    NavState nav;
    NmeaInput input(nav);
    Send(input, Rmc);
    // One run of eight GSAs of two satellites, GPS and GLONASS in turn; a repeat is listed once.
    for (int run = 0; run < 8; ++run)
        Send(input, QString("GNGSA,A,3,%1,%2,,,,,,,,,,,1.0,1.0,1.0,%3")
                        .arg(run * 12 + 1).arg(run * 12 + 2).arg(run % 2 + 1));
    Send(input, "GNGSA,A,3,01,02,,,,,,,,,,,1.0,1.0,1.0,1");
    QVERIFY(nav.SatelliteUsed({Gnss::Gps, 1}));
    QVERIFY(nav.SatelliteUsed({Gnss::Glonass, 86}));
    QCOMPARE(std::count(nav.UsedSatellites.begin(), nav.UsedSatellites.end(), SatelliteId{}), SkySlotCount - 16);
    // A full table takes no more.
    for (int n = 1; n <= SkySlotCount / 12 + 1; ++n)
        Send(input, QString("GPGSA,A,3,%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12,1.0,1.0,1.0")
                        .arg(200).arg(n * 12 + 101).arg(n * 12 + 102).arg(n * 12 + 103).arg(n * 12 + 104)
                        .arg(n * 12 + 105).arg(n * 12 + 106).arg(n * 12 + 107).arg(n * 12 + 108)
                        .arg(n * 12 + 109).arg(n * 12 + 110).arg(n * 12 + 111));
    QCOMPARE(std::count(nav.UsedSatellites.begin(), nav.UsedSatellites.end(), SatelliteId{}), 0);
    QVERIFY(nav.SatelliteUsed({Gnss::Gps, 1}));
}

void TestInterpreter::sentenceOutcomes_data()
{
    QTest::addColumn<QString>("sentence");
    // What the sentence stored, as Stored() writes it, after the RMC example and a sky of GPS 7
    // and 8; empty: it changed nothing.
    QTest::addColumn<QString>("stored");
    const auto row = [](const char* name, const QString& sentence, const QString& stored = {}) {
        QTest::newRow(name) << sentence << stored;
    };
    for (const char* quality : {"1", "2", "4", "5"})
        row(qPrintable(QString("GGA quality %1").arg(quality)), Replace(Gga, 6, quality), "Fix GGA");
    for (const char* quality : {"0", "", "6", "8"})
        row(qPrintable(QString("GGA quality '%1'").arg(quality)), Replace(Gga, 6, quality));
    row("GLL time kept whole", "GPGLL,4916.45,N,12311.12,W,120000.00,A",
        "Fix GLL, Time 120000.00, Latitude 49.1645, Longitude -123.1112");
    row("RMC time cut to six", Replace(Rmc, 1, "120000.00"), "Time 120000");
    row("GGA time cut to six", Replace(Gga, 1, "235959.999"), "Time 235959");
    for (const QString hemispheres : {"N E", "n e", "S W", "s w"}) {
        const QStringList letters = hemispheres.split(' ');
        const QString sign = letters[0].toUpper() == "S" ? "-" : "";
        row(qPrintable("hemispheres " + hemispheres),
            QString("GPRMC,120000,A,3351.5,%1,15112.0,%2,0,0,051226,,").arg(letters[0], letters[1]),
            QString("Latitude %1, Longitude %2").arg(sign + "33.515", sign + "151.12"));
    }
    row("unknown hemisphere keeps the coordinate", "GPRMC,130000,A,5213.400,,00453.210,X,5.0,90.0,051226,,",
        "Latitude 48.07038, Longitude 11.31, Time 130000, Speed 5");
    row("RMC void", Replace(Rmc, 2, "V"));
    row("RMC lower-case a", Replace(Rmc, 2, "a"));
    row("GLL void", "GPGLL,4916.45,N,12311.12,W,225444,V");
    row("GGA too short", "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9");
    row("RMC too short", "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394");
    row("GLL too short", "GPGLL,4916.45,N,12311.12,W,225444");
    row("GSA too short", "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3");
    row("VTG too short", "GPVTG,054.7,T,034.4,M,005.5,N,010.2");
    row("ZDA too short", "GPZDA,201530.00,04,07,2002,00");
    row("GSV too short", "GPGSV,1");
    row("too many fields", QString("GPGSV,1,1,01,01,10,010,40") + QString(80, ','));
    row("GGA satellites beyond 16 bits", Replace(Gga, 7, "40000"));
    row("GGA altitude 1e30", Replace(Gga, 9, "1e30"));
    row("GGA altitude nan", Replace(Gga, 9, "nan"));
    row("GGA latitude in hex", Replace(Gga, 2, "0x1p12"));
    row("GGA longitude 99999", Replace(Gga, 4, "99999"));
    row("RMC without position", "GPRMC,,A,,,,,,,,,,");
    row("GLL without position", "GPGLL,,,,,225444,A");
    row("latitude 9999.999", Replace(Rmc, 3, "9999.999"));
    row("latitude beyond 90", Replace(Rmc, 3, "9000.001"));
    row("latitude 90", Replace(Replace(Rmc, 3, "9000.000"), 4, "S"), "Latitude -90");
    row("minutes 60", Replace(Rmc, 3, "4760.000"));
    row("latitude with exponent", Replace(Rmc, 3, "5.2e3"));
    row("latitude with a sign", Replace(Rmc, 3, "-4807.038"));
    row("longitude beyond 180", Replace(Rmc, 5, "18000.001"));
    row("longitude 180", Replace(Rmc, 5, "18000.000"), "Longitude 180");
    row("negative speed", Replace(Rmc, 7, "-5.5"));
    row("speed beyond 1000 knots", Replace(Rmc, 7, "1000.1"));
    row("speed 1000 knots", Replace(Rmc, 7, "1000"), "Speed 1000");
    row("negative course", Replace(Rmc, 8, "-720"));
    row("course 99999.9", Replace(Rmc, 8, "99999.9"));
    row("course 360", Replace(Rmc, 8, "360.0"), "Course 360");
    row("VTG speed beyond 1852 km/h", "GPVTG,054.7,T,034.4,M,005.5,N,1852.1,K");
    row("ZDA two-digit year", "GPZDA,105246.40,12,03,19,00,00", "ZdaYear 2019");
    row("ZDA year 1980", "GPZDA,105246.40,12,03,1980,00,00", "ZdaYear 1980");
    row("ZDA year 2200", "GPZDA,105246.40,12,03,2200,00,00", "ZdaYear 2200");
    row("ZDA year 1979", "GPZDA,105246.40,12,03,1979,00,00");
    row("ZDA year 2201", "GPZDA,105246.40,12,03,2201,00,00");
    row("ZDA month 13", "GPZDA,105246.40,12,13,2024,00,00");
    row("ZDA day 0", "GPZDA,105246.40,00,03,2024,00,00");
    row("ZDA day 32", "GPZDA,105246.40,32,03,2024,00,00");
    row("ZDA date half empty", "GPZDA,105246.40,12,,2024,00,00");
    row("ZDA without a date", "GPZDA,105246.40,,,,00,00", "Time 105246");
    row("GSA satellite beyond 463", "GPGSA,A,3,464,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    row("GSA negative mode", "GPGSA,A,-1,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    row("GSV message 0", "GPGSV,1,0,04,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    row("GSV message 9", "GPGSV,9,9,33,01,10,010,40");
    row("GSV slot beyond 32", "GPGSV,8,8,33,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43,05,1,1,1");
    row("GSV message number with exponent", "GPGSV,1,1e0,01,01,10,010,40");
    // A satellite that cannot be true is left out; the rest of its message counts.
    row("GSV satellite beyond 463", "GPGSV,1,1,02,07,10,010,40,464,20,020,41", "Sky G7/40");
    row("GSV negative satellite", "GPGSV,1,1,02,-1,10,010,40,08,20,020,41", "Sky G8/41");
    row("GSV elevation beyond 90", "GPGSV,1,1,02,07,91,010,40,08,20,020,41", "Sky G8/41");
    row("GSV azimuth 360", "GPGSV,1,1,02,07,10,360,40,08,20,-1,41", "Sky ");
    row("GSV SNR 100", "GPGSV,1,1,02,07,10,010,100,08,20,020,41", "Sky G8/41");
    row("GSV values at their bounds", "GPGSV,1,1,02,07,-90,359,99,463,90,0,0", "Sky G7/99 C463/0");
}

void TestInterpreter::sentenceOutcomes()
{
    QFETCH(QString, sentence);
    QFETCH(QString, stored);
    NavState nav;
    NmeaInput input(nav);
    Send(input, Rmc);
    Send(input, "GPGSV,1,1,02,07,10,010,40,08,20,020,41");
    const NavState before = nav;
    const LineResult result = Send(input, sentence);
    QVERIFY(result.Recognised);
    for (const QString& value : stored.split(", ", Qt::SkipEmptyParts))
        QVERIFY2(Stored(nav).contains(value), qPrintable(Stored(nav).join(", ")));
    if (stored.isEmpty()) {
        QVERIFY(!result.FixAccepted && !result.SkyPublished);
        QVERIFY(nav == before);
    }
}

QTEST_APPLESS_MAIN(TestInterpreter)
#include "tst_interpreter.moc"
