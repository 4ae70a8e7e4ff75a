// The sentence rules, fed as real lines through the intake so that framing, splitting and
// dispatch are part of every case.
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QTest>

namespace {

constexpr char Rmc[] = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
constexpr char Gga[] = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";

// Feeds one sentence (given without "$" and checksum) through a fresh intake bound to nav.
LineResult Send(NavState& nav, const QString& body)
{
    NmeaInput input(nav);
    std::optional<LineResult> result;
    for (char c : WithNmeaChecksum(body.toStdString()) + "\r\n") {
        if (auto r = input.Intake(c))
            result = r;
    }
    return *result;
}

QString Replace(QString sentence, int field, const QString& value)
{
    QStringList fields = sentence.split(',');
    fields[field] = value;
    return fields.join(',');
}

} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT

private slots:
    void rmcExample();
    void ggaExample();
    void ggaFixQualities_data();
    void ggaFixQualities();
    void statusMustBeUpperCaseA_data();
    void statusMustBeUpperCaseA();
    void timeFieldForms();
    void hemispheres_data();
    void hemispheres();
    void unknownHemisphereKeepsTheCoordinate();
    void gsaModes_data();
    void gsaModes();
    void gsvGroupIsPublishedWhole();
    void gsvGroupLosingItsFirstMessageMerges();
    void gsvGroupLosingItsLastMessageIsNotPublished();
    void vtgTakesOnlyValuesWithTheirUnit();
    void zdaSetsTimeAndDateWithoutAFix();
    void otherTalkersAndTypesAreIgnored();
    void malformedSentencesChangeNothing_data();
    void malformedSentencesChangeNothing();
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

void TestInterpreter::ggaFixQualities_data()
{
    QTest::addColumn<QString>("quality");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("GPS") << "1" << true;
    QTest::newRow("differential") << "2" << true;
    QTest::newRow("RTK fixed") << "4" << true;
    QTest::newRow("RTK float") << "5" << true;
    QTest::newRow("no fix") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dead reckoning") << "6" << false;
    QTest::newRow("simulation") << "8" << false;
}

void TestInterpreter::ggaFixQualities()
{
    QFETCH(QString, quality);
    QFETCH(bool, accepted);
    NavState nav;
    const LineResult result = Send(nav, Replace(Gga, 6, quality));
    QVERIFY(result.Recognised);
    QCOMPARE(result.FixAccepted, accepted);
    QCOMPARE(nav == NavState{}, !accepted);
}

void TestInterpreter::statusMustBeUpperCaseA_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::newRow("RMC void") << Replace(Rmc, 2, "V");
    QTest::newRow("RMC lower-case a") << Replace(Rmc, 2, "a");
    QTest::newRow("GLL void") << QString("GPGLL,4916.45,N,12311.12,W,225444,V");
    QTest::newRow("GLL without status") << QString("GPGLL,4916.45,N,12311.12,W");
}

void TestInterpreter::statusMustBeUpperCaseA()
{
    QFETCH(QString, sentence);
    NavState nav;
    const LineResult result = Send(nav, sentence);
    QVERIFY(result.Recognised);
    QVERIFY(!result.FixAccepted);
    QVERIFY(nav == NavState{});
}

void TestInterpreter::timeFieldForms()
{
    NavState nav;
    QVERIFY(Send(nav, "GPGLL,4916.45,N,12311.12,W,120000.00,A").FixAccepted);
    QCOMPARE(nav.UtcTimeText, std::string("120000.00"));
    QCOMPARE(nav.FixSource, std::string("GLL"));
    QCOMPARE(nav.Latitude, 49.1645f);
    QCOMPARE(nav.Longitude, -123.1112f);
    Send(nav, Replace(Rmc, 1, "120000.00"));
    QCOMPARE(nav.UtcTimeText, std::string("120000"));
    Send(nav, Replace(Gga, 1, "235959.999"));
    QCOMPARE(nav.UtcTimeText, std::string("235959"));
}

void TestInterpreter::hemispheres_data()
{
    QTest::addColumn<QString>("northSouth");
    QTest::addColumn<QString>("eastWest");
    QTest::addColumn<float>("latitude");
    QTest::addColumn<float>("longitude");
    QTest::newRow("N E") << "N" << "E" << 33.515f << 151.12f;
    QTest::newRow("S W") << "S" << "W" << -33.515f << -151.12f;
    QTest::newRow("lower-case s w") << "s" << "w" << -33.515f << -151.12f;
    QTest::newRow("lower-case n e") << "n" << "e" << 33.515f << 151.12f;
}

void TestInterpreter::hemispheres()
{
    QFETCH(QString, northSouth);
    QFETCH(QString, eastWest);
    QFETCH(float, latitude);
    QFETCH(float, longitude);
    NavState nav;
    Send(nav, QString("GPRMC,120000,A,3351.5,%1,15112.0,%2,0,0,051226,,").arg(northSouth, eastWest));
    QCOMPARE(nav.Latitude, latitude);
    QCOMPARE(nav.Longitude, longitude);
}

void TestInterpreter::unknownHemisphereKeepsTheCoordinate()
{
    NavState nav;
    Send(nav, Rmc);
    QVERIFY(Send(nav, "GPRMC,130000,A,5213.400,,00453.210,X,5.0,90.0,051226,,").FixAccepted);
    QCOMPARE(nav.Latitude, 48.07038f);
    QCOMPARE(nav.Longitude, 11.31f);
    QCOMPARE(nav.UtcTimeText, std::string("130000"));
    QCOMPARE(nav.Speed, 5.0f);
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
    QCOMPARE(nav.ActivePrn[0], std::uint8_t(4));
    QCOMPARE(nav.ActivePrn[2], std::uint8_t(0));
    QCOMPARE(nav.ActivePrn[7], std::uint8_t(24));
    QCOMPARE(nav.Pdop, 2.5f);
    QCOMPARE(nav.Hdop, 1.3f);
    QCOMPARE(nav.Vdop, 2.1f);
    QVERIFY(!nav.FixValid);
}

void TestInterpreter::gsvGroupIsPublishedWhole()
{
    NavState nav;
    // A previous group of 12 satellites fills the published table.
    Send(nav, "GPGSV,3,1,12,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    Send(nav, "GPGSV,3,2,12,05,10,050,40,06,20,060,41,07,30,070,42,08,40,080,43");
    QVERIFY(Send(nav, "GPGSV,3,3,12,09,10,090,40,10,20,100,41,11,30,110,42,12,40,120,43").SkyPublished);
    QCOMPARE(nav.SkyPrn[11], std::uint8_t(12));

    QVERIFY(!Send(nav, "GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00").SkyPublished);
    Send(nav, "GPGSV,3,2,11,14,25,170,00,16,57,208,39,18,67,296,40,19,40,246,00");
    QCOMPARE(nav.SkyPrn[0], std::uint8_t(1));   // still the previous group
    QCOMPARE(nav.SkyPrn[11], std::uint8_t(12));
    QVERIFY(Send(nav, "GPGSV,3,3,11,22,42,067,42,24,14,311,43,27,05,244,00,,,,").SkyPublished);
    QCOMPARE(nav.SkyPrn[0], std::uint8_t(3));
    QCOMPARE(nav.SkyElevation[0], std::int16_t(3));
    QCOMPARE(nav.SkyAzimuth[0], std::int16_t(111));
    QCOMPARE(nav.SkySnr[5], std::uint8_t(39));
    QCOMPARE(nav.SkyPrn[10], std::uint8_t(27));
    for (int slot = 11; slot < SkySlotCount; ++slot)
        QCOMPARE(nav.SkyPrn[static_cast<std::size_t>(slot)], std::uint8_t(0));
    QVERIFY(nav.SkyPrn == nav.GsvPrn && nav.SkySnr == nav.GsvSnr);
}

void TestInterpreter::gsvGroupLosingItsFirstMessageMerges()
{
    NavState nav;
    Send(nav, "GPGSV,2,1,08,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    Send(nav, "GPGSV,2,2,08,05,10,050,40,06,20,060,41,07,30,070,42,08,40,080,43");
    // The next group's first message is lost: its second message lands on the old table.
    QVERIFY(Send(nav, "GPGSV,2,2,06,25,10,050,40,26,20,060,41").SkyPublished);
    QCOMPARE(nav.SkyPrn[0], std::uint8_t(1));
    QCOMPARE(nav.SkyPrn[4], std::uint8_t(25));
    QCOMPARE(nav.SkyPrn[6], std::uint8_t(7));
}

void TestInterpreter::gsvGroupLosingItsLastMessageIsNotPublished()
{
    NavState nav;
    Send(nav, "GPGSV,1,1,01,01,10,010,40");
    Send(nav, "GPGSV,2,1,05,11,10,050,40,12,20,060,41,13,30,070,42,14,40,080,43");
    QCOMPARE(nav.SkyPrn[0], std::uint8_t(1));
    QCOMPARE(nav.SkyPrn[1], std::uint8_t(0));
    // A group with no satellites publishes an empty sky.
    QVERIFY(Send(nav, "GPGSV,1,1,00").SkyPublished);
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
    QVERIFY(!Send(nav, "GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!Send(nav, "GPrmc,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W").Recognised);
    QVERIFY(!Send(nav, "GPHDT,274.07,T").Recognised);
    QVERIFY(!Send(nav, "PGRME,15.0,M,45.0,M,25.0,M").Recognised);
    QVERIFY(Send(nav, "GPTXT,01,01,02,ANTSTATUS=OK").Recognised);
    QVERIFY(nav == NavState{});
}

void TestInterpreter::malformedSentencesChangeNothing_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::newRow("GGA too short") << QString("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9");
    QTest::newRow("RMC too short") << QString("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394");
    QTest::newRow("GLL too short") << QString("GPGLL,4916.45,N,12311.12,W,225444");
    QTest::newRow("GSA too short") << QString("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3");
    QTest::newRow("VTG too short") << QString("GPVTG,054.7,T,034.4,M,005.5,N,010.2");
    QTest::newRow("ZDA too short") << QString("GPZDA,201530.00,04,07,2002,00");
    QTest::newRow("GSV too short") << QString("GPGSV,1");
    QTest::newRow("GGA satellites beyond 16 bits") << Replace(Gga, 7, "40000");
    QTest::newRow("GGA huge altitude") << Replace(Gga, 9, QString(60, '9'));
    QTest::newRow("RMC huge latitude") << Replace(Rmc, 3, QString(45, '9'));
    QTest::newRow("RMC huge speed") << Replace(Rmc, 7, QString(45, '9'));
    QTest::newRow("GSA PRN beyond a byte") << QString("GPGSA,A,3,300,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    QTest::newRow("GSA negative mode") << QString("GPGSA,A,-1,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    QTest::newRow("GSV message 0") << QString("GPGSV,1,0,04,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
    QTest::newRow("GSV message 9") << QString("GPGSV,9,9,33,01,10,010,40");
    QTest::newRow("GSV slot beyond 32") << QString("GPGSV,8,8,33,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43,05,1,1,1");
    QTest::newRow("GSV SNR beyond a byte") << QString("GPGSV,1,1,01,01,10,010,400");
    QTest::newRow("GSV negative PRN") << QString("GPGSV,1,1,01,-1,10,010,40");
    QTest::newRow("GSV elevation beyond 16 bits") << QString("GPGSV,1,1,01,01,99999,010,40");
    QTest::newRow("ZDA year beyond 16 bits") << QString("GPZDA,201530.00,04,07,99999,00,00");
    QTest::newRow("VTG huge speed") << QString("GPVTG,054.7,T,034.4,M,%1,N,010.2,K").arg(QString(45, '9'));
    QTest::newRow("too many fields") << QString("GPGSV,1,1,01,01,10,010,40") + QString(80, ',');
}

void TestInterpreter::malformedSentencesChangeNothing()
{
    QFETCH(QString, sentence);
    NavState nav;
    Send(nav, "GPGSV,1,1,02,07,10,010,40,08,20,020,41");
    const NavState before = nav;
    const LineResult result = Send(nav, sentence);
    QVERIFY(result.Recognised);
    QVERIFY(!result.FixAccepted && !result.SkyPublished);
    QVERIFY(nav == before);
}

QTEST_APPLESS_MAIN(TestInterpreter)
#include "tst_interpreter.moc"
