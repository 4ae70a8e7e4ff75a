// The drum scale of the analog compass: which ticks and numbers it shows for a heading, where,
// and how the shown heading glides toward the course.
#include "DrumScale.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

// The analog compass window of 5340 x 1605 twips at 15 twips per pixel.
const DrumLayout Default = LayoutDrum(5340, 1605, 15);

} // namespace

class TestDrumScale : public QObject {
    Q_OBJECT

private slots:
    void scaleAtNorth();
    void scaleFollowsTheHeading();
    void extremeWindows();
    void glide();
};

// Heading north: 0 under the index line, 80 degrees to either side, every tick on the base line,
// greater values to the left; long ticks with a number every 30 degrees, wide ones every 10, and
// ticks and numbers foreshortened alike toward both ends.
void TestDrumScale::scaleAtNorth()
{
    const DrumPicture p = DrawScale(Default, 0);
    const DrumTick& centre = p.Ticks[DrumCentreTick];
    QCOMPARE(centre.X, Default.Vline1.X1);
    QCOMPARE(centre.Value, 0);
    QCOMPARE(p.Ticks.front().Value, 2800);
    QCOMPARE(p.Ticks.back().Value, 800);
    QVERIFY2(std::abs(p.Ticks.front().X - 5090.8) < 0.1, qPrintable(QString::number(p.Ticks.front().X)));
    for (std::size_t i = 0; i < p.Ticks.size(); ++i) {
        const DrumTick& t = p.Ticks[i];
        const DrumTick& mirror = p.Ticks[p.Ticks.size() - 1 - i];
        QVERIFY(std::abs((t.X - centre.X) + (mirror.X - centre.X)) < 1e-6);
        QCOMPARE(t.Bottom, Default.Hline1.Y1);
        QVERIFY(t.X > Default.Hline1.X1 && t.X < Default.Hline1.X2);
        QCOMPARE(t.Width, t.Value % 100 == 0 ? 2 : 1);
        const double length = (t.Value % 300 == 0 ? 210 : 105) * std::cos((static_cast<int>(i) - DrumCentreTick) / 16.0);
        QVERIFY(std::abs(t.Bottom - t.Top - length) < 1e-9);
        if (i > 0) {
            QCOMPARE((t.Value - p.Ticks[i - 1].Value + FullTurn) % FullTurn, 50);
            QVERIFY(t.X < p.Ticks[i - 1].X);
        }
    }
    QStringList numbers;
    for (const DrumNumber& n : p.Numbers) {
        numbers << QString::fromStdString(n.Text);
        const auto tick = std::find_if(p.Ticks.begin(), p.Ticks.end(), [&](const DrumTick& t) { return t.X == n.AnchorX; });
        QVERIFY(tick != p.Ticks.end() && tick->Top == n.AnchorY);
        QVERIFY(std::abs(n.FontPoints / 21.0 - (tick->Bottom - tick->Top) / 210) < 1e-9);
    }
    QCOMPARE(numbers, QStringList({"300", "330", "0", "30", "60"}));
}

// At 343 degrees north lies left of the index line, 330 right of it, no tick under the line; whole
// turns more or less draw exactly the same picture.
void TestDrumScale::scaleFollowsTheHeading()
{
    const DrumPicture at343 = DrawScale(Default, 3430);
    for (const DrumNumber& n : at343.Numbers) {
        if (n.Text == "0" || n.Text == "330")
            QCOMPARE(n.AnchorX < Default.Vline1.X1, n.Text == "0");
    }
    for (const DrumTick& t : at343.Ticks)
        QVERIFY(t.X != Default.Vline1.X1);
    for (const int shown : {0, 123, 3430, 3599}) {
        const DrumPicture p = DrawScale(Default, shown);
        QCOMPARE(p.Ticks.front().Value, (shown / 50 * 50 + 2800) % FullTurn);
        for (const int other : {shown - 3600, shown + 3600, shown + 5 * 3600, shown - 7 * 3600}) {
            const DrumPicture q = DrawScale(Default, other);
            for (std::size_t i = 0; i < p.Ticks.size(); ++i) {
                QCOMPARE(q.Ticks[i].Value, p.Ticks[i].Value);
                QCOMPARE(q.Ticks[i].X, p.Ticks[i].X);
                QCOMPARE(q.Ticks[i].Top, p.Ticks[i].Top);
            }
            QCOMPARE(q.Numbers.size(), p.Numbers.size());
        }
    }
}

// Wider than 16-bit twips the scale still spans the base line, centred on the index; an empty
// window, or one far taller than wide, gets nothing negative and numbers of no size.
void TestDrumScale::extremeWindows()
{
    const DrumLayout wide = LayoutDrum(60000, 3000, 15);
    const DrumPicture p = DrawScale(wide, 0);
    QCOMPARE(p.Ticks[DrumCentreTick].X, wide.Vline1.X1);
    for (const DrumTick& t : p.Ticks)
        QVERIFY(t.X > wide.Hline1.X1 && t.X < wide.Hline1.X2);
    QVERIFY(p.Ticks[0].X > 0.9 * wide.Hline1.X2);

    const DrumLayout empty = LayoutDrum(0, 0, 15);
    QCOMPARE(empty.Achter.Width, 0.0);
    QCOMPARE(empty.Achter.Height, 0.0);
    for (const DrumNumber& n : DrawScale(empty, 3430).Numbers)
        QCOMPARE(n.FontPoints, 0.0);
    QCOMPARE(LayoutDrum(10, 100000, 15).Achter.Width, 0.0);
}

// Each step goes a quarter of the way, the shorter way round, rounding halves to even, and stays
// within one turn whatever the course.
void TestDrumScale::glide()
{
    const struct { int Shown; float Course; int Next; } steps[] = {
        {0, 40.0f, 100},       {3500, 10.0f, 3550}, {100, 350.0f, 50},   {12, 350.0f, 3584}, // through north
        {3588, 10.0f, 16},     {0, 180.0f, 450},    {1800, 0.0f, 1350},                     // half a turn
        {100, 10.1f, 100},     {100, 10.2f, 100},   {101, 10.3f, 102},   {2000, 200.0f, 2000},
        {3500, 730.0f, 3550},  {100, -10.0f, 50},   {0, 1.0e9f, 3400},   {-3500, 10.0f, 100},
        {1234, std::numeric_limits<float>::quiet_NaN(), 1234}, {1234, std::numeric_limits<float>::infinity(), 1234},
    };
    for (const auto& [shown, course, next] : steps)
        QVERIFY2(NextShownHeading(shown, course) == next, qPrintable(QStringLiteral("%1 toward %2").arg(shown).arg(course)));
    int shown = 3500;
    for (int step = 0; step < 100000; ++step) {
        shown = NextShownHeading(shown, static_cast<float>((step * 7) % 360));
        QVERIFY(shown >= 0 && shown < FullTurn);
    }
}

QTEST_APPLESS_MAIN(TestDrumScale)
#include "tst_drumscale.moc"
