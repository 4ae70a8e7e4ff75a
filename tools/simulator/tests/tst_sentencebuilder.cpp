// The sentence text of one epoch, and the faults the simulator can put into it.
#include "LineCorruption.h"
#include "NmeaChecksum.h"
#include "SentenceBuilder.h"

#include <QDateTime>
#include <QTest>

namespace {

std::int64_t Utc(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

Epoch SampleEpoch()
{
    Epoch epoch;
    epoch.UtcMs = Utc("2026-12-06T12:00:00Z");
    epoch.Latitude = 52.1;
    epoch.Longitude = 4.1;
    epoch.SpeedKnots = 6.5;
    epoch.CourseTrue = 12.345;
    epoch.MagneticVariation = 2.1;
    epoch.Altitude = 3.5;
    epoch.GeoidSeparation = 47;
    epoch.Hdop = 0.9;
    epoch.Vdop = 1.44;
    epoch.Pdop = 1.7;
    epoch.Sky = {{3, 45, 120, 40, true}, {7, 12, 300, 31, true}, {19, 3, 8, 0, false}};
    return epoch;
}

std::string Body(const std::string& sentence)
{
    std::string_view text = sentence;
    return NMEAChecksumError(text) ? "checksum error: " + sentence : std::string(text.substr(1));
}

std::vector<SkySatellite> Sky(int size)
{
    std::vector<SkySatellite> sky;
    for (int i = 1; i <= size; ++i)
        sky.push_back({i, 10 + i, 10 * i, 30, true});
    return sky;
}

} // namespace

class TestSentenceBuilder : public QObject {
    Q_OBJECT

private slots:
    void epochWithFix();
    void epochWithoutFix();
    void positionAndTimeFormats_data();
    void positionAndTimeFormats();
    void gsvGroups_data();
    void gsvGroups();
    void corruption_data();
    void corruption();
};

void TestSentenceBuilder::epochWithFix()
{
    std::vector<std::string> bodies;
    for (const std::string& sentence : BuildSentences(SampleEpoch(), {true, true}))
        bodies.push_back(Body(sentence));
    const std::vector<std::string> expected{
        "GPRMC,120000.00,A,5206.0000,N,00406.0000,E,6.50,12.35,061226,2.1,E,A",
        "GPVTG,12.35,T,10.25,M,6.50,N,12.04,K,A",
        "GPGGA,120000.00,5206.0000,N,00406.0000,E,1,02,0.90,3.5,M,47.0,M,,",
        "GPGSA,A,3,03,07,,,,,,,,,,,1.70,0.90,1.44",
        "GPGSV,1,1,03,03,45,120,40,07,12,300,31,19,03,008,",
        "GPGLL,5206.0000,N,00406.0000,E,120000.00,A,A",
        "GPZDA,120000.00,06,12,2026,00,00",
        "GPTXT,01,01,02,ANTSTATUS=OK",
    };
    QCOMPARE(bodies, expected);
}

void TestSentenceBuilder::epochWithoutFix()
{
    Epoch epoch = SampleEpoch();
    epoch.FixValid = false;
    epoch.Hdop = epoch.Vdop = epoch.Pdop = 99.99;
    epoch.Sky = {{19, 3, 8, 0, false}};
    std::vector<std::string> bodies;
    for (const std::string& sentence : BuildSentences(epoch, {true, false}))
        bodies.push_back(Body(sentence));
    const std::vector<std::string> expected{
        "GPRMC,120000.00,V,,,,,,,061226,,,N",
        "GPVTG,,T,,M,,N,,K,N",
        "GPGGA,120000.00,,,,,0,00,99.99,,,,,,",
        "GPGSA,A,1,,,,,,,,,,,,,99.99,99.99,99.99",
        "GPGSV,1,1,01,19,03,008,",
        "GPGLL,,,,,120000.00,V,N",
        "GPZDA,120000.00,06,12,2026,00,00",
    };
    QCOMPARE(bodies, expected);
}

void TestSentenceBuilder::positionAndTimeFormats_data()
{
    QTest::addColumn<QString>("utc");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("course");
    QTest::addColumn<QString>("rmc");
    QTest::newRow("south east, three-digit degrees")
        << "2026-01-31T08:05:09.120Z" << -33.8568 << 151.2153 << 200.0
        << "GPRMC,080509.12,A,3351.4080,S,15112.9180,E,6.50,200.00,310126,2.1,E,A";
    QTest::newRow("west of Greenwich, on the equator")
        << "2027-07-04T00:00:00Z" << 0.0 << -0.5 << 90.0
        << "GPRMC,000000.00,A,0000.0000,N,00030.0000,W,6.50,90.00,040727,2.1,E,A";
    QTest::newRow("minutes that round up carry into the degrees")
        << "2026-12-06T23:59:59.990Z" << 52.99999999 << -179.999999999 << 1.0
        << "GPRMC,235959.99,A,5300.0000,N,18000.0000,W,6.50,1.00,061226,2.1,E,A";
    QTest::newRow("course just under 360 goes out as 0")
        << "2028-02-29T12:34:56Z" << 52.1 << 4.1 << 359.996
        << "GPRMC,123456.00,A,5206.0000,N,00406.0000,E,6.50,0.00,290228,2.1,E,A";
}

void TestSentenceBuilder::positionAndTimeFormats()
{
    QFETCH(QString, utc);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, course);
    QFETCH(QString, rmc);
    Epoch epoch = SampleEpoch();
    epoch.UtcMs = Utc(qPrintable(utc));
    epoch.Latitude = latitude;
    epoch.Longitude = longitude;
    epoch.CourseTrue = course;
    QCOMPARE(QString::fromStdString(Body(BuildSentences(epoch, {})[0])), rmc);
}

void TestSentenceBuilder::gsvGroups_data()
{
    QTest::addColumn<int>("inView");
    QTest::addColumn<QList<int>>("perMessage");
    QTest::newRow("nothing in view") << 0 << QList<int>{0};
    QTest::newRow("one message full") << 4 << QList<int>{4};
    QTest::newRow("one over") << 5 << QList<int>{4, 1};
    QTest::newRow("two full") << 8 << QList<int>{4, 4};
    QTest::newRow("fourteen") << 14 << QList<int>{4, 4, 4, 2};
}

void TestSentenceBuilder::gsvGroups()
{
    QFETCH(int, inView);
    QFETCH(QList<int>, perMessage);
    const auto sentences = GsvSentences(Sky(inView));
    QCOMPARE(static_cast<int>(sentences.size()), perMessage.size());
    for (int m = 0; m < perMessage.size(); ++m) {
        const QStringList fields =
            QString::fromStdString(Body(sentences[static_cast<std::size_t>(m)])).split(',');
        QCOMPARE(fields.mid(0, 4), (QStringList{"GPGSV", QString::number(perMessage.size()),
                                                QString::number(m + 1),
                                                QStringLiteral("%1").arg(inView, 2, 10, QChar('0'))}));
        QCOMPARE(fields.size(), 4 + 4 * perMessage[m]);
    }
}

void TestSentenceBuilder::corruption_data()
{
    QTest::addColumn<double>("noise");
    QTest::addColumn<double>("badChecksum");
    QTest::addColumn<int>("fewestErrors");
    QTest::addColumn<int>("mostErrors");
    QTest::newRow("clean") << 0.0 << 0.0 << 0 << 0;
    QTest::newRow("every checksum wrong") << 0.0 << 100.0 << 200 << 200;
    // Garbage before the "$" or after the checksum leaves the sentence readable, as it would be.
    QTest::newRow("noise in every line") << 100.0 << 0.0 << 150 << 200;
    QTest::newRow("some of each") << 10.0 << 10.0 << 20 << 60;
}

void TestSentenceBuilder::corruption()
{
    QFETCH(double, noise);
    QFETCH(double, badChecksum);
    QFETCH(int, fewestErrors);
    QFETCH(int, mostErrors);
    LineCorruption corruption(noise, badChecksum, 7);
    const std::string clean = WithNmeaChecksum("GPGLL,5206.0000,N,00406.0000,E,120000.00,A,A");
    int errors = 0;
    for (int n = 0; n < 200; ++n) {
        std::string line = clean;
        corruption.Apply(line);
        QVERIFY(line.find_first_of("\r\n") == std::string::npos);
        if (noise == 0 || noise == 100)
            QCOMPARE(line.size() != clean.size(), noise == 100);
        std::string_view text = line;
        errors += NMEAChecksumError(text) ? 1 : 0;
    }
    QVERIFY2(errors >= fewestErrors && errors <= mostErrors, qPrintable(QString::number(errors)));
}

QTEST_APPLESS_MAIN(TestSentenceBuilder)
#include "tst_sentencebuilder.moc"
