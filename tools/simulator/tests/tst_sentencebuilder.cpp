// The sentence text of one epoch, and the faults the simulator can put into it.
#include "LineCorruption.h"
#include "NmeaChecksum.h"
#include "SentenceBuilder.h"

#include <QDateTime>
#include <QTest>

namespace {

std::string Body(const std::string& sentence)
{
    std::string_view text = sentence;
    return NMEAChecksumError(text) ? "checksum error: " + sentence : std::string(text.substr(1));
}

} // namespace

class TestSentenceBuilder : public QObject {
    Q_OBJECT

private slots:
    void positionAndTimeFormats_data();
    void positionAndTimeFormats();
    void corruption_data();
    void corruption();
};

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
    Epoch epoch;
    epoch.UtcMs = QDateTime::fromString(utc, Qt::ISODate).toMSecsSinceEpoch();
    epoch.SpeedKnots = 6.5;
    epoch.MagneticVariation = 2.1;
    epoch.Latitude = latitude;
    epoch.Longitude = longitude;
    epoch.CourseTrue = course;
    QCOMPARE(QString::fromStdString(Body(BuildSentences(epoch, {})[0])), rmc);
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
