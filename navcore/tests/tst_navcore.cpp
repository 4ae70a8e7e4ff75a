// The helpers of the navigation core: numbers from and to text, degrees, colours, rounding, the
// sun, and the signals that end the program.
#include "AutoBrightness.h"
#include "BrightnessColour.h"
#include "Coordinates.h"
#include "NavState.h"
#include "NumberText.h"
#include "Rounding.h"
#include "SolarPosition.h"
#include "StationGlance.h"
#include "TerminationSignals.h"

#include <QDateTime>
#include <QLocale>
#include <QTest>

#include <charconv>
#include <clocale>
#include <csignal>
#include <cmath>
#include <limits>
#include <locale>


namespace {

double Seconds(const char* isoUtc)
{
    return static_cast<double>(QDateTime::fromString(QString::fromLatin1(isoUtc) + u'Z', Qt::ISODate).toSecsSinceEpoch());
}

} // namespace

class TestNavCore : public QObject {
    Q_OBJECT

private slots:
    void numberFields()
    {
        const float refused = std::nanf("");
        const struct {
            std::string Text;
            std::int16_t Divisor;
            double Leading;  // LeadingNumber
            float Nmea;      // NmeaNumber; NaN: refused
        } fields[] = {
            {"", -100, 0.0, 0.0f},
            {"4807.038", 100, 4807.038, 48.07038f},
            {"5130.1234", -100, 5130.1234, 5130.1234f / -100.0f},   // divided in single precision
            {"008", 0, 8.0, 8.0f},
            {"-12.5", 0, -12.5, -12.5f},
            {"+3", 0, 3.0, 3.0f},
            {".5", 0, 0.5, 0.5f},
            {"7.", 0, 7.0, 7.0f},
            {"  1 2.5 ", 0, 12.5, refused},
            {"12.5M", 0, 12.5, refused},
            {"1.2.3", 0, 1.2, refused},
            {"5.2e3", 100, 5.2, refused},
            {"0x1p12", 100, 0.0, refused},
            {"abc", 0, 0.0, refused},
            {"-", 0, 0.0, refused},
            {"+-5", 0, 0.0, refused},
            {"nan", 0, 0.0, refused},
            {"inf", 0, 0.0, refused},
            {"3,5", 0, 3.0, refused},   // a comma is not a point
            {std::string(45, '9'), 0, 1e45, refused},
            {std::string(400, '9'), 0, std::numeric_limits<double>::infinity(), refused},
            {"0." + std::string(400, '0') + "1", 0, 0.0, refused},
        };
        for (const auto& field : fields) {
            QCOMPARE(LeadingNumber(field.Text), field.Leading);
            const std::optional<float> value = NmeaNumber(field.Text, field.Divisor);
            QVERIFY2(value.has_value() == !std::isnan(field.Nmea), field.Text.c_str());
            if (value)
                QCOMPARE(*value, field.Nmea);
        }
        // Numbers as receivers write them, the point anywhere: to the last bit what from_chars
        // reads, however the number is read.
        for (std::int64_t digits = 1; digits < 1'000'000'000'000'000; digits = digits * 7 + 3) {
            const std::string whole = std::to_string(digits);
            for (std::size_t point = 0; point <= whole.size(); ++point) {
                const std::string text = "-" + whole.substr(0, point) + "." + whole.substr(point);
                double expected = 0;
                std::from_chars(text.data(), text.data() + text.size(), expected, std::chars_format::fixed);
                QVERIFY2(PlainDecimal(text) == expected, text.c_str());
            }
        }
    }

    void formatFixed()
    {
        const struct {
            double Value;
            int Decimals, IntDigits;
            const char* Text;
        } numbers[] = {
            {4.5321f, 5, 3, "004.53210"},
            {123.5f, 6, 1, "123.500000"},   // the integer count is a minimum
            {-4.25f, 2, 1, "-4.25"},
            {0.125f, 2, 1, "0.13"},         // halves away from zero
            {-0.125f, 2, 1, "-0.13"},
            {9.96f, 1, 1, "10.0"},          // the carry runs through the nines
            {0.35f, 1, 1, "0.3"},           // the float is below its half
            {0.15f, 1, 1, "0.2"},           // and above it
            {0.0f, 1, 1, "0.0"},
            {-0.0000001f, 6, 1, "0.000000"},   // a tiny negative has no sign
            {48.1173019f, 6, 1, "48.117302"},
            {52.100405, 6, 1, "52.100405"},        // a double keeps what a float loses (52.100410)
            {2.5f, 0, 0, "3"},              // no decimals and at least one digit
            {1.5f, -1, 1, "2"},
            {std::numeric_limits<float>::infinity(), 2, 1, "?"},
        };
        for (const auto& number : numbers)
            QCOMPARE(FormatFixed(number.Value, number.Decimals, number.IntDigits), std::string(number.Text));
        QCOMPARE(FormatFixed(-1e300, 2).substr(0, 8) + ' ' + std::to_string(FormatFixed(-1e300, 2).size()),
                 "-1000000 305"); // all 301 digits of a huge double
        const std::pair<float, const char*> general[] = {
            {22.4f, "22.4"}, {0.0f, "0"}, {0.005f, "0.005"}, {359.9999f, "359.9999"}, {1.23456789f, "1.234568"},
            {12.0f, "12"},   {std::nanf(""), "?"}, {-0.0f, "0"},
        };
        for (const auto& [value, text] : general)
            QCOMPARE(FormatGeneral(value), std::string(text));
    }

    void decimalCommaLocaleChangesNothing()
    {
        const char* chosen = nullptr;
        for (const char* name : {"de_DE.UTF-8", "nl_NL.UTF-8", "fr_FR.UTF-8", "de_DE", "nl_NL"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                chosen = name;
                break;
            }
        }
        if (chosen == nullptr)
            QSKIP("no locale with a decimal comma is installed (Debian: locales-all)");
        QCOMPARE(std::localeconv()->decimal_point[0], ',');
        std::locale::global(std::locale(chosen));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

        QCOMPARE(LeadingNumber("4807.038"), 4807.038);
        QCOMPARE(NmeaNumber("4807.038", 100).value_or(0), 48.07038f);
        QCOMPARE(FormatFixed(0.1f), std::string("0.100000"));
        QCOMPARE(FormatFixed(-4.25f, 2), std::string("-4.25"));
        QCOMPARE(FormatGeneral(22.4f), std::string("22.4"));

        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
        QLocale::setDefault(QLocale::c());
    }
    void degMin2Deg()
    {
        for (const auto& [degMin, degrees] : {std::pair{0.0, 0.0}, {-0.3, -0.5}, {48.07038, 48.1173},
                                              {-33.515, -33.858333333}, {151.12, 151.2}})
            QVERIFY2(std::abs(DegreesFromDegreesMinutes(degMin) - degrees) < 1e-9, qPrintable(QString::number(degMin)));
    }

    void scaleColor()
    {
        const struct {
            int Colour;
            const char* Mode;
            int Scaled;
            int Red;   // in the red night palette
        } colours[] = {
            {0xFFFFFF, "Daylight", 0xFFFFFF, 255},
            {0xFFFFFF, "Shade", 0xBFBFBF, 191},   // 191.25 rounds down
            {0xFFFFFF, "Dusk", 0x808080, 128},    // 127.5 to even
            {0xFFFFFF, "Night", 0x404040, 64},    // 63.75 up
            {0x00FF00, "Dusk", 0x008000, 128},
            {Rgb(255, 0, 0), "Night", Rgb(64, 0, 0), 64},   // the channels stay apart
            {Rgb(0, 0, 128), "Night", Rgb(0, 0, 32), 32},
            {0xFFFFFF, "night", 0, 0},            // a mode in other letters, or none, is black
            {0xFFFFFF, "", 0, 0},
        };
        for (const auto& colour : colours) {
            QCOMPARE(ScaleColour(colour.Colour, colour.Mode), colour.Scaled);
            QCOMPARE(RedOnly(colour.Scaled), colour.Red);
        }
    }

    // Sunrise, solar noon with the sun's elevation, and sunset, UTC, from NOAA's solar calculator
    // equations iterated at the moment of each event, which a full planetary theory (VSOP87) matches to
    // 2 s and 0.002 degrees. The elevation is the true one, without refraction; sunrise and sunset are
    // where the sun's centre is at -0.833 degrees.
    void solarElevation()
    {
        const struct {
            const char* Place;
            double Latitude, Longitude;
            const char *Sunrise, *Noon;
            double Elevation;
            const char* Sunset;
        } days[] = {
            {"equator, March equinox", 0, 0, "2026-03-20T06:04:10", "2026-03-20T12:07:25", 89.959, "2026-03-20T18:10:41"},
            {"52 N, June solstice", 52, 4, "2026-06-21T03:23:46", "2026-06-21T11:45:49", 61.438, "2026-06-21T20:07:52"},
            {"52 N, December solstice", 52, 4, "2026-12-21T07:49:46", "2026-12-21T11:42:04", 14.563, "2026-12-21T15:34:21"},
            {"60 S, the sun low all day", -60, -45, "2026-06-21T12:05:46", "2026-06-21T15:01:51", 6.562, "2026-06-21T17:57:55"},
            {"date line, a day across midnight UTC", -17, 180, "2026-01-14T17:38:06", "2026-01-15T00:09:13", 85.841, "2026-01-15T06:40:12"},
        };
        for (const auto& day : days) {
            const auto elevation = [&day](double seconds) { return SolarElevation(seconds, day.Latitude, day.Longitude); };
            QVERIFY2(std::abs(elevation(Seconds(day.Noon)) - day.Elevation) <= 0.2, day.Place);
            // Within two minutes of sunrise and of sunset the sun crosses -0.833 degrees.
            for (const double event : {Seconds(day.Sunrise), Seconds(day.Sunset)})
                QVERIFY2((elevation(event - 120) < -0.833) != (elevation(event + 120) < -0.833), day.Place);
        }
    }

    // The equator at the March equinox, where the sun goes down a quarter of a degree a minute.
    void autoBrightnessFollowsTheSun()
    {
        const struct {
            const char *Date, *Time;
            bool Fix, Chooses;
            const char* Mode;
        } fixes[] = {
            {"", "120000", true, false, "Daylight"},          // no date yet: no choice
            {"200326", "174300", true, true, "Daylight"},     // +6.1 degrees
            {"200326", "174330", true, false, "Daylight"},    // +6.0: within the minute
            {"200326", "174400", true, true, "Shade"},        // +5.8
            {"200326", "181500", false, false, "Shade"},      // no fix: held
            {"200326", "181500", true, true, "Dusk"},         // -1.9
            {"200326", "183200", true, true, "Night"},        // -6.2
            {"200326", "174400", true, true, "Shade"},        // the clock went back: a replay begins again
        };
        AutoBrightness chooser;
        QCOMPARE(chooser.Mode(), "Daylight");
        NavState nav;
        for (const auto& fix : fixes) {
            nav.UtcDateText = fix.Date;
            nav.UtcTimeText = fix.Time;
            nav.FixValid = fix.Fix;
            QCOMPARE(chooser.Follow(nav), fix.Chooses);
            QCOMPARE(chooser.Mode(), fix.Mode);
        }
        for (const auto& [elevation, mode] : {std::pair{6.0, "Shade"}, {0.0, "Dusk"}, {-6.0, "Dusk"}, {-6.01, "Night"}})
            QCOMPARE(BrightnessForSun(elevation), mode);
    }

    // B dims one level from the one shown (what "Auto" chose, too), Shift+B brightens; neither
    // goes round the end, so a press at night never lights the windows up.
    void brightnessSteps()
    {
        const struct { const char* Shown; int Steps; const char* Chosen; } steps[] = {
            {"Daylight", 1, "Shade"}, {"Shade", 1, "Dusk"}, {"Dusk", 1, "Night"}, {"Night", 1, "Night"},
            {"Night", -1, "Dusk"},    {"Shade", -1, "Daylight"}, {"Daylight", -1, "Daylight"},
            {"Dusk", 3, "Night"},     {"Auto", 1, "Shade"}, // not a level: as "Daylight"
        };
        for (const auto& [shown, by, chosen] : steps)
            QCOMPARE(SteppedBrightness(shown, by), chosen);
    }

    // The words of the at-a-glance lines; what was never told is left out rather than shown as 0.
    void glanceWords()
    {
        const auto server = [](bool enabled, bool listening, int port, int clients) { return ServerGlance{enabled, listening, port, clients}; };
        const struct { StationGlance Glance; const char* Receiver; const char* Servers; } rows[] = {
            {{}, "No fix \u00B7 no fix yet \u00B7 no sentences", "GPSD server off \u00B7 NMEA server off \u00B7 Web page off"},
            {{FixQuality::Fix3D, 9, 12, 0.43, 8.0, server(true, true, 2947, 2), server(true, true, 10110, 1),
              server(true, true, 8947, 1)},
             "3D fix \u00B7 9 of 12 satellites used \u00B7 fix 0.4 s old \u00B7 8 sentences/s",
             "GPSD on port 2947: 2 clients \u00B7 NMEA on port 10110: 1 client \u00B7 Web page on port 8947: 1 page"},
            {{FixQuality::None, 0, 11, 95.0, 0.2, server(true, false, 2947, 0), server(true, true, 10110, 0),
              server(true, true, 8947, 3)},
             "No fix \u00B7 0 of 11 satellites used \u00B7 last fix 95 s ago \u00B7 0.2 sentences/s",
             "GPSD on port 2947: not serving \u00B7 NMEA on port 10110: no clients \u00B7 Web page on port 8947: 3 pages"},
            {{FixQuality::Dgps, 1, {}, 7200.0, 12.4, {}, {}, {}}, "DGPS fix \u00B7 1 satellite used \u00B7 fix 2 h old \u00B7 12 sentences/s", nullptr},
            {{FixQuality::RtkFloat, {}, 1, 600.0, 0.0, {}, {}, {}}, "RTK float \u00B7 1 satellite in view \u00B7 fix 10 min old \u00B7 no sentences", nullptr},
        };
        for (const auto& [glance, receiver, servers] : rows) {
            QCOMPARE(QString::fromStdString(ReceiverGlanceText(glance)), QString::fromUtf8(receiver));
            if (servers)
                QCOMPARE(QString::fromStdString(ServersGlanceText(glance)), QString::fromUtf8(servers));
        }
        // From a receiver cycle's mode and status: the status names what a 3D fix alone does not.
        const struct { int Mode, Status; FixQuality Quality; } qualities[] = {
            {1, 0, FixQuality::None}, {2, 1, FixQuality::Fix2D}, {3, 1, FixQuality::Fix3D}, {3, 9, FixQuality::Fix3D},
            {3, 2, FixQuality::Dgps}, {3, 3, FixQuality::RtkFixed}, {2, 4, FixQuality::RtkFloat}, {3, 5, FixQuality::DeadReckoning}};
        for (const auto& [mode, status, quality] : qualities)
            QCOMPARE(QualityOf(mode, status), quality);
    }

    void ignoredSignalStaysIgnored()
    {
        // "nohup devozora" must outlive its terminal; a signal it may take reaches the pipe.
        std::signal(SIGHUP, SIG_IGN);
        const int pipe = WatchTerminationSignals();
        QVERIFY(pipe >= 0);
        std::raise(SIGHUP);
        std::raise(SIGTERM);
        const ReceivedSignals received = DrainTerminationSignals(pipe);
        QVERIFY(received.End && !received.Hangup);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, SIG_DFL);
    }

    void rounding()
    {
        for (const auto& [value, rounded] : {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {-3.5, -4.0}, {2.6, 3.0}})
            QCOMPARE(RoundHalfEven(value), rounded);
        // What does not fit is refused.
        QCOMPARE(RoundToFit<std::uint8_t>(255.4).value_or(0), std::uint8_t(255));
        QVERIFY(!RoundToFit<std::uint8_t>(255.5).has_value());
        QCOMPARE(RoundToFit<std::uint8_t>(-0.5).value_or(1), std::uint8_t(0));
        QVERIFY(!RoundToFit<std::uint8_t>(-1).has_value());
        QCOMPARE(RoundToFit<std::int16_t>(-32768.4).value_or(0), std::int16_t(-32768));
        QVERIFY(!RoundToFit<std::int16_t>(32767.6).has_value());
        QVERIFY(!RoundToFit<std::int16_t>(std::nan("")).has_value());
        QVERIFY(!RoundToFit<std::int16_t>(HUGE_VAL).has_value());
        QCOMPARE(DivRounded(1500, 100), 15);
        QCOMPARE(DivRounded(-15, 2), -7);   // truncated toward zero
        QCOMPARE(DivRounded(4.5, 1), 4);    // rounded half to even first
        QCOMPARE(DivRounded(5.5, 1), 6);
    }
};

QTEST_APPLESS_MAIN(TestNavCore)
#include "tst_navcore.moc"
