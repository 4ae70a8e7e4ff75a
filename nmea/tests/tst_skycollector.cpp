// The sky of every constellation: GSV groups collected per talker and signal and published as
// one table.
#include "NavState.h"
#include "SentenceFields.h"
#include "SentenceInterpreter.h"

#include <QTest>

#include <algorithm>

namespace {

SkyCollector::Clock::time_point TestTime;

SkyCollector::Clock::time_point TestClock()
{
    return TestTime;
}

// A receiver's GSV groups straight into the interpreter (framing and checksums are tested
// elsewhere), on a clock that the test moves on.
class Receiver {
public:
    static void Wait(int seconds) { TestTime += std::chrono::seconds(seconds); }

    // Sends a group of satellites "PRN/SNR" (elevation and azimuth follow from the PRN) as GSV
    // messages of four, with an optional NMEA 4.10 signal; returns whether the sky was published.
    bool Group(const QString& talker, const QStringList& satellites, const QString& signal = {},
               int stopBefore = 0)
    {
        const auto messages = static_cast<int>(std::max<qsizetype>(1, (satellites.size() + 3) / 4));
        bool published = false;
        for (int m = 1; m <= messages && m != stopBefore; ++m) {
            QString body = QString("%1GSV,%2,%3,%4").arg(talker).arg(messages).arg(m).arg(satellites.size());
            for (const QString& satellite : satellites.mid((m - 1) * 4, 4)) {
                const int prn = satellite.section('/', 0, 0).toInt();
                body += QString(",%1,%2,%3,%4")
                            .arg(prn).arg(prn % 90).arg(prn * 7 % 360).arg(satellite.section('/', 1));
            }
            if (!signal.isEmpty())
                body += "," + signal;
            published = Send(body);
        }
        return published;
    }

    bool Send(const QString& body)
    {
        const std::string sentence = "$" + body.toStdString();
        return Interpreter.Interpret(SentenceFields(sentence)).SkyPublished;
    }

    // The published sky as "letter PRN/SNR" per slot, in slot order, "-" for an empty one, up to
    // the last occupied slot.
    QString Sky() const
    {
        QStringList sky;
        for (std::size_t i = 0; i < Nav.SkyPrn.size(); ++i)
            sky << (Nav.SkyPrn[i] == 0 ? "-"
                                       : QString("%1%2/%3").arg(QChar(Nav.SkySystem[i])).arg(Nav.SkyPrn[i]).arg(Nav.SkySnr[i]));
        while (!sky.isEmpty() && sky.last() == "-")
            sky.removeLast();
        return sky.join(' ');
    }

    NavState Nav;
    SentenceInterpreter Interpreter{Nav, TestClock};
};

// Satellites first to first + count - 1 as "PRN/SNR", at one SNR or (snr < 0) each at its number;
// with a letter: as the sky lists them.
QStringList Satellites(int first, int count, int snr, const QString& letter = {})
{
    QStringList satellites;
    for (int prn = first; prn < first + count; ++prn)
        satellites << QString("%1%2/%3").arg(letter).arg(prn).arg(snr < 0 ? prn : snr);
    return satellites;
}

} // namespace

class TestSkyCollector : public QObject {
    Q_OBJECT

private slots:
    void constellationFromTalkerAndNumber()
    {
        const struct {
            const char* Talker;
            int Prn;
            char System;
        } satellites[] = {
            // The GPS talker's numbering, which older receivers use for everything they track.
            {"GP", 5, 'G'}, {"GP", 32, 'G'}, {"GP", 33, 'S'}, {"GP", 64, 'S'}, {"GP", 65, 'R'}, {"GP", 96, 'R'},
            {"GP", 97, 'G'}, {"GP", 120, 'S'}, {"GP", 158, 'S'}, {"GP", 193, 'J'}, {"GP", 202, 'J'}, {"GP", 301, 'E'},
            {"GN", 336, 'E'}, {"GN", 401, 'C'}, {"GP", 463, 'C'}, {"GN", 70, 'R'}, {"GN", 7, 'G'},
            // The talker of one constellation names it, whatever the number.
            {"GA", 301, 'E'}, {"GB", 437, 'C'}, {"GL", 7, 'R'}, {"GA", 5, 'E'}, {"GB", 23, 'C'}, {"BD", 23, 'C'},
            {"GQ", 2, 'J'}, {"GI", 3, 'I'},
        };
        for (const auto& satellite : satellites) {
            Receiver receiver;
            QVERIFY(receiver.Group(satellite.Talker, {QString("%1/30").arg(satellite.Prn)}));
            QCOMPARE(receiver.Sky(), QString("%1%2/30").arg(satellite.System).arg(satellite.Prn));
        }
    }

    void eachTalkerHasItsOwnGroup()
    {
        Receiver receiver;
        QVERIFY(receiver.Group("GL", {"70/30", "71/31"}));
        QVERIFY(receiver.Group("GA", {"5/40"}));
        QVERIFY(receiver.Group("GP", {"5/20", "7/21", "9/22", "11/23", "13/24"}));
        // Listed in talker order whatever order they came in.
        QCOMPARE(receiver.Sky(), "G5/20 G7/21 G9/22 G11/23 G13/24 R70/30 R71/31 E5/40");
        // The same number of two constellations is two satellites; BeiDou under either talker is one.
        receiver.Group("GP", {"27/10"});
        receiver.Group("GB", {"27/30"});
        receiver.Group("BD", {"27/40"});
        QCOMPARE(receiver.Sky(), "G27/10 R70/30 R71/31 E5/40 C27/40");
    }

    void signalsOfOneSatelliteShowItOnceAtItsStrongest()
    {
        Receiver receiver;
        receiver.Group("GP", {"5/30", "7/40", "9/0"}, "1");
        QVERIFY(receiver.Group("GP", {"5/45", "9/0", "11/20"}, "8"));
        QCOMPARE(receiver.Sky(), "G5/45 G7/40 G9/0 G11/20");
        // Its strongest signal brings its own elevation and azimuth.
        receiver.Send("GPGSV,1,1,01,07,66,123,44,8");
        QCOMPARE(receiver.Sky(), "G5/30 G7/44 G9/0");
        QCOMPARE(receiver.Nav.SkyElevation[1], std::int16_t(66));
        QCOMPARE(receiver.Nav.SkyAzimuth[1], std::int16_t(123));
        // Weaker again on that signal: the other signal's values are the strongest now.
        receiver.Send("GPGSV,1,1,01,07,66,123,10,8");
        QCOMPARE(receiver.Sky(), "G5/30 G7/40 G9/0");
        QCOMPARE(receiver.Nav.SkyElevation[1], std::int16_t(7));
    }

    void groupIsPublishedWhenItsLastMessageCompletesIt()
    {
        Receiver receiver;
        receiver.Group("GP", {"1/30", "2/30"});
        receiver.Group("GL", Satellites(65, 6, 20));
        const NavState before = receiver.Nav;
        // The new GLONASS group loses its last message; the GPS group is complete.
        QVERIFY(!receiver.Group("GL", Satellites(70, 6, 25), {}, 2));
        QVERIFY(receiver.Nav == before);
        QVERIFY(receiver.Group("GP", {"1/31", "2/31"}));
        const QString glonass = Satellites(65, 6, 20, "R").join(' ');
        QCOMPARE(receiver.Sky(), "G1/31 G2/31 " + glonass);
        // A group with no satellites empties only its own part of the sky.
        QVERIFY(receiver.Send("GPGSV,1,1,00"));
        QCOMPARE(receiver.Sky(), glonass);
    }

    void firstMessageEmptiesOnlyItsOwnGroup()
    {
        Receiver receiver;
        receiver.Group("GP", Satellites(1, 7, 30));
        receiver.Group("GL", Satellites(65, 7, 20));
        QVERIFY(receiver.Group("GL", {"80/22"}));
        QCOMPARE(receiver.Sky(), Satellites(1, 7, 30, "G").join(' ') + " R80/22");
        // A group whose first message was lost lands on the previous one, in its places.
        QVERIFY(receiver.Send("GPGSV,2,2,06,25,10,050,40,26,20,060,41"));
        QCOMPARE(receiver.Sky(), "G1/30 G2/30 G3/30 G4/30 G25/40 G26/41 G7/30 R80/22");
    }

    void gpsReceiverKeepsItsPlaces()
    {
        // An empty satellite in the middle of a group keeps the later ones in their places; the
        // places of a larger group before are emptied.
        Receiver receiver;
        receiver.Group("GP", Satellites(1, 12, 30));
        QVERIFY(!receiver.Send("GPGSV,2,1,06,03,03,111,00,,,,,06,01,010,00,13,06,292,00"));
        QVERIFY(receiver.Send("GPGSV,2,2,06,14,25,170,00,16,57,208,39"));
        QCOMPARE(receiver.Sky(), "G3/0 - G6/0 G13/0 G14/0 G16/39");
        QCOMPARE(receiver.Nav.SkyAzimuth[5], std::int16_t(208));
        QCOMPARE(receiver.Nav.SkySystem[1], '\0');
    }

    void lossOfReceptionForgetsEveryGroup()
    {
        Receiver receiver;
        receiver.Group("GP", {"1/30", "2/30"});
        receiver.Group("GL", {"70/30"});
        receiver.Group("GA", {"5/30"}, "7");
        receiver.Nav.ClearSky();   // what the reception watchdog does
        QVERIFY(receiver.Group("GL", {"71/33"}));
        QCOMPARE(receiver.Sky(), "R71/33");
        QVERIFY(receiver.Group("GP", {"3/34"}));
        QCOMPARE(receiver.Sky(), "G3/34 R71/33");
    }

    void slowConstellationStaysUntilItFallsSilent()
    {
        // GPS, Galileo and BeiDou in one group, numbered 1-32, 301-336 and 401-437, every second;
        // GLONASS every 5 s.
        Receiver receiver;
        const QStringList gps{"1/40", "301/41", "336/42", "401/43", "437/44"};
        const QString sky = "G1/40 E301/41 E336/42 C401/43 C437/44";
        for (int second = 0; second < 30; ++second, Receiver::Wait(1)) {
            if (second % 5 == 0)
                QVERIFY(receiver.Group("GL", {"65/30", "96/31"}));
            QVERIFY(receiver.Group("GP", gps));
            QCOMPARE(receiver.Sky(), sky + " R65/30 R96/31");
        }
        // GLONASS falls silent after its report at second 25, and leaves once that is too long ago.
        for (int second = 30; second < 45; ++second, Receiver::Wait(1)) {
            receiver.Group("GP", gps);
            QCOMPARE(receiver.Sky(), second - 25 <= SkyCollector::StaleAfter.count() ? sky + " R65/30 R96/31" : sky);
        }
        QVERIFY(receiver.Group("GL", {"70/33"}));
        QCOMPARE(receiver.Sky(), sky + " R70/33");
    }

    void moreThanTheTableHoldsKeepsTheStrongest()
    {
        Receiver receiver;
        receiver.Group("GP", Satellites(1, 32, -1));     // GPS 1 to 32 with SNR 1 to 32
        receiver.Group("GL", Satellites(65, 24, 40));
        QVERIFY(receiver.Group("GA", Satellites(1, 12, 35)));
        // The four weakest GPS satellites gave way to the last four Galileo satellites, in their places.
        QCOMPARE(receiver.Sky(), (Satellites(9, 4, 35, "E") + Satellites(5, 28, -1, "G") + Satellites(65, 24, 40, "R")
                                  + Satellites(1, 8, 35, "E")).join(' '));
    }

    void manySourcesStayBounded()
    {
        // Four talkers on every signal, more sources than are kept at a time: the newest stay.
        Receiver receiver;
        for (const char* talker : {"GP", "GL", "GA", "GB"})
            for (const QChar signal : QString("123456789ABCDEF"))
                receiver.Group(talker, {QString("%1/30").arg(talker == QString("GL") ? 70 : 5)}, signal);
        QCOMPARE(receiver.Sky(), "E5/30 C5/30");
        QVERIFY(receiver.Group("GA", {"6/31"}, "1"));
        QCOMPARE(receiver.Sky(), "E6/31 C5/30");
    }
};

QTEST_APPLESS_MAIN(TestSkyCollector)
#include "tst_skycollector.moc"
