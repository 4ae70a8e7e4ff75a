// The analog compass: its drum scale in twips (which ticks and numbers it shows for a heading,
// where, and how the shown heading glides toward the course) and the window's pictures.
#include "DrumCompassWindow.h"
#include "DrumScale.h"
#include "NavState.h"
#include "RecordingHost.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

using DrivenCompass = Driven<DrumCompassWindow>;

// The analog compass window of 5340 x 1605 twips at 15 twips per pixel.
const DrumLayout Default = LayoutDrum(5340, 1605, 15);

} // namespace

class TestDrumCompass : public QObject {
    Q_OBJECT

private slots:
    void scaleAtNorth();
    void scaleFollowsTheHeading();
    void extremeWindows();
    void glide();
    void init();
    void indexLineIsBoldAtTheCentre();
    void glidesTowardTheCourse();
    void noReceptionCoversTheNumbersAndTheScaleStandsStill();
    void tinyWindowDrawsWithoutComplaint();

private:
    NavState Nav;
    RecordingHost Host;
};

// Heading north: 0 under the index line, 80 degrees to either side, every tick on the base line,
// greater values to the left; long ticks with a number every 30 degrees, wide ones every 10, and
// ticks and numbers foreshortened alike toward both ends.
void TestDrumCompass::scaleAtNorth()
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

// At 343 degrees north lies left of the index line, 330 right of it, no tick under the line; the
// scale starts 80 degrees left of the heading's tick below it.
void TestDrumCompass::scaleFollowsTheHeading()
{
    const DrumPicture at343 = DrawScale(Default, 3430);
    for (const DrumNumber& n : at343.Numbers) {
        if (n.Text == "0" || n.Text == "330")
            QCOMPARE(n.AnchorX < Default.Vline1.X1, n.Text == "0");
    }
    for (const DrumTick& t : at343.Ticks)
        QVERIFY(t.X != Default.Vline1.X1);
    for (const int shown : {0, 123, 3430, 3599})
        QCOMPARE(DrawScale(Default, shown).Ticks.front().Value, (shown / 50 * 50 + 2800) % FullTurn);
}

// Wider than 16-bit twips the scale still spans the base line, centred on the index; one far
// taller than wide gets no negative background (a tiny window is drawn in the pictures below).
void TestDrumCompass::extremeWindows()
{
    const DrumLayout wide = LayoutDrum(60000, 3000, 15);
    const DrumPicture p = DrawScale(wide, 0);
    QCOMPARE(p.Ticks[DrumCentreTick].X, wide.Vline1.X1);
    for (const DrumTick& t : p.Ticks)
        QVERIFY(t.X > wide.Hline1.X1 && t.X < wide.Hline1.X2);
    QVERIFY(p.Ticks[0].X > 0.9 * wide.Hline1.X2);
    QCOMPARE(LayoutDrum(10, 100000, 15).Achter.Width, 0.0);
}

// Each step goes a quarter of the way, the shorter way round, rounding halves to even, and stays
// within one turn whatever the course.
void TestDrumCompass::glide()
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

void TestDrumCompass::init()
{
    Nav = NavState();
    Host = RecordingHost();
}

// The index line stands at the centre, solid on whole pixels and wider as the window grows (3
// pixels at the first size, 9 at three times that), and at every level at least as bright as the
// scale's numbers.
void TestDrumCompass::indexLineIsBoldAtTheCentre()
{
    Nav.FixValid = true;
    Nav.Course = 343;
    for (const auto& [size, width] : {std::pair{QSize(356, 107), 3}, {QSize(1068, 321), 9}}) {
        for (const Brightness& brightness : {Brightness{}, Brightness{"Night"}, Brightness{"Night", true}}) {
            DrivenCompass compass(Nav, Host);
            compass.resize(size);
            compass.AdjustColors(brightness);
            compass.Tick();
            QImage image = compass.grab().toImage();
            // A row above the numbers, where only the index line is lit.
            const int row = size.height() / 10;
            QList<int> lit;
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, row) != Qt::black)
                    lit << x;
            }
            const QString where = QStringLiteral("%1 %2: %3 pixels").arg(size.width()).arg(brightness.Mode).arg(lit.size());
            QVERIFY2(lit.size() == width && lit.back() - lit.front() == width - 1, qPrintable(where));
            QVERIFY(std::abs((lit.front() + lit.back()) / 2.0 - size.width() / 2.0) <= 1);
            const QColor index = image.pixelColor(lit.front(), row);
            for (const int x : lit)
                QCOMPARE(image.pixelColor(x, row), index);
            QCOMPARE(index.green() + index.blue(), 0);
            QPainter(&image).fillRect(lit.front(), 0, width, image.height(), Qt::black);
            const QColor numbers = Brightest(image);
            QVERIFY2(index.value() >= numbers.value() && numbers.value() > 0, qPrintable(where + " " + index.name() + " " + numbers.name()));
        }
    }
}

// The first picture comes quickly, then one every 300 ms.
void TestDrumCompass::glidesTowardTheCourse()
{
    Nav.FixValid = true;
    Nav.Course = 10;
    DrivenCompass compass(Nav, Host);
    compass.AdjustColors({});
    const QImage before = compass.grab().toImage();
    QCOMPARE(compass.Interval(), 100);
    compass.Tick();
    QCOMPARE(compass.Interval(), 300);
    QCOMPARE(compass.ShownHeading(), 3498);   // a quarter of 33 degrees forward through north
    QVERIFY(compass.grab().toImage() != before);
    for (int i = 0; i < 40; ++i)
        compass.Tick();
    QVERIFY(std::abs(compass.ShownHeading() - 100) <= 2);
}

void TestDrumCompass::noReceptionCoversTheNumbersAndTheScaleStandsStill()
{
    Nav.FixValid = false;
    Nav.Course = 343;   // the scale would stay at 343 degrees with a fix as well
    DrivenCompass compass(Nav, Host);
    compass.AdjustColors({});
    compass.Tick();
    const QImage noFix = compass.grab().toImage();
    // Half way down, above every tick, only the text is lit (the red index line has no green).
    int left = noFix.width();
    int right = -1;
    for (int x = 0; x < noFix.width(); ++x)
        if (noFix.pixelColor(x, 53).green() > 64) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    QVERIFY2(right - left > 100, qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    QVERIFY(std::abs((left + right) / 2 - 178) <= 3);

    Nav.FixValid = true;
    compass.Tick();
    QCOMPARE(compass.ShownHeading(), 3430);
    const QImage withFix = compass.grab().toImage();
    QVERIFY(withFix != noFix);
    // The ticks and the base line did not move: the rows below the numbers are identical.
    const QRect below(0, 75, withFix.width(), withFix.height() - 75);
    QCOMPARE(withFix.copy(below), noFix.copy(below));

    Nav.FixValid = false;
    compass.Tick();
    QCOMPARE(compass.grab().toImage(), noFix);
}

void TestDrumCompass::tinyWindowDrawsWithoutComplaint()
{
    // Sizes of 0 points come out of the layout for a window this small.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    Nav.FixValid = true;
    DrivenCompass compass(Nav, Host);
    compass.resize(20, 10);
    compass.Tick();
    QCOMPARE(compass.grab().toImage().size(), QSize(20, 10));
}

QTEST_MAIN(TestDrumCompass)
#include "tst_drumcompass.moc"
