#include "DrumScale.h"

#include <QTest>

#include <cmath>
#include <limits>

// The analog compass window of 5340 x 1605 twips at 15 twips per pixel.
static DrumLayout DefaultLayout()
{
    return LayoutDrum(5340, 1605, 15);
}

class TestDrumScale : public QObject {
    Q_OBJECT

private slots:
    void layoutOfTheDefaultWindow();
    void ticksAtNorth_data();
    void ticksAtNorth();
    void valuesRunWithoutGapOrRepetition();
    void northLiesBetweenTicksAt343();
    void wholeTurnsDoNotMoveTheScale_data();
    void wholeTurnsDoNotMoveTheScale();
    void glide_data();
    void glide();
    void glideThroughNorthStaysBounded();
    void wideWindowKeepsTheScaleOnItsBaseLine();
    void emptyWindow();
};

void TestDrumScale::layoutOfTheDefaultWindow()
{
    const DrumLayout l = DefaultLayout();
    QCOMPARE(l.Margin, 7);
    QCOMPARE(l.Achter.Left, 7.0);
    QCOMPARE(l.Achter.Top, 7.0);
    QCOMPARE(l.Achter.Width, 5326.0);
    QCOMPARE(l.Achter.Height, 1591.0);
    QCOMPARE(l.Hline1.X1, 29.0);
    QCOMPARE(l.Hline1.X2, 5304.0);
    QCOMPARE(l.Hline1.Y1, l.Hline1.Y2);
    QVERIFY(std::abs(l.Hline1.Y1 - 1284) < 1e-9);
    QCOMPARE(l.Vline1.X1, 2666.0);
    QCOMPARE(l.Vline1.X2, 2666.0);
    QCOMPARE(l.Vline1.Y1, 14.0);
    QCOMPARE(l.Vline1.Y2, 1569.0);
}

void TestDrumScale::ticksAtNorth_data()
{
    QTest::addColumn<int>("tick");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("isLong");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("number");     // empty: no number on this tick
    QTest::addColumn<double>("fontPoints");
    QTest::newRow("left end") << 0 << 2800 << 5090.8 << false << 2 << "" << 0.0;
    QTest::newRow("300") << 4 << 3000 << 4747.3 << true << 2 << "300" << 15.4;
    QTest::newRow("330") << 10 << 3300 << 3838.3 << true << 2 << "330" << 19.5;
    QTest::newRow("centre") << 16 << 0 << 2666.0 << true << 2 << "0" << 21.0;
    QTest::newRow("30") << 22 << 300 << 1493.7 << true << 2 << "30" << 19.5;
    QTest::newRow("right end") << 32 << 800 << 241.2 << false << 2 << "" << 0.0;
    QTest::newRow("5 degrees") << 17 << 50 << 0.0 << false << 1 << "" << 0.0;
}

void TestDrumScale::ticksAtNorth()
{
    QFETCH(int, tick);
    QFETCH(int, value);
    QFETCH(double, x);
    QFETCH(bool, isLong);
    QFETCH(int, width);
    QFETCH(QString, number);
    QFETCH(double, fontPoints);
    const DrumLayout l = DefaultLayout();
    const DrumPicture p = DrawScale(l, 0);
    const DrumTick& t = p.Ticks[static_cast<std::size_t>(tick)];
    QCOMPARE(t.Value, value);
    if (x != 0.0)
        QVERIFY2(std::abs(t.X - x) < 0.1, qPrintable(QString::number(t.X, 'f', 3)));
    QCOMPARE(t.Width, width);
    QCOMPARE(t.Bottom, l.Hline1.Y1);
    const double f = std::cos((tick - 16) / 16.0);
    QVERIFY(std::abs((l.Hline1.Y1 - t.Top) - (isLong ? 30 : 15) * 7 * f) < 1e-9);
    if (tick == 16)
        QVERIFY(std::abs(t.Top - 1074) < 1e-9);
    const auto found = std::find_if(p.Numbers.begin(), p.Numbers.end(),
                                    [&](const DrumNumber& n) { return n.AnchorX == t.X; });
    QCOMPARE(found != p.Numbers.end(), !number.isEmpty());
    if (found != p.Numbers.end()) {
        QCOMPARE(QString::fromStdString(found->Text), number);
        QVERIFY2(std::abs(found->FontPoints - fontPoints) < 0.05, qPrintable(QString::number(found->FontPoints)));
        QCOMPARE(found->AnchorY, t.Top);
    }
}

void TestDrumScale::valuesRunWithoutGapOrRepetition()
{
    const DrumPicture p = DrawScale(DefaultLayout(), 123);
    QCOMPARE(p.Ticks.front().Value, 2900);   // -700 brought into range
    QCOMPARE(p.Ticks.back().Value, 900);
    for (std::size_t i = 1; i < p.Ticks.size(); ++i) {
        QCOMPARE((p.Ticks[i].Value - p.Ticks[i - 1].Value + 3600) % 3600, 50);
        QVERIFY(p.Ticks[i].X < p.Ticks[i - 1].X);   // greater values to the left, none coincide
    }
    // Every number sits on a long tick, and a 160 degree span never holds more than six.
    QVERIFY(p.Numbers.size() <= 6);
    QVERIFY(!p.Numbers.empty());
}

void TestDrumScale::northLiesBetweenTicksAt343()
{
    const DrumLayout l = DefaultLayout();
    const DrumPicture p = DrawScale(l, 3430);
    double zeroX = 0;
    double threeThirtyX = 0;
    for (const DrumNumber& n : p.Numbers) {
        if (n.Text == "0")
            zeroX = n.AnchorX;
        if (n.Text == "330")
            threeThirtyX = n.AnchorX;
    }
    QVERIFY(zeroX != 0 && zeroX < l.Vline1.X1);
    QVERIFY(threeThirtyX > l.Vline1.X1);
    for (const DrumTick& t : p.Ticks)
        QVERIFY(t.X != l.Vline1.X1);
}

void TestDrumScale::wholeTurnsDoNotMoveTheScale_data()
{
    QTest::addColumn<int>("shown");
    QTest::newRow("north") << 0;
    QTest::newRow("12.3") << 123;
    QTest::newRow("343") << 3430;
    QTest::newRow("359.9") << 3599;
}

void TestDrumScale::wholeTurnsDoNotMoveTheScale()
{
    QFETCH(int, shown);
    const DrumLayout l = DefaultLayout();
    const DrumPicture p = DrawScale(l, shown);
    for (const int other : {shown - 3600, shown + 3600, shown + 5 * 3600, shown - 7 * 3600}) {
        const DrumPicture q = DrawScale(l, other);
        for (std::size_t i = 0; i < p.Ticks.size(); ++i) {
            QCOMPARE(q.Ticks[i].Value, p.Ticks[i].Value);
            QCOMPARE(q.Ticks[i].X, p.Ticks[i].X);
            QCOMPARE(q.Ticks[i].Top, p.Ticks[i].Top);
            QCOMPARE(q.Ticks[i].Width, p.Ticks[i].Width);
        }
        QCOMPARE(q.Numbers.size(), p.Numbers.size());
        for (std::size_t j = 0; j < p.Numbers.size(); ++j)
            QCOMPARE(q.Numbers[j].Text, p.Numbers[j].Text);
    }
}

void TestDrumScale::glide_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<float>("course");
    QTest::addColumn<int>("next");
    QTest::newRow("a quarter of 40 degrees") << 0 << 40.0f << 100;
    QTest::newRow("10 from 350: forward through north") << 3500 << 10.0f << 3550;
    QTest::newRow("350 from 10: back through north") << 100 << 350.0f << 50;
    QTest::newRow("back below north wraps") << 12 << 350.0f << 3584;
    QTest::newRow("forward past north wraps") << 3588 << 10.0f << 16;
    QTest::newRow("exactly half a turn ahead") << 0 << 180.0f << 450;
    QTest::newRow("exactly half a turn behind") << 1800 << 0.0f << 1350;
    QTest::newRow("a tenth never closes") << 100 << 10.1f << 100;
    QTest::newRow("half step to even stays") << 100 << 10.2f << 100;
    QTest::newRow("half step to even moves") << 101 << 10.3f << 102;
    QTest::newRow("arrived") << 2000 << 200.0f << 2000;
    QTest::newRow("course two turns on") << 3500 << 730.0f << 3550;
    QTest::newRow("negative course") << 100 << -10.0f << 50;
    QTest::newRow("huge course") << 0 << 1.0e9f << 3400;
    QTest::newRow("heading out of range") << -3500 << 10.0f << 100;
    QTest::newRow("not a number") << 1234 << std::numeric_limits<float>::quiet_NaN() << 1234;
    QTest::newRow("infinite") << 1234 << std::numeric_limits<float>::infinity() << 1234;
}

void TestDrumScale::glide()
{
    QFETCH(int, shown);
    QFETCH(float, course);
    QFETCH(int, next);
    QCOMPARE(NextShownHeading(shown, course), next);
}

void TestDrumScale::glideThroughNorthStaysBounded()
{
    // Steps of 50, 38, 28, ... tenths toward 10 degrees one turn on, never back through south.
    int shown = 3500;
    const int expected[] = {3550, 3588, 16, 37, 53, 65, 74, 80};
    for (const int e : expected) {
        shown = NextShownHeading(shown, 10.0f);
        QCOMPARE(shown, e);
    }
    // A course that keeps turning one way never carries the heading out of one turn.
    for (int step = 0; step < 100000; ++step) {
        shown = NextShownHeading(shown, static_cast<float>((step * 7) % 360));
        QVERIFY(shown >= 0 && shown < 3600);
    }
}

void TestDrumScale::wideWindowKeepsTheScaleOnItsBaseLine()
{
    // Wider than 16-bit twips: the scale still spans the base line and is centred on the index.
    const DrumLayout l = LayoutDrum(60000, 3000, 15);
    const DrumPicture p = DrawScale(l, 0);
    QCOMPARE(p.Ticks[16].X, l.Vline1.X1);
    for (const DrumTick& t : p.Ticks)
        QVERIFY(t.X > l.Hline1.X1 && t.X < l.Hline1.X2);
    QVERIFY(p.Ticks[0].X > 0.9 * l.Hline1.X2);
}

void TestDrumScale::emptyWindow()
{
    const DrumLayout l = LayoutDrum(0, 0, 15);
    QCOMPARE(l.Margin, 0);
    QCOMPARE(l.Achter.Width, 0.0);
    QCOMPARE(l.Achter.Height, 0.0);
    const DrumPicture p = DrawScale(l, 3430);
    for (const DrumNumber& n : p.Numbers)
        QCOMPARE(n.FontPoints, 0.0);
    // Far taller than wide: the rectangle has no negative width.
    QCOMPARE(LayoutDrum(10, 100000, 15).Achter.Width, 0.0);
}

QTEST_APPLESS_MAIN(TestDrumScale)
#include "tst_drumscale.moc"
