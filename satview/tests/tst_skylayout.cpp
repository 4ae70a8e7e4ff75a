// The sky view's plot in twips: the discs and compass letters for a window's size, where a
// satellite stands, its colour by signal, and its label by constellation.
#include "SkyLayout.h"

#include "BrightnessColor.h"

#include <QTest>

#include <cmath>

class TestSkyLayout : public QObject {
    Q_OBJECT

private slots:
    void layout();
    void position();
    void signalColor();
    void satelliteLabel();
};

// The discs are round in a window of any shape (their radii follow w + h); the compass letters
// stand at 5, 50 and 95 % of each side, the letter's height taken off; a marker is centred on its
// satellite; an empty window has nothing of negative size.
void TestSkyLayout::layout()
{
    const SkyLayout square = LayoutSky(3000, 3000, 15, 15);
    QCOMPARE(QList<qint64>({square.LabelWidth, square.LabelHeight, square.MarkerWidth, square.MarkerHeight, square.PrnFontSize,
                            square.LetterFontSize}), QList<qint64>({300, 150, 250, 250, 7, 11}));
    QCOMPARE(QList<float>({square.CenterRadius, square.InnerRingRadius, square.OuterRingRadius}),
             QList<float>({150.0f, 6000.0f / 7, static_cast<float>(6000 / 4.2)}));
    const SkyLayout wide = LayoutSky(4000, 2000, 15, 15);
    QCOMPARE(QList<float>({wide.CenterRadius, wide.InnerRingRadius, wide.OuterRingRadius}),
             QList<float>({square.CenterRadius, square.InnerRingRadius, square.OuterRingRadius}));
    for (const auto& [l, w, h] : {std::tuple{square, 3000, 3000}, {wide, 4000, 2000}}) {
        const qint64 letter = l.LetterFontSize * 15;
        QCOMPARE(QList<qint64>({l.CenterX, l.CenterY}), QList<qint64>({w / 2, h / 2}));
        for (const auto& [near, middle, far, side] : {std::tuple{l.NorthY, l.MiddleY, l.SouthY, h}, {l.WestX, l.MiddleX, l.EastX, w}}) {
            QVERIFY(std::abs(2 * near + letter - side / 10) <= 1);
            QVERIFY(std::abs(2 * middle + letter - side) <= 1);
            QVERIFY(std::abs(2 * far + letter - side * 19 / 10) <= 1);
        }
        for (const SkyPoint p : {SkyPoint{1500, 150}, SkyPoint{3800, 1000.4f}}) {
            const SkyMarker m = PlaceMarker(l, p);
            QVERIFY(std::abs(m.DiscCenterX - p.X) <= 1 && std::abs(m.DiscCenterY - p.Y) <= 1);
            QVERIFY(std::abs(m.BoxLeft + l.LabelWidth / 2 - p.X) <= 1 && std::abs(m.BoxTop + l.LabelHeight / 2 - p.Y) <= 1);
            QCOMPARE(m.DiscRadius, l.MarkerHeight / 2);
        }
    }
    const SkyLayout empty = LayoutSky(0, 0, 15, 15);
    QCOMPARE(QList<qint64>({empty.LabelWidth, empty.MarkerHeight, empty.PrnFontSize, empty.LetterFontSize}), QList<qint64>({0, 0, 1, 1}));
    QCOMPARE(empty.OuterRingRadius, 0.0f);
}

// The horizon lies at 0.9 of the half-width and half-height from the centre, the zenith at the
// centre; an elevation beyond 90 crosses it; sizes beyond 16 bits of twips work alike.
void TestSkyLayout::position()
{
    const struct { double W, H; int Elevation, Azimuth; double X, Y; } points[] = {
        {3000, 3000, 0, 0, 1500, 150},     {3000, 3000, 0, 90, 2850, 1500},  {3000, 3000, 0, 180, 1500, 2850},
        {3000, 3000, 0, 270, 150, 1500},   {3000, 3000, 90, 0, 1500, 1500},  {3000, 3000, 90, 123, 1500, 1500},
        {3000, 3000, 60, 0, 1500, 825},    {3000, 3000, 120, 0, 1500, 2175}, {4000, 2000, 0, 90, 3800, 1000},
        {4000, 2000, 0, 0, 2000, 100},     {100000, 80000, 0, 90, 95000, 40000},
    };
    for (const auto& [w, h, elevation, azimuth, x, y] : points) {
        const SkyLayout l = LayoutSky(w, h, 15, 15);
        const SkyPoint p = SatellitePosition(static_cast<std::int16_t>(elevation), static_cast<std::int16_t>(azimuth), l.CenterX, l.CenterY);
        const double tolerance = 1e-5 * (w + h); // single precision
        QVERIFY2(std::abs(p.X - x) < tolerance && std::abs(p.Y - y) < tolerance,
                 qPrintable(QStringLiteral("%1 up at %2: %3, %4").arg(elevation).arg(azimuth).arg(p.X).arg(p.Y)));
    }
}

// Each class of signal from its first to its last value; beyond 99 dB the value is not believable.
void TestSkyLayout::signalColor()
{
    const std::pair<int, std::int32_t> classes[] = {
        {0, Rgb(128, 128, 128)}, {1, Rgb(255, 0, 0)},   {5, Rgb(255, 0, 0)},   {6, Rgb(255, 128, 0)},
        {15, Rgb(255, 128, 0)},  {16, Rgb(255, 255, 0)}, {20, Rgb(255, 255, 0)}, {21, Rgb(0, 255, 0)},
        {99, Rgb(0, 255, 0)},    {100, Rgb(128, 0, 128)}, {255, Rgb(128, 0, 128)}};
    for (const auto& [snr, colour] : classes)
        QVERIFY2(SignalColor(static_cast<std::uint8_t>(snr)) == colour, qPrintable(QString::number(snr)));
}

// GPS and SBAS as they always were, the last two digits; the others with their letter, GLONASS
// and QZSS by their own numbering.
void TestSkyLayout::satelliteLabel()
{
    const struct { char System; int Prn; const char* Label; } labels[] = {
        {'G', 7, " 7"},    {'G', 12, "12"},   {0, 123, "23"},     {'S', 44, "44"},   {'S', 133, "33"},
        {'R', 70, "R6"},   {'R', 96, "R32"},  {'R', 12, "R12"},   {'E', 5, "E5"},    {'C', 23, "C23"},
        {'J', 2, "J2"},    {'J', 194, "J2"},  {'I', 3, "I3"},     {'C', 201, "C1"}};
    for (const auto& [system, prn, label] : labels)
        QCOMPARE(QString::fromStdString(SatelliteLabel(system, prn)), QString::fromLatin1(label));
}

QTEST_APPLESS_MAIN(TestSkyLayout)
#include "tst_skylayout.moc"
