// The character intake (framing, checksum, the InputScreening text) and the sentence rules, fed as
// real lines through the intake so that framing, splitting and dispatch are part of every case.
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"
#include "ReceptionSummary.h"

#include <algorithm>

#include <QTest>

namespace {

constexpr char Rmc[] = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
constexpr char Gga[] = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";

// Feeds text through the intake; what the last line it ended came to.
std::optional<LineResult> Feed(NmeaInput& input, std::string_view text)
{
    std::optional<LineResult> last;
    for (char c : text) {
        if (auto result = input.Intake(c))
            last = result;
    }
    return last;
}

// One sentence, given without "$" and checksum.
LineResult Send(NmeaInput& input, const QString& body)
{
    return *Feed(input, WithNmeaChecksum(body.toStdString()) + "\r\n");
}

QString Replace(QString sentence, int field, const QString& value)
{
    QStringList fields = sentence.split(',');
    fields[field] = value;
    return fields.join(',');
}

// What the sentence table looks at, as "Fix RMC", "Latitude -33.515", "Sky G7/40 C463/0"
// (constellation, number and SNR of each satellite in the published sky), ...
QStringList Stored(const NavState& nav)
{
    const auto n = [](float value) { return QString::number(value, 'g', 7); };
    const auto s = [](const std::string& text) { return QString::fromStdString(text); };
    QStringList sky;
    for (std::size_t i = 0; i < nav.SkyPrn.size(); ++i)
        if (nav.SkyPrn[i] != 0)
            sky << QString("%1%2/%3").arg(QChar(nav.SkySystem[i])).arg(nav.SkyPrn[i]).arg(nav.SkySnr[i]);
    QStringList active;
    for (const std::uint16_t prn : nav.ActivePrn)
        active << QString::number(prn);
    QStringList used;
    for (const SatelliteId& satellite : nav.UsedSatellites)
        if (satellite != SatelliteId{})
            used << QString("%1%2").arg(QChar(satellite.System)).arg(satellite.Prn);
    return {"Fix " + s(nav.FixSource), "Time " + s(nav.UtcTimeText), "Date " + s(nav.UtcDateText),
            "Latitude " + n(nav.Latitude), "Longitude " + n(nav.Longitude), "Speed " + n(nav.Speed),
            "Course " + n(nav.Course), "Variation " + n(nav.MagneticVariation) + s(nav.MagneticVariationDirection),
            "Satellites " + QString::number(nav.SatellitesUsed), "Altitude " + n(nav.Altitude) + s(nav.AltitudeUnit),
            "Geoid " + n(nav.GeoidSeparation) + s(nav.GeoidUnit),
            QString("DOP %1/%2/%3").arg(n(nav.Pdop), n(nav.Hdop), n(nav.Vdop)),
            QString("Mode %1 ").arg(nav.FixMode) + active.join(','), "Used " + used.join(' '),
            QString("VTG %1 %2 %3 %4").arg(n(nav.VtgCourseTrue), n(nav.VtgCourseMagnetic), n(nav.VtgSpeedKnots),
                                           n(nav.VtgSpeedKmh)),
            QString("ZDA %1-%2-%3 %4:%5").arg(nav.ZdaYear).arg(nav.ZdaMonth).arg(nav.ZdaDay).arg(nav.ZdaZoneHours)
                .arg(nav.ZdaZoneMinutes),
            "Sky " + sky.join(' ')};
}

} // namespace

class TestInterpreter : public QObject {
    Q_OBJECT

private slots:
    void checksum()
    {
        const struct {
            const char* Line;
            bool Error;
            const char* Remaining;
        } lines[] = {
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3B", false, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3b", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},   // lower-case digits
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3C", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*2B", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3Bxyz", false, "$GPTXT,01,01,02,ANTSTATUS=OK"}, // the rest ignored
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},      // one digit
            {"$GPGLL,4916.45,N,12311.12,W,225444,A", true, "$GPGLL,4916.45,N,12311.12,W,225444,A"}, // no star
            {"GPTXT,01*3B", true, "GPTXT,01*3B"},
            {"", true, ""},
            {"$*00", false, "$"},
            {"$A*41", false, "$A"},   // a single-digit sum keeps its zero
        };
        for (const auto& line : lines) {
            std::string_view sentence = line.Line;
            QCOMPARE(NMEAChecksumError(sentence), line.Error);
            QCOMPARE(sentence, std::string_view(line.Remaining));
        }
    }

    void intakeEndsLinesAtCarriageReturnsAndDropsWhatItCannotTake()
    {
        NavState nav;
        NmeaInput input(nav);
        // LF is dropped and CR ends a line; an empty line is shown too, and fails (no "$").
        const auto result = Feed(input, "$\n\r");
        QVERIFY(result && !result->ChecksumValid);
        const auto empty = input.Intake('\r');
        QVERIFY(empty && !empty->ChecksumValid);
        QCOMPARE(input.Screening().Text(), std::string("$\r\n\r\n"));

        // A valid sentence padded past the limit: it must not be interpreted, and memory stays put.
        QVERIFY(!Feed(input, WithNmeaChecksum(Rmc + std::string(2 * NmeaInput::SentenceBufferLimit, ','))));
        QCOMPARE(input.SentenceBuffer().size(), NmeaInput::SentenceBufferLimit);
        const auto dropped = input.Intake('\r');
        QVERIFY(dropped && !dropped->ChecksumValid && !dropped->Recognised && !nav.FixValid);
        QCOMPARE(input.Screening().Text().size(), InputScreening::MaxChars);

        // Recognised and the valid line follow the last line.
        const struct {
            std::string Line;
            bool Valid, Recognised;
        } lines[] = {{WithNmeaChecksum("GPTXT,01,01,02,ANTSTATUS=OK"), true, true},
                     {"$GPTXT,01,01,02,ANTSTATUS=OK*3b", false, false},
                     {WithNmeaChecksum("GPXTE,A,A,0.67,L,N"), true, false},
                     {WithNmeaChecksum("GPRMC,,V,,,,,,,,,,N"), true, true},
                     {WithNmeaChecksum(Rmc), true, true}};
        for (const auto& line : lines) {
            Feed(input, line.Line + "\r\n");
            QCOMPARE(input.SentenceRecognised(), line.Recognised);
            QCOMPARE(input.ValidLine(), line.Valid ? std::string_view(line.Line) : std::string_view());
        }
        QVERIFY(nav.FixValid);
    }

    void screeningKeepsFiveLinesAndAtMostItsLimit()
    {
        // Long lines push the older ones out before the size limit cuts anything: exactly at the
        // limit both lines stay, one character more and the older one goes.
        InputScreening screen;
        screen.Show(std::string(500, 'a'));
        screen.Show(std::string(520, 'b'));
        QCOMPARE(screen.Text(), std::string(500, 'a') + "\r\n" + std::string(520, 'b') + "\r\n");
        screen.Show("");
        QCOMPARE(screen.Text(), std::string(520, 'b') + "\r\n\r\n");
        // A line cut short by the limit is ended before the next one, which is then shown: the box
        // never stops showing what arrives.
        screen.Show(std::string(1100, 'x'));
        QCOMPARE(screen.Text(), std::string(1024, 'x'));
        screen.Show("$GPTXT,01,01,02,ANTSTATUS=OK*3B");
        QCOMPARE(screen.Text(), std::string("$GPTXT,01,01,02,ANTSTATUS=OK*3B\r\n"));
        // Short lines that fit are kept as five, the sixth line feed from the end cutting the text.
        for (int i = 0; i < 6; ++i)
            screen.Show("$GPGSV");
        QCOMPARE(screen.Text(), std::string("$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n"));
    }

    void sentences_data()
    {
        QTest::addColumn<QString>("sentence");
        // What the sentences (separated by " | ") stored, as Stored() writes it, over an epoch of
        // GPS 7 and 8 and GLONASS 65 used, a fix at 10 S 20 W and a sky of GPS 7 and 8. Listed
        // first when the last sentence is a fix: "Fix ...". Empty: it changed nothing; "-": not
        // even recognised. "Result" is what the last sentence told the epoch: its time of day in
        // ms, the fix status, and the values it carried (see sentences()).
        QTest::addColumn<QString>("stored");
        const auto row = [](const QString& name, const QString& sentence, const QString& stored = {}) {
            QTest::newRow(qPrintable(name)) << sentence << stored;
        };
        row("RMC example", Rmc, "Fix RMC, Time 123519, Date 230394, Latitude 48.07038, Longitude 11.31, Speed 22.4, "
                                "Course 84.4, Variation 3.1W, Result 45319000 0 PCSV");
        row("GGA example", Gga, "Fix GGA, Time 123519, Latitude 48.07038, Longitude 11.31, Satellites 8, "
                                "DOP 1/0.9/1, Altitude 545.4M, Geoid 46.9M, Speed 1.5, Result 45319000 1 PAGh");
        row("GLL time kept whole", "GPGLL,4916.45,N,12311.12,W,120000.25,A",
            "Fix GLL, Time 120000.25, Latitude 49.1645, Longitude -123.1112, Result 43200250 0 P");
        row("GLL in RTK float", "GPGLL,4916.45,N,12311.12,W,120000.00,A,F", "Fix GLL, Result 43200000 4 P");
        for (const auto& [mode, status] : {std::pair{"D", "2"}, {"P", "2"}, {"R", "3"}, {"E", "5"}})
            row(QString("RMC mode %1").arg(mode), Rmc + QString(",") + mode, QString("Fix RMC, Result 45319000 %1 PCSV").arg(status));
        row("RMC variation without its side", Replace(Rmc, 11, ""), "Fix RMC, Result 45319000 0 PCS");
        row("RMC without speed and course", Replace(Replace(Rmc, 7, ""), 8, ""), "Fix RMC, Result 45319000 0 PV");
        for (const auto& [quality, status] : {std::pair{"2", "2"}, {"3", "9"}, {"4", "3"}, {"5", "4"}})
            row(QString("GGA quality %1").arg(quality), Replace(Gga, 6, quality),
                QString("Fix GGA, Result 45319000 %1 PAGh").arg(status));
        row("GGA altitude and separation in feet", Replace(Replace(Gga, 10, "f"), 12, "F"),
            "Fix GGA, Altitude 545.4f, Geoid 46.9F, Result 45319000 1 Ph");
        row("GGA without a latitude's side and HDOP", Replace(Replace(Gga, 3, ""), 8, ""),
            "Fix GGA, Latitude -10, Longitude 11.31, Result 45319000 1 AG");
        for (const char* quality : {"0", "", "6", "8"})
            row(QString("GGA quality '%1'").arg(quality), Replace(Gga, 6, quality));
        for (const auto& [mode, stored] : {std::pair{"3", "Mode 3"}, {"2", "Mode 2"}, {"", "Mode 1"}, {"4", "Mode 1"}})
            row(QString("GSA mode '%1'").arg(mode), QString("GPGSA,A,%1,04,05,,09,12,,,24,,,,,2.5,1.3,2.1").arg(mode),
                QString("%1 4,5,0,9,12,0,0,24,0,0,0,0, DOP 2.5/1.3/2.1, Used G4 G5 G9 G12 G24, Result -1 0 hvpM")
                    .arg(stored));
        // The GSA sentences of one epoch name the satellites used of every constellation.
        row("GSA with system IDs",
            "GNGSA,A,3,29,20,51,,,,,,,,,,0.99,0.54,0.83,1 | GNGSA,A,3,82,73,,,,,,,,,,,0.99,0.54,0.83,2 | "
            "GNGSA,A,3,03,05,,,,,,,,,,,0.99,0.54,0.83,3 | GNGSA,A,3,32,28,,,,,,,,,,,0.99,0.54,0.83,4 | "
            "GNGSA,A,3,02,,,,,,,,,,,,0.99,0.54,0.83,5 | GNGSA,A,3,04,,,,,,,,,,,,0.99,0.54,0.83,6",
            "Used G29 G20 S51 R82 R73 E3 E5 C32 C28 J2 I4, Mode 3 4,0,0,0,0,0,0,0,0,0,0,0");
        row("GSA, system from the numbers",
            "GNGSA,A,3,01,11,,,,,,,,,,,1.56,0.91,1.27 | GNGSA,A,3,67,83,301,336,401,463,,,,,,,1.56,0.91,1.27",
            "Used G1 G11 R67 R83 E301 E336 C401 C463");
        row("GSA, one talker each",
            "GPGSA,A,3,01,11,,,,,,,,,,,1.56,0.91,1.27 | GAGSA,A,3,01,12,01,,,,,,,,,,1.56,0.91,1.27",
            "Used G1 G11 E1 E12");
        // VTG never feeds the course and speed that the displays and GPSD show.
        row("VTG", "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", "VTG 54.7 34.4 5.5 10.2, Speed 1.5, Course 271");
        row("VTG values without their unit", "GPVTG,100,t,200,,300,n,400,k");
        row("ZDA sets time and date without a fix", "GPZDA,201530.00,04,07,2002,-05,30",
            "Time 201530, ZDA 2002-7-4 -5:30, Result 72930000 0 ");
        row("RMC time cut to six", Replace(Rmc, 1, "120000.00"), "Fix RMC, Time 120000");
        row("GGA time cut to six", Replace(Gga, 1, "235959.999"), "Fix GGA, Time 235959, Result 86399999 1 PAGh");
        row("GGA leap second", Replace(Gga, 1, "235960"), "Fix GGA, Result 86400000 1 PAGh");
        // A time that is not a time of day leaves the fix without one for its epoch.
        for (const char* time : {"240000", "236000", "235961", "1200", "120000:5", "120000.5x"})
            row(QString("GGA time %1").arg(time), Replace(Gga, 1, time), "Fix GGA, Result -1 1 PAGh");
        row("hemispheres n e", "GPRMC,120000,A,3351.5,n,15112.0,e,0,0,051226,,", "Fix RMC, Latitude 33.515");
        row("hemispheres s w", "GPRMC,120000,A,3351.5,s,15112.0,w,0,0,051226,,", "Fix RMC, Longitude -151.12");
        row("unknown hemisphere keeps the coordinate", "GPRMC,130000,A,5213.400,,00453.210,X,5.0,90.0,051226,,",
            "Fix RMC, Latitude -10, Longitude -20, Time 130000, Speed 5");
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
        row("latitude 90", Replace(Replace(Rmc, 3, "9000.000"), 4, "S"), "Fix RMC, Latitude -90");
        row("minutes 60", Replace(Rmc, 3, "4760.000"));
        row("latitude with exponent", Replace(Rmc, 3, "5.2e3"));
        row("latitude with a sign", Replace(Rmc, 3, "-4807.038"));
        row("longitude beyond 180", Replace(Rmc, 5, "18000.001"));
        row("longitude 180", Replace(Rmc, 5, "18000.000"), "Fix RMC, Longitude 180");
        row("negative speed", Replace(Rmc, 7, "-5.5"));
        row("speed beyond 1000 knots", Replace(Rmc, 7, "1000.1"));
        row("speed 1000 knots", Replace(Rmc, 7, "1000"), "Fix RMC, Speed 1000");
        row("negative course", Replace(Rmc, 8, "-720"));
        row("course 99999.9", Replace(Rmc, 8, "99999.9"));
        row("course 360", Replace(Rmc, 8, "360.0"), "Fix RMC, Course 360");
        row("VTG speed beyond 1852 km/h", "GPVTG,054.7,T,034.4,M,005.5,N,1852.1,K");
        row("ZDA two-digit year", "GPZDA,105246.40,12,03,19,00,00", "ZDA 2019-3-12 0:0");
        row("ZDA year 1980", "GPZDA,105246.40,12,03,1980,00,00", "ZDA 1980-3-12 0:0");
        row("ZDA year 2200", "GPZDA,105246.40,12,03,2200,00,00", "ZDA 2200-3-12 0:0");
        row("ZDA year 1979", "GPZDA,105246.40,12,03,1979,00,00");
        row("ZDA year 2201", "GPZDA,105246.40,12,03,2201,00,00");
        row("ZDA month 13", "GPZDA,105246.40,12,13,2024,00,00");
        row("ZDA day 0", "GPZDA,105246.40,00,03,2024,00,00");
        row("ZDA day 32", "GPZDA,105246.40,32,03,2024,00,00");
        row("ZDA without a day", "GPZDA,105246.40,,03,2024,00,00");
        row("ZDA without a month", "GPZDA,105246.40,12,,2024,00,00");
        row("ZDA without a year", "GPZDA,105246.40,12,03,,00,00");
        row("ZDA without a date", "GPZDA,105246.40,,,,00,00", "Time 105246, ZDA 0-0-0 0:0");
        row("GSA satellite beyond 463", "GPGSA,A,3,464,05,,09,12,,,24,,,,,2.5,1.3,2.1");
        row("GSA negative mode", "GPGSA,A,-1,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
        row("GSV message 0", "GPGSV,1,0,04,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43");
        row("GSV slot beyond 32", "GPGSV,8,8,33,01,10,010,40,02,20,020,41,03,30,030,42,04,40,040,43,05,1,1,1");
        row("GSV message number with exponent", "GPGSV,1,1e0,01,01,10,010,40");
        // A satellite that cannot be true is left out; the rest of its message counts.
        row("GSV satellite beyond 463", "GPGSV,1,1,02,07,10,010,40,464,20,020,41", "Sky G7/40");
        row("GSV negative satellite", "GPGSV,1,1,02,-1,10,010,40,08,20,020,41", "Sky G8/41");
        row("GSV elevation beyond 90", "GPGSV,1,1,02,07,91,010,40,08,20,020,41", "Sky G8/41");
        row("GSV azimuth 360", "GPGSV,1,1,02,07,10,360,40,08,20,-1,41", "Sky ");
        row("GSV SNR 100", "GPGSV,1,1,02,07,10,010,100,08,20,020,41", "Sky G8/41");
        row("GSV values at their bounds", "GPGSV,1,1,02,07,-90,359,99,463,90,0,0", "Sky G7/99 C463/0");
        row("text", "GPTXT,01,01,02,ANTSTATUS=OK");
        // Every satellite talker reads like GPS.
        row("GN talker", QString(Rmc).replace("GP", "GN"), "Fix RMC, Latitude 48.07038, Speed 22.4");
        row("GL talker", QString(Gga).replace("GP", "GL"), "Fix GGA, Satellites 8, Altitude 545.4M");
        row("GA talker", "GAGLL,4916.45,N,12311.12,W,225444,A", "Fix GLL, Latitude 49.1645");
        row("GB talker", "GBVTG,054.7,T,034.4,M,005.5,N,010.2,K", "VTG 54.7 34.4 5.5 10.2");
        row("BD talker", "BDZDA,201530.00,04,07,2002,-05,30", "ZDA 2002-7-4 -5:30");
        row("GQ talker", "GQGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1", "Mode 3 4,5,0,9,12,0,0,24,0,0,0,0");
        row("GI talker", "GITXT,01,01,02,ANTSTATUS=OK");
        row("lower-case type", QString(Rmc).replace("RMC", "rmc"), "-");
        row("instrument talker", QString(Rmc).replace("GP", "II"), "-");
        row("longer type", QString(Rmc).replace("RMC", "RMCX"), "-");
        row("heading", "GPHDT,274.07,T", "-");
        row("proprietary", "PGRME,15.0,M,45.0,M,25.0,M", "-");
        row("proprietary named like a fix", QString(Rmc).replace("GPRMC", "PGRMC"), "-");
    }

    void sentences()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, stored);
        NavState nav;
        NmeaInput input(nav);
        for (const char* line : {"GNGSA,A,3,07,08,,,,,,,,,,,1.0,1.0,1.0,1", "GNGSA,A,3,07,65,,,,,,,,,,,1.0,1.0,1.0,2",
                                 "GPRMC,235959,A,1000.000,S,02000.000,W,1.5,271.0,311225,,",
                                 "GPGSV,1,1,02,07,10,010,40,08,20,020,41"})
            Send(input, line);
        const NavState before = nav;
        LineResult result;
        for (const QString& line : sentence.split(" | "))
            result = Send(input, line);
        QCOMPARE(result.Recognised, stored != "-");
        QCOMPARE(result.FixAccepted, stored.startsWith("Fix "));
        QCOMPARE(result.SkyPublished, stored.startsWith("Sky "));
        QString carried;   // the values the epoch takes from the last sentence
        for (int bit = 0; bit < 10; ++bit)
            if (result.Carried & (1 << bit))
                carried += "PAGCSVhvpM"[bit];
        const QStringList found = Stored(nav) << QString("Result %1 %2 %3").arg(result.TimeOfDayMs)
                                                     .arg(result.FixStatus).arg(carried);
        for (const QString& value : stored.split(", ", Qt::SkipEmptyParts))
            QVERIFY2(value == "-" || found.contains(value), qPrintable(found.join(", ")));
        if (stored.isEmpty() || stored == "-")
            QVERIFY(nav == before);
    }

    void talkersGpOnlyIgnoresTheOthers()
    {
        NavState nav;
        NmeaInput input(nav);
        QVERIFY(!input.Interpreter().TalkersGpOnly());
        input.Interpreter().SetTalkersGpOnly(true);
        QVERIFY(!Send(input, QString(Rmc).replace("GP", "GN")).Recognised);
        QVERIFY(!Send(input, "GLGSV,1,1,01,70,10,010,40").Recognised);
        QVERIFY(nav == NavState{});
        QVERIFY(Send(input, "GPGSV,1,1,01,07,10,010,40").SkyPublished);
        QVERIFY(Send(input, Rmc).FixAccepted);
        input.Interpreter().SetTalkersGpOnly(false);
        QVERIFY(Send(input, "GLGSV,1,1,01,70,10,010,40").SkyPublished);
        QVERIFY(Stored(nav).contains("Sky G7/40 R70/40"));
    }

    void usedSatellitesStayWithinTheirTable()
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
        for (int n = 1; n <= SkySlotCount / 12 + 1; ++n) {
            QString gsa = "GPGSA,A,3,200";
            for (int k = 1; k <= 11; ++k)
                gsa += QString(",%1").arg(n * 12 + 100 + k);
            Send(input, gsa + ",1.0,1.0,1.0");
        }
        QCOMPARE(std::count(nav.UsedSatellites.begin(), nav.UsedSatellites.end(), SatelliteId{}), 0);
        QVERIFY(nav.SatelliteUsed({Gnss::Gps, 1}));
    }

    // What the at-a-glance line knows of the receiver: the quality of its latest cycle with a fix,
    // the age of the last fix, sentences with a valid checksum per second over the last whole
    // seconds, and the satellites used and seen once the receiver has given them.
    void receiverAtAGlance()
    {
        NavState nav;
        NmeaInput input(nav);
        ReceptionSummary summary;
        input.OnEpoch([&summary](const FixEpoch& epoch) { summary.TakeEpoch(epoch); });
        const auto take = [&](std::int64_t ms, const QString& body) {
            if (const auto line = Feed(input, (body.startsWith('$') ? body.toStdString() : WithNmeaChecksum(body.toStdString())) + "\r\n"))
                summary.TakeLine(*line, ms);
        };
        const auto shown = [&](std::int64_t ms) {
            const StationGlance g = summary.Glance(nav, ms);
            const auto text = [](const auto& value) { return value ? QString::number(*value) : QStringLiteral("-"); };
            return QStringList{QString::number(int(g.Quality)), text(g.SatellitesUsed), text(g.SatellitesSeen), text(g.FixAgeSeconds),
                               text(g.SentencesPerSecond)};
        };
        const QString dgps = Replace(Gga, 6, "2");
        QCOMPARE(shown(0), QStringList({"0", "-", "-", "-", "-"}));
        take(100, Rmc);
        take(200, dgps);
        take(300, "$GPRMC,noise*00");
        // Within the first second, what has come; the GGA's count until a GSA says more.
        QCOMPARE(shown(700), QStringList({QString::number(int(FixQuality::Fix2D)), "8", "-", "0.5", "2"}));
        input.EndOfCycle();
        QCOMPARE(shown(900).front(), QString::number(int(FixQuality::Dgps)));
        for (const QString& body : {Replace(Rmc, 1, "123520"), Replace(dgps, 1, "123520"), QString("GPGSA,A,3,04,05,09,12,,,,,,,,,2.5,1.3,2.1"),
                                    QString("GPGSV,1,1,03,04,10,010,40,05,20,020,41,30,5,300,0")})
            take(1100, body);
        input.EndOfCycle();
        QCOMPARE(shown(2500), QStringList({QString::number(int(FixQuality::Dgps)), "4", "3", "1.4", "3"}));
        // The watchdog declared the loss; nothing came for seconds.
        nav.FixValid = false;
        QCOMPARE(shown(9000), QStringList({"0", "4", "3", "7.9", "0"}));
        take(9100, Rmc);
        QCOMPARE(shown(10'000).back(), QString("0.2"));
    }
};

QTEST_APPLESS_MAIN(TestInterpreter)
#include "tst_interpreter.moc"
