#include "SkyLayout.h"

#include "BrightnessColor.h"

#include <QTest>

#include <cmath>

class TestSkyLayout : public QObject {
    Q_OBJECT

private slots:
    void squareWindow();
    void wideWindowKeepsRoundDiscs();
    void emptyWindow();
    void position_data();
    void position();
    void marker_data();
    void marker();
    void signalColor_data();
    void signalColor();
    void prnText_data();
    void prnText();
    void satelliteLabel_data();
    void satelliteLabel();
};

void TestSkyLayout::squareWindow()
{
    const SkyLayout l = LayoutSky(3000, 3000, 15, 15);
    QCOMPARE(l.LabelWidth, 300);
    QCOMPARE(l.LabelHeight, 150);
    QCOMPARE(l.MarkerWidth, 250);
    QCOMPARE(l.MarkerHeight, 250);
    QCOMPARE(l.PrnFontSize, 7);
    QCOMPARE(l.CenterX, 1500);
    QCOMPARE(l.CenterY, 1500);
    QCOMPARE(l.CenterRadius, 150.0f);
    QCOMPARE(l.InnerRingRadius, 6000.0f / 7);
    QCOMPARE(l.OuterRingRadius, static_cast<float>(6000 / 4.2));
    QCOMPARE(l.LetterFontSize, 11);
    QCOMPARE(l.NorthY, 67);
    QCOMPARE(l.MiddleY, 1417);
    QCOMPARE(l.SouthY, 2767);
    QCOMPARE(l.WestX, 67);
    QCOMPARE(l.MiddleX, 1417);
    QCOMPARE(l.EastX, 2767);
}

void TestSkyLayout::wideWindowKeepsRoundDiscs()
{
    const SkyLayout l = LayoutSky(4000, 2000, 15, 15);
    QCOMPARE(l.CenterX, 2000);
    QCOMPARE(l.CenterY, 1000);
    QCOMPARE(l.CenterRadius, 150.0f);
    QCOMPARE(l.OuterRingRadius, static_cast<float>(6000 / 4.2));
    QCOMPARE(l.LabelWidth, 400);
    QCOMPARE(l.LabelHeight, 100);
    QCOMPARE(l.LetterFontSize, 7);
    QCOMPARE(l.EastX, (7600 - 105) / 2);
}

void TestSkyLayout::emptyWindow()
{
    const SkyLayout l = LayoutSky(0, 0, 15, 15);
    QCOMPARE(l.LabelWidth, 0);
    QCOMPARE(l.MarkerHeight, 0);
    QCOMPARE(l.OuterRingRadius, 0.0f);
    QCOMPARE(l.CenterRadius, 0.0f);
    QCOMPARE(l.PrnFontSize, 1);
    QCOMPARE(l.LetterFontSize, 1);
}

void TestSkyLayout::position_data()
{
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<int>("elevation");
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("north horizon") << 3000.0 << 3000.0 << 0 << 0 << 1500.0 << 150.0;
    QTest::newRow("east horizon") << 3000.0 << 3000.0 << 0 << 90 << 2850.0 << 1500.0;
    QTest::newRow("south horizon") << 3000.0 << 3000.0 << 0 << 180 << 1500.0 << 2850.0;
    QTest::newRow("west horizon") << 3000.0 << 3000.0 << 0 << 270 << 150.0 << 1500.0;
    QTest::newRow("zenith, azimuth 0") << 3000.0 << 3000.0 << 90 << 0 << 1500.0 << 1500.0;
    QTest::newRow("zenith, azimuth 123") << 3000.0 << 3000.0 << 90 << 123 << 1500.0 << 1500.0;
    QTest::newRow("60 up, north") << 3000.0 << 3000.0 << 60 << 0 << 1500.0 << 825.0;
    QTest::newRow("above 90 crosses the centre") << 3000.0 << 3000.0 << 120 << 0 << 1500.0 << 2175.0;
    QTest::newRow("ellipse east") << 4000.0 << 2000.0 << 0 << 90 << 3800.0 << 1000.0;
    QTest::newRow("ellipse north") << 4000.0 << 2000.0 << 0 << 0 << 2000.0 << 100.0;
    QTest::newRow("beyond 16 bits") << 100000.0 << 80000.0 << 0 << 90 << 95000.0 << 40000.0;
}

void TestSkyLayout::position()
{
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(int, elevation);
    QFETCH(int, azimuth);
    QFETCH(double, x);
    QFETCH(double, y);
    const SkyLayout l = LayoutSky(w, h, 15, 15);
    const SkyPoint p = SatellitePosition(static_cast<std::int16_t>(elevation),
                                         static_cast<std::int16_t>(azimuth), l.CenterX, l.CenterY);
    const double tolerance = 1e-5 * (w + h);   // single precision
    QVERIFY2(std::abs(p.X - x) < tolerance && std::abs(p.Y - y) < tolerance,
             qPrintable(QStringLiteral("%1, %2").arg(p.X).arg(p.Y)));
}

void TestSkyLayout::marker_data()
{
    QTest::addColumn<double>("w");
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<qint64>("boxLeft");
    QTest::addColumn<qint64>("boxTop");
    QTest::addColumn<qint64>("discX");
    QTest::addColumn<qint64>("discY");
    QTest::addColumn<qint64>("radius");
    QTest::newRow("north in 3000 square") << 3000.0 << 0 << qint64(1350) << qint64(75) << qint64(1500)
                                          << qint64(150) << qint64(125);
    QTest::newRow("east in 100000 square") << 100000.0 << 90 << qint64(90000) << qint64(47500)
                                           << qint64(95000) << qint64(50000) << qint64(4166);
}

void TestSkyLayout::marker()
{
    QFETCH(double, w);
    QFETCH(int, azimuth);
    QFETCH(qint64, boxLeft);
    QFETCH(qint64, boxTop);
    QFETCH(qint64, discX);
    QFETCH(qint64, discY);
    QFETCH(qint64, radius);
    const SkyLayout l = LayoutSky(w, w, 15, 15);
    const SkyPoint p = SatellitePosition(0, static_cast<std::int16_t>(azimuth), l.CenterX, l.CenterY);
    const SkyMarker m = PlaceMarker(l, p);
    QCOMPARE(m.BoxLeft, boxLeft);
    QCOMPARE(m.BoxTop, boxTop);
    QCOMPARE(m.DiscCenterX, discX);
    QCOMPARE(m.DiscCenterY, discY);
    QCOMPARE(m.DiscRadius, radius);
}

void TestSkyLayout::signalColor_data()
{
    QTest::addColumn<int>("snr");
    QTest::addColumn<int>("colour");
    const int grey = Rgb(128, 128, 128);
    const int red = Rgb(255, 0, 0);
    const int orange = Rgb(255, 128, 0);
    const int yellow = Rgb(255, 255, 0);
    const int green = Rgb(0, 255, 0);
    const int purple = Rgb(128, 0, 128);
    QTest::newRow("0") << 0 << grey;
    QTest::newRow("1") << 1 << red;
    QTest::newRow("5") << 5 << red;
    QTest::newRow("6") << 6 << orange;
    QTest::newRow("15") << 15 << orange;
    QTest::newRow("16") << 16 << yellow;
    QTest::newRow("20") << 20 << yellow;
    QTest::newRow("21") << 21 << green;
    QTest::newRow("99") << 99 << green;
    QTest::newRow("100") << 100 << purple;
    QTest::newRow("255") << 255 << purple;
}

void TestSkyLayout::signalColor()
{
    QFETCH(int, snr);
    QFETCH(int, colour);
    QCOMPARE(SignalColor(static_cast<std::uint8_t>(snr)), colour);
}

void TestSkyLayout::prnText_data()
{
    QTest::addColumn<int>("prn");
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit") << 7 << " 7";
    QTest::newRow("two digits") << 12 << "12";
    QTest::newRow("three digits") << 123 << "23";
}

void TestSkyLayout::prnText()
{
    QFETCH(int, prn);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(PrnText(prn)), text);
}

void TestSkyLayout::satelliteLabel_data()
{
    QTest::addColumn<QChar>("system");
    QTest::addColumn<int>("prn");
    QTest::addColumn<QString>("label");
    QTest::newRow("GPS as ever") << QChar('G') << 7 << " 7";
    QTest::newRow("GPS two digits") << QChar('G') << 12 << "12";
    QTest::newRow("no constellation") << QChar() << 123 << "23";
    QTest::newRow("SBAS keeps its number") << QChar('S') << 44 << "44";
    QTest::newRow("SBAS 133") << QChar('S') << 133 << "33";
    QTest::newRow("GLONASS slot") << QChar('R') << 70 << "R6";
    QTest::newRow("GLONASS 96") << QChar('R') << 96 << "R32";
    QTest::newRow("GLONASS numbered by slot") << QChar('R') << 12 << "R12";
    QTest::newRow("Galileo") << QChar('E') << 5 << "E5";
    QTest::newRow("BeiDou") << QChar('C') << 23 << "C23";
    QTest::newRow("QZSS") << QChar('J') << 2 << "J2";
    QTest::newRow("QZSS in GPS numbering") << QChar('J') << 194 << "J2";
    QTest::newRow("NavIC") << QChar('I') << 3 << "I3";
    QTest::newRow("three digits") << QChar('C') << 201 << "C1";
}

void TestSkyLayout::satelliteLabel()
{
    QFETCH(QChar, system);
    QFETCH(int, prn);
    QFETCH(QString, label);
    QCOMPARE(QString::fromStdString(SatelliteLabel(system.toLatin1(), prn)), label);
}

QTEST_APPLESS_MAIN(TestSkyLayout)
#include "tst_skylayout.moc"
