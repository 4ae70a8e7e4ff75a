// The sky view: the plot's layout in twips for a window's size, where a satellite stands, its
// colour by signal and its label by constellation, and the window's pictures, pixel by pixel.
#include "BrightnessColour.h"
#include "NavState.h"
#include "RecordingHost.h"
#include "ScaledColour.h"
#include "SkyLayout.h"
#include "SkyPainter.h"
#include "SkyViewWindow.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace {

using DrivenSatView = Driven<SkyViewWindow>;

void PutSatellite(NavState& nav, int slot, int prn, int elevation, int azimuth, int snr, char system = 0)
{
    const auto i = static_cast<std::size_t>(slot - 1);
    nav.SkySystem[i] = system;
    nav.SkyPrn[i] = static_cast<std::uint16_t>(prn);
    nav.SkyElevation[i] = static_cast<std::int16_t>(elevation);
    nav.SkyAzimuth[i] = static_cast<std::int16_t>(azimuth);
    nav.SkySnr[i] = static_cast<std::uint8_t>(snr);
}

// Pixels of exactly this colour within radius pixels of a point.
int CountNear(const QImage& image, QPoint centre, int radius, QColor colour)
{
    int count = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.valid(x, y) && image.pixelColor(x, y) == colour)
                ++count;
    return count;
}

} // namespace

class TestSkyView : public QObject {
    Q_OBJECT

private slots:
    void layout();
    void position();
    void signalColor();
    void satelliteLabel();
    void init();
    void firstRedrawComesSoonThenEverySecond();
    void satelliteDiscAtItsPosition();
    void nightIsDim();
    void resizeShowsAtTheNextRedraw();
    void otherConstellationsCarryTheirLetter();
    void labelsStayOnTheirDiscs();

private:
    // The first redraw of a window of that size, lit as the host says.
    QImage Plot(QSize size = QSize(200, 200));
    void LabelsStayOnTheirDiscs(QSize size, const QString& mode);

    NavState Nav;
    RecordingHost Host;
};

// The plot is laid out in the largest centred square: a square window as designed, the others
// with the same plot in their middle. The compass letters stand at 5, 50 and 95 % of the square,
// the letter's height taken off; an empty window has nothing of negative size. The pictures below
// show each satellite's marker at its place.
void TestSkyView::layout()
{
    const SkyLayout square = LayoutSky(3000, 3000, 15, 15);
    QCOMPARE(QList<qint64>({square.MarkerWidth, square.MarkerHeight, square.PrnFontSize, square.LetterFontSize}),
             QList<qint64>({250, 250, 7, 11}));
    QCOMPARE(QList<float>({square.CenterRadius, square.InnerRingRadius, square.OuterRingRadius, square.HorizonRadius}),
             QList<float>({150.0f, 6000.0f / 7, static_cast<float>(6000 / 4.2), static_cast<float>(6000 / 4.2) - 125}));
    for (const auto& [w, h] : {std::pair{4000, 3000}, {3000, 4000}, {3000, 100000}}) {
        const SkyLayout l = LayoutSky(w, h, 15, 15);
        const qint64 dx = (w - 3000) / 2;
        const qint64 dy = (h - 3000) / 2;
        QCOMPARE(QList<qint64>({l.CenterX - dx, l.CenterY - dy, l.NorthY - dy, l.MiddleY - dy, l.SouthY - dy, l.WestX - dx, l.MiddleX - dx,
                                l.EastX - dx, l.MarkerHeight, l.PrnFontSize}),
                 QList<qint64>({1500, 1500, square.NorthY, square.MiddleY, square.SouthY, square.WestX, square.MiddleX, square.EastX,
                                square.MarkerHeight, square.PrnFontSize}));
        QCOMPARE(l.OuterRingRadius, square.OuterRingRadius);
    }
    const qint64 letter = square.LetterFontSize * 15;
    for (const auto& [near, middle, far] : {std::tuple{square.NorthY, square.MiddleY, square.SouthY}, {square.WestX, square.MiddleX, square.EastX}}) {
        QVERIFY(std::abs(2 * near + letter - 300) <= 1);
        QVERIFY(std::abs(2 * middle + letter - 3000) <= 1);
        QVERIFY(std::abs(2 * far + letter - 5700) <= 1);
    }
    const SkyLayout empty = LayoutSky(0, 0, 15, 15);
    QCOMPARE(QList<qint64>({empty.MarkerHeight, empty.PrnFontSize, empty.LetterFontSize}), QList<qint64>({0, 1, 1}));
    QCOMPARE(QList<float>({empty.OuterRingRadius, empty.HorizonRadius}), QList<float>({0.0f, 0.0f}));
}

// A satellite stands at the cosine of its elevation times the horizon radius from the centre,
// the zenith at the centre; an elevation beyond 90 crosses it; sizes beyond 16 bits of twips work
// alike. Whatever the window's shape, every disc lies wholly on the horizon disc.
void TestSkyView::position()
{
    const SkyLayout l = LayoutSky(3000, 3000, 15, 15);
    const float r = l.HorizonRadius;
    const struct { double W, H; int Elevation, Azimuth; double X, Y; } points[] = {
        {3000, 3000, 0, 0, 1500, 1500 - r},    {3000, 3000, 0, 90, 1500 + r, 1500}, {3000, 3000, 0, 180, 1500, 1500 + r},
        {3000, 3000, 0, 270, 1500 - r, 1500},  {3000, 3000, 90, 0, 1500, 1500},     {3000, 3000, 90, 123, 1500, 1500},
        {3000, 3000, 60, 0, 1500, 1500 - r / 2}, {3000, 3000, 120, 0, 1500, 1500 + r / 2},
        {4000, 3000, 0, 90, 2000 + r, 1500},   {3000, 6000, 0, 0, 1500, 3000 - r},  {100000, 80000, 90, 90, 50000, 40000},
    };
    for (const auto& [w, h, elevation, azimuth, x, y] : points) {
        const SkyPoint p = SatellitePosition(LayoutSky(w, h, 15, 15), static_cast<std::int16_t>(elevation), static_cast<std::int16_t>(azimuth));
        const double tolerance = 1e-5 * (w + h); // single precision
        QVERIFY2(std::abs(p.X - x) < tolerance && std::abs(p.Y - y) < tolerance,
                 qPrintable(QStringLiteral("%1 up at %2: %3, %4").arg(elevation).arg(azimuth).arg(p.X).arg(p.Y)));
    }
    for (const QSize size : {QSize(400, 1000), QSize(1200, 400), QSize(352, 350)}) {
        const SkyLayout sky = LayoutSky(size.width() * 15, size.height() * 15, 15, 15);
        for (int elevation = -10; elevation <= 180; elevation += 5) {
            for (int azimuth = 0; azimuth < 360; azimuth += 15) {
                const SkyMarker m = PlaceMarker(sky, SatellitePosition(sky, static_cast<std::int16_t>(elevation), static_cast<std::int16_t>(azimuth)));
                const double out = std::hypot(double(m.DiscCenterX - sky.CenterX), double(m.DiscCenterY - sky.CenterY)) + double(m.DiscRadius);
                QVERIFY2(out <= sky.OuterRingRadius + 1, qPrintable(QStringLiteral("%1x%2 %3 up at %4").arg(size.width()).arg(size.height()).arg(elevation).arg(azimuth)));
            }
        }
    }
}

// Each class of signal from its first to its last value; beyond 99 dB the value is not believable.
void TestSkyView::signalColor()
{
    const std::pair<int, std::int32_t> classes[] = {
        {0, Rgb(128, 128, 128)}, {1, Rgb(255, 0, 0)},   {5, Rgb(255, 0, 0)},   {6, Rgb(255, 128, 0)},
        {15, Rgb(255, 128, 0)},  {16, Rgb(255, 255, 0)}, {20, Rgb(255, 255, 0)}, {21, Rgb(0, 255, 0)},
        {99, Rgb(0, 255, 0)},    {100, Rgb(128, 0, 128)}, {255, Rgb(128, 0, 128)}};
    for (const auto& [snr, colour] : classes)
        QVERIFY2(SignalColor(static_cast<std::uint8_t>(snr)) == colour, qPrintable(QString::number(snr)));
}

// GPS and SBAS by their whole number; the others with their letter, GLONASS and QZSS by their own
// numbering.
void TestSkyView::satelliteLabel()
{
    const struct { char System; int Prn; const char* Label; } labels[] = {
        {'G', 7, "7"},     {'G', 12, "12"},   {0, 123, "123"},    {'S', 44, "44"},   {'S', 133, "133"},
        {'R', 70, "R6"},   {'R', 96, "R32"},  {'R', 12, "R12"},   {'E', 5, "E5"},    {'C', 23, "C23"},
        {'J', 2, "J2"},    {'J', 194, "J2"},  {'I', 3, "I3"},     {'C', 201, "C1"}};
    for (const auto& [system, prn, label] : labels)
        QCOMPARE(QString::fromStdString(SatelliteLabel(system, prn)), QString::fromLatin1(label));
}

void TestSkyView::init()
{
    Nav = NavState();
    Host.Lit = {};
}

QImage TestSkyView::Plot(QSize size)
{
    DrivenSatView view(Nav, Host);
    view.AdjustColors(Host.Lit);
    view.resize(size);
    view.Tick();
    return view.grab().toImage();
}

// Nothing until the first redraw, then a picture every second, drawn alternately in each buffer;
// a window of no size keeps ticking and draws once it has one.
void TestSkyView::firstRedrawComesSoonThenEverySecond()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    DrivenSatView view(Nav, Host);
    view.AdjustColors({});
    QCOMPARE(view.Interval(), 50);
    QVERIFY(!view.HasPicture());
    QCOMPARE(Brightest(view.grab().toImage()), QColor(Qt::black));
    for (const int shown : {1, 0, 1}) {
        view.Tick();
        QCOMPARE(view.ShownBuffer(), shown);
    }
    QCOMPARE(view.Interval(), 1000);
    QVERIFY(view.HasPicture());
    QVERIFY(Brightest(view.grab().toImage()).value() > 100);

    PutSatellite(Nav, 1, 22, 0, 90, 30);
    DrivenSatView empty(Nav, Host);
    empty.resize(0, 0);
    empty.Tick();
    empty.Tick();
    QCOMPARE(empty.ShownBuffer(), 0);
    QCOMPARE(empty.Interval(), 1000);
    empty.resize(10, 10);
    empty.Tick();
    QVERIFY(empty.HasPicture());
}

// A disc in its signal colour where its satellite stands and nowhere else, its number on a light
// blue box in its middle; of two at the same point, the lower slot's lies on top.
void TestSkyView::satelliteDiscAtItsPosition()
{
    const struct { int Elevation, Azimuth, Snr; QColor Colour; } satellites[] = {
        {0, 90, 35, QColor(0, 255, 0)}, {45, 225, 18, QColor(255, 255, 0)}, {90, 10, 0, QColor(128, 128, 128)}};
    const SkyLayout l = LayoutSky(3000, 3000, 15, 15); // the plot of 200 x 200 pixels
    for (const auto& [elevation, azimuth, snr, colour] : satellites) {
        Nav = NavState();
        PutSatellite(Nav, 5, 7, elevation, azimuth, snr);
        const QImage image = Plot();
        const SkyPoint p = SatellitePosition(l, static_cast<std::int16_t>(elevation), static_cast<std::int16_t>(azimuth));
        const QPoint at(qRound(p.X / 15), qRound(p.Y / 15));
        // The disc has a radius of 125 twips, 8 pixels.
        QVERIFY2(CountNear(image, at, 8, colour) > 60, qPrintable(QStringLiteral("at %1,%2").arg(at.x()).arg(at.y())));
        QVERIFY(CountNear(image, at, 10, QColor(192, 192, 255)) > 10);
        QVERIFY(CountNear(image, at, 4, colour) < 81 - 4);
        QCOMPARE(CountNear(image, QPoint(100, 100), 100, colour), CountNear(image, at, 10, colour));
    }
    Nav = NavState();
    PutSatellite(Nav, 2, 12, 30, 300, 3);  // red
    PutSatellite(Nav, 1, 13, 30, 300, 50); // green, at the same point
    const QImage image = Plot();
    QVERIFY(CountNear(image, QPoint(100, 100), 100, QColor(0, 255, 0)) > 60);
    QCOMPARE(CountNear(image, QPoint(100, 100), 100, QColor(255, 0, 0)), 0);
}

// Every signal class in the sky at once. Nothing is brighter than the mode allows; in red nothing
// has any green or blue, and the signal shades can still be told apart: each class is drawn, a
// quarter brighter than the one below it.
void TestSkyView::nightIsDim()
{
    // In red the empty plot is told apart by brightness: the zenith disc above the horizon disc.
    Host.Lit = {"Dusk", true};
    const QImage empty = Plot(QSize(352, 350));
    const int zenith = empty.pixelColor(176, 175).red();
    const int horizon = empty.pixelColor(176 + 95, 175 + 95).red();
    QVERIFY2(zenith > horizon && horizon > 0, qPrintable(QStringLiteral("%1 %2").arg(zenith).arg(horizon)));
    const int snrs[] = {0, 3, 10, 18, 40};
    for (int slot = 1; slot <= 32; ++slot)
        PutSatellite(Nav, slot, slot + 100, (slot * 7) % 90, (slot * 37) % 360, snrs[slot % 5]);
    const struct { const char* Mode; bool Red; int Level; } modes[] = {{"Night", false, 64}, {"Dusk", true, 128}, {"Night", true, 64}};
    for (const auto& [mode, red, level] : modes) {
        Host.Lit = {mode, red};
        const QImage image = Plot(QSize(352, 350));
        const QColor brightest = Brightest(image);
        QVERIFY2(brightest.value() <= level && brightest.value() >= level * 5 / 8, qPrintable(mode + brightest.name()));
        if (!red)
            continue;
        QCOMPARE(brightest.green() + brightest.blue(), 0);
        int below = 0;
        for (const int snr : snrs) {
            const QColor shade = ScaledColour(SignalColor(static_cast<std::uint8_t>(snr), true), Host.Lit);
            QVERIFY2(CountNear(image, QPoint(176, 175), 176, shade) > 30 && shade.red() >= below * 5 / 4,
                     qPrintable(QStringLiteral("%1 dB: %2").arg(snr).arg(shade.name())));
            below = shade.red();
        }
    }
}

// A size change shows at the next redraw, at any size: beyond 16 bits of twips too.
void TestSkyView::resizeShowsAtTheNextRedraw()
{
    PutSatellite(Nav, 1, 22, 0, 90, 30);
    DrivenSatView view(Nav, Host);
    view.AdjustColors({});
    view.resize(200, 200);
    view.Tick();
    const QImage small = view.grab().toImage();
    view.resize(2400, 2300);   // 36000 x 34500 twips
    const QImage grown = view.grab().toImage();
    QCOMPARE(grown.copy(0, 0, 200, 200), small);
    QCOMPARE(CountNear(grown, QPoint(350, 350), 49, Qt::black), 99 * 99);
    view.Tick();
    const QImage image = view.grab().toImage();
    QCOMPARE(image.pixelColor(1200, 1150), QColor(128, 0, 0));   // zenith at the centre
    // East horizon: its disc (96 pixels across) touches the horizon disc's rim from within, at
    // 2295 of the square's 2300 pixels: 1095 right of the centre.
    QVERIFY(CountNear(image, QPoint(1200 + 1095 - 96, 1150), 96, QColor(0, 255, 0)) > 10000);
    QCOMPARE(image.pixelColor(1200 + 1095 + 3, 1150), QColor(Qt::black));
}

// "5" becomes "E5" for Galileo: the label differs, the rest of the plot is the same.
void TestSkyView::otherConstellationsCarryTheirLetter()
{
    PutSatellite(Nav, 1, 5, 40, 200, 30, Gnss::Gps);
    const QImage gps = Plot(QSize(352, 350));
    Nav.SkySystem[0] = Gnss::Galileo;
    const QImage galileo = Plot(QSize(352, 350));
    const SkyLayout l = LayoutSky(5280, 5250, 15, 15);
    const SkyMarker m = PlaceMarker(l, SatellitePosition(l, 40, 200));
    const int r = static_cast<int>(m.DiscRadius / 15) + 1;
    const QRect label(QPoint(static_cast<int>(m.DiscCenterX / 15) - r, static_cast<int>(m.DiscCenterY / 15) - r), QSize(2 * r + 1, 2 * r + 1));
    QVERIFY(galileo.copy(label) != gps.copy(label));
    QImage outside[2] = {gps, galileo};
    for (QImage& image : outside)
        QPainter(&image).fillRect(label, Qt::black);
    QCOMPARE(outside[1], outside[0]);
}

// Labels of one to three characters, on their magenta boxes, on a plot whose rings and letters are
// white: a box or ink beyond a disc's rim would show as anything but white there. In windows of
// every shape, a plot as wide as the window's smaller side.
void TestSkyView::labelsStayOnTheirDiscs()
{
    for (const QSize size : {QSize(90, 90), QSize(352, 350), QSize(1200, 400), QSize(400, 1000), QSize(1000, 1000)}) {
        for (const char* mode : {"Daylight", "Shade", "Dusk", "Night"})
            LabelsStayOnTheirDiscs(size, mode);
    }
}

void TestSkyView::LabelsStayOnTheirDiscs(QSize size, const QString& mode)
{
    Nav = NavState();
    const SkyLayout l = LayoutSky(size.width() * 15, size.height() * 15, 15, 15);
    QList<SkyMarker> discs;
    for (const auto& [system, prn, azimuth] : {std::tuple{Gnss::Glonass, 83, 0}, {Gnss::Galileo, 36, 72}, {Gnss::Sbas, 123, 144},
                                               {Gnss::Gps, 7, 216}, {Gnss::Gps, 12, 288}}) {
        PutSatellite(Nav, static_cast<int>(discs.size()) + 1, prn, 0, azimuth, 30, system);
        discs << PlaceMarker(l, SatellitePosition(l, 0, static_cast<std::int16_t>(azimuth)));
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintSky(painter, {l, 15, 15}, {Qt::white, Qt::white, Qt::white, Qt::white, Qt::magenta}, SkySnapshot::Of(Nav), {mode});
    painter.end();

    const int discGreen = ScaledColour(Rgb(0, 255, 0), {mode}).green(); // the signal colour of 30 dB
    int spilt = 0;
    int ink = 0;
    int boxed = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            // The rim's own smoothing reaches a pixel out.
            const bool onDisc = std::any_of(discs.begin(), discs.end(), [&](const SkyMarker& m) {
                return std::hypot(x + 0.5 - m.DiscCenterX / 15.0, y + 0.5 - m.DiscCenterY / 15.0) <= m.DiscRadius / 15.0 + 1.5;
            });
            spilt += !onDisc && c != Qt::white;
            ink += onDisc && c.red() == 0 && c.green() < discGreen / 2;
            boxed += c == Qt::magenta;
        }
    }
    QVERIFY2(spilt == 0, qPrintable(QStringLiteral("%1 pixels around %2x%3 %4").arg(spilt).arg(size.width()).arg(size.height()).arg(mode)));
    // A disc of a few pixels has no room for ink darker than a blur.
    QVERIFY(ink > 5 || discs[0].DiscRadius < 75);
    QVERIFY(boxed > 0);
}

QTEST_MAIN(TestSkyView)
#include "tst_skyview.moc"
