// The simulated receiver's stream, read back through the program's own NMEA input.
#include "Coordinates.h"
#include "NavState.h"
#include "NmeaInput.h"
#include "ReceiverModel.h"
#include "SentenceBuilder.h"
#include "TrackModel.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t Start = 1'796'990'400'000; // 2026-12-12T12:00:00Z

ReceiverSettings Settings(std::uint32_t seed, FixOutage outage = {})
{
    ReceiverSettings settings;
    settings.Start.Seed = seed;
    settings.StartUtcMs = Start;
    settings.Outage = outage;
    return settings;
}

// What feeding one epoch's sentences (each with CR LF) did.
struct EpochOutcome {
    int Lines = 0;
    int Valid = 0;        // checksum valid and recognised
    bool FixAccepted = false;
    bool SkyPublished = false;
};

EpochOutcome Feed(NmeaInput& input, const std::vector<std::string>& sentences)
{
    EpochOutcome outcome;
    for (const std::string& sentence : sentences) {
        for (char c : sentence + "\r\n") {
            if (const auto result = input.Intake(c)) {
                ++outcome.Lines;
                outcome.Valid += result->ChecksumValid && result->Recognised ? 1 : 0;
                outcome.FixAccepted |= result->FixAccepted;
                outcome.SkyPublished |= result->SkyPublished;
            }
        }
    }
    return outcome;
}

int SkyCount(const NavState& nav)
{
    return static_cast<int>(std::count_if(nav.SkyPrn.begin(), nav.SkyPrn.end(),
                                           [](std::uint16_t prn) { return prn != 0; }));
}

// Great-circle distance in metres between two points in decimal degrees.
double Metres(double lat1, double lon1, double lat2, double lon2)
{
    const double toRadians = M_PI / 180;
    const double dLat = (lat2 - lat1) * toRadians;
    const double dLon = (lon2 - lon1) * toRadians;
    const double a = std::pow(std::sin(dLat / 2), 2)
                     + std::cos(lat1 * toRadians) * std::cos(lat2 * toRadians)
                           * std::pow(std::sin(dLon / 2), 2);
    return 2 * 6'371'000 * std::asin(std::sqrt(a));
}

} // namespace

class TestSimulatedStream : public QObject {
    Q_OBJECT

private slots:
    void everySentenceIsValidAndRecognised_data();
    void everySentenceIsValidAndRecognised();
    void trackMovesPlausiblyWithAFullSky_data();
    void trackMovesPlausiblyWithAFullSky();
    void courseCrossesNorth_data();
    void courseCrossesNorth();
    void droppedFixIsNeverAccepted();
    void sameSeedSameStreamOtherSeedOtherTrack();
};

void TestSimulatedStream::everySentenceIsValidAndRecognised_data()
{
    QTest::addColumn<uint>("seed");
    QTest::addColumn<double>("dropAfter");
    QTest::newRow("seed 1") << 1u << 0.0;
    QTest::newRow("seed 77") << 77u << 0.0;
    QTest::newRow("seed 4242 with outages") << 4242u << 20.0;
}

void TestSimulatedStream::everySentenceIsValidAndRecognised()
{
    QFETCH(uint, seed);
    QFETCH(double, dropAfter);
    ReceiverModel model(Settings(seed, {dropAfter, 15}));
    NavState nav;
    NmeaInput input(nav);
    for (int n = 0; n < 200; ++n) {
        const auto sentences = BuildSentences(model.Current(), {true, n % 30 == 0});
        const EpochOutcome outcome = Feed(input, sentences);
        QCOMPARE(outcome.Lines, static_cast<int>(sentences.size()));
        QCOMPARE(outcome.Valid, outcome.Lines);
        for (const std::string& sentence : sentences)
            QVERIFY2(sentence.size() <= 82, sentence.c_str());
        model.Advance(1000);
    }
}

void TestSimulatedStream::trackMovesPlausiblyWithAFullSky_data()
{
    QTest::addColumn<uint>("seed");
    QTest::addColumn<int>("stepMs");
    QTest::newRow("1 Hz") << 1u << 1000;
    QTest::newRow("5 Hz, other seed") << 9u << 200;
    QTest::newRow("every 10 s, other seed") << 123u << 10000;
}

void TestSimulatedStream::trackMovesPlausiblyWithAFullSky()
{
    QFETCH(uint, seed);
    QFETCH(int, stepMs);
    ReceiverModel model(Settings(seed));
    NavState nav;
    NmeaInput input(nav);
    std::optional<std::pair<double, double>> last;
    for (int n = 0; n < 120; ++n) {
        const EpochOutcome outcome = Feed(input, BuildSentences(model.Current(), {}));
        QVERIFY(outcome.FixAccepted);
        QVERIFY(outcome.SkyPublished);
        QVERIFY(nav.FixValid);
        QVERIFY(SkyCount(nav) >= 8 && SkyCount(nav) <= 14);
        QVERIFY(nav.Speed >= TrackModel::MinSpeedKnots && nav.Speed <= TrackModel::MaxSpeedKnots);
        const double lat = DegMin2Deg(nav.Latitude);
        const double lon = DegMin2Deg(nav.Longitude);
        if (last) {
            const double moved = Metres(last->first, last->second, lat, lon);
            const double mostPossible = TrackModel::MaxSpeedKnots * 1852.0 / 3600 * stepMs / 1000;
            // A float holds ddmm.mmmm / 100 to about a metre.
            QVERIFY2(moved <= mostPossible + 3, qPrintable(QString::number(moved)));
        }
        last = {{lat, lon}};
        model.Advance(stepMs);
    }
    const double sailed = Metres(52.1, 4.1, last->first, last->second);
    const double leastPossible = TrackModel::MinSpeedKnots * 1852.0 / 3600 * 119 * stepMs / 1000;
    // The track bends, but over two minutes of sailing it gets well away from the start.
    QVERIFY2(sailed > leastPossible / 3, qPrintable(QString::number(sailed)));
}

void TestSimulatedStream::courseCrossesNorth_data()
{
    QTest::addColumn<uint>("seed");
    for (uint seed : {1u, 2u, 3u, 1000u, 65535u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestSimulatedStream::courseCrossesNorth()
{
    QFETCH(uint, seed);
    ReceiverModel model(Settings(seed));
    NavState nav;
    NmeaInput input(nav);
    int crossings = 0;
    std::optional<float> lastCourse;
    for (int n = 0; n < static_cast<int>(TrackModel::SwingPeriod); ++n) {
        Feed(input, BuildSentences(model.Current(), {false, false}));
        QVERIFY(nav.Course >= 0 && nav.Course < 360);
        if (lastCourse && std::fabs(nav.Course - *lastCourse) > 180)
            ++crossings;
        lastCourse = nav.Course;
        model.Advance(1000);
    }
    QVERIFY2(crossings >= 1, "the course never crossed north");
}

void TestSimulatedStream::droppedFixIsNeverAccepted()
{
    // Fix for 30 s, none for 20 s, and round again.
    ReceiverModel model(Settings(5, {30, 20}));
    NavState nav;
    NmeaInput input(nav);
    for (int second = 0; second < 120; ++second) {
        const bool expected = second % 50 < 30;
        const EpochOutcome outcome = Feed(input, BuildSentences(model.Current(), {}));
        QVERIFY2(outcome.FixAccepted == expected, qPrintable(QString::number(second)));
        QCOMPARE(outcome.Valid, outcome.Lines);
        if (!expected) {
            QCOMPARE(nav.FixMode, std::int16_t{1});
            QCOMPARE(nav.ActivePrn, (std::array<std::uint16_t, ActivePrnCount>{}));
            QVERIFY(std::all_of(nav.SkySnr.begin(), nav.SkySnr.end(),
                                [](std::uint8_t snr) { return snr == 0; }));
        }
        model.Advance(1000);
    }
}

void TestSimulatedStream::sameSeedSameStreamOtherSeedOtherTrack()
{
    ReceiverModel first(Settings(31));
    ReceiverModel again(Settings(31));
    ReceiverModel other(Settings(32));
    for (int n = 0; n < 60; ++n) {
        first.Advance(1000);
        again.Advance(1000);
        other.Advance(1000);
    }
    QCOMPARE(BuildSentences(first.Current(), {}), BuildSentences(again.Current(), {}));
    QVERIFY(BuildSentences(first.Current(), {})[0] != BuildSentences(other.Current(), {})[0]);
}

QTEST_APPLESS_MAIN(TestSimulatedStream)
#include "tst_simulatedstream.moc"
