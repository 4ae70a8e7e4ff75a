#include "BrightnessColor.h"
#include "Coordinates.h"
#include "Rounding.h"

#include <QTest>

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    void degMin2Deg_data();
    void degMin2Deg();
    void scaleColor_data();
    void scaleColor();
    void roundingHalvesToEven();
    void roundToFitRefusesWhatDoesNotFit();
    void divRounded();
};

void TestConversions::degMin2Deg_data()
{
    QTest::addColumn<double>("degMin");
    QTest::addColumn<double>("degrees");
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("thirty minutes south") << -0.3 << -0.5;
    QTest::newRow("north") << 48.07038 << 48.1173;
    QTest::newRow("south") << -33.515 << -33.858333333;
    QTest::newRow("east") << 151.12 << 151.2;
}

void TestConversions::degMin2Deg()
{
    QFETCH(double, degMin);
    QFETCH(double, degrees);
    QVERIFY2(std::abs(DegMin2Deg(degMin) - degrees) < 1e-9,
             qPrintable(QString::number(DegMin2Deg(degMin), 'f', 12)));
}

void TestConversions::scaleColor_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("scaled");
    QTest::newRow("daylight") << 0xFFFFFF << "Daylight" << 0xFFFFFF;
    QTest::newRow("shade rounds 191.25 down") << 0xFFFFFF << "Shade" << 0xBFBFBF;
    QTest::newRow("dusk rounds 127.5 to even") << 0xFFFFFF << "Dusk" << 0x808080;
    QTest::newRow("night rounds 63.75 up") << 0xFFFFFF << "Night" << 0x404040;
    QTest::newRow("green at dusk") << 0x00FF00 << "Dusk" << 0x008000;
    QTest::newRow("64.5 rounds to even") << 0x818181 << "Dusk" << 0x404040;
    QTest::newRow("channels stay apart") << Rgb(255, 0, 0) << "Night" << Rgb(64, 0, 0);
    QTest::newRow("lower-case mode is black") << 0xFFFFFF << "night" << 0;
    QTest::newRow("unknown mode is black") << 0xFFFFFF << "" << 0;
}

void TestConversions::scaleColor()
{
    QFETCH(int, colour);
    QFETCH(QString, mode);
    QFETCH(int, scaled);
    QCOMPARE(ScaleColor(colour, mode.toStdString()), scaled);
}

void TestConversions::roundingHalvesToEven()
{
    QCOMPARE(RoundHalfEven(2.5), 2.0);
    QCOMPARE(RoundHalfEven(3.5), 4.0);
    QCOMPARE(RoundHalfEven(-2.5), -2.0);
    QCOMPARE(RoundHalfEven(-3.5), -4.0);
    QCOMPARE(RoundHalfEven(2.6), 3.0);
}

void TestConversions::roundToFitRefusesWhatDoesNotFit()
{
    QCOMPARE(RoundToFit<std::uint8_t>(255.4).value_or(0), std::uint8_t(255));
    QVERIFY(!RoundToFit<std::uint8_t>(255.5).has_value());
    QCOMPARE(RoundToFit<std::uint8_t>(-0.5).value_or(1), std::uint8_t(0));
    QVERIFY(!RoundToFit<std::uint8_t>(-1).has_value());
    QCOMPARE(RoundToFit<std::int16_t>(-32768.4).value_or(0), std::int16_t(-32768));
    QVERIFY(!RoundToFit<std::int16_t>(32767.6).has_value());
    QVERIFY(!RoundToFit<std::int16_t>(std::nan("")).has_value());
    QVERIFY(!RoundToFit<std::int16_t>(HUGE_VAL).has_value());
}

void TestConversions::divRounded()
{
    QCOMPARE(DivRounded(1500, 100), 15);
    QCOMPARE(DivRounded(-15, 2), -7);   // truncated toward zero
    QCOMPARE(DivRounded(4.5, 1), 4);    // rounded half to even first
    QCOMPARE(DivRounded(5.5, 1), 6);
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
