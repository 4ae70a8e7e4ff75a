#include "DrumCompassWindow.h"

#include "InstrumentColours.h"
#include "LabelLayout.h"
#include "NavState.h"
#include "ScaledColour.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int BaseLineWidth = 2;

QFont LabelFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(points);
    // Colour fringes of subpixel smoothing would put green and blue into red numbers.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// Pens keep their width in pixels whatever the size of the window.
QPen LinePen(const QColor& colour, int pixels)
{
    QPen pen(colour, pixels);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

DrumCompassWindow::DrumCompassWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : InstrumentWindow(2, QStringLiteral("Analog Compass"), QSize(5340, 1605), nav, host, parent)
{
    // The first tick comes quickly; every later one is armed at the end of the tick before.
    Timer1.start(100);
}

void DrumCompassWindow::AdjustColors(const Brightness& brightness)
{
    ScaleColour = ScaledColour(DrumScaleColour, brightness);
    IndexColour = ScaledColour(DrumIndexColour, brightness);
    update();
}

void DrumCompassWindow::Tick()
{
    Timer1.stop();
    if (Nav.FixValid) {
        Heading = NextShownHeading(Heading, Nav.Course);
        Picture = DrawScale(Layout, Heading);
    }
    // Without a fix the ticks stay where they were and "No reception" covers the numbers.
    NoReception = !Nav.FixValid;
    update();
    Timer1.start(300);
}

void DrumCompassWindow::resizeEvent(QResizeEvent* event)
{
    Layout = LayoutDrum(ClientWidthTwips(), ClientHeightTwips(), TwipsPerPixelX());
    Picture = DrawScale(Layout, Heading);
    InstrumentWindow::resizeEvent(event);
}

double DrumCompassWindow::ClientWidthTwips() const
{
    return width() * TwipsPerPixelX();
}

double DrumCompassWindow::ClientHeightTwips() const
{
    return height() * TwipsPerPixelY();
}

void DrumCompassWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintScale(painter);
    if (NoReception)
        PaintNoReception(painter);
    else
        PaintNumbers(painter);
    PaintIndexLine(painter);
}

// In front of everything else, on whole pixels: a line smoothed across a pixel border would show
// at half its brightness, and it must be at least as bright as the numbers.
void DrumCompassWindow::PaintIndexLine(QPainter& painter) const
{
    const DrumLine& index = Layout.Vline1;
    const int width = std::max(2, static_cast<int>(std::lround(Layout.IndexWidth / TwipsPerPixelX())));
    const int left = static_cast<int>(std::lround(index.X1 / TwipsPerPixelX() - width / 2.0));
    const int top = static_cast<int>(std::lround(index.Y1 / TwipsPerPixelY()));
    const int bottom = static_cast<int>(std::lround(index.Y2 / TwipsPerPixelY()));
    painter.fillRect(QRect(left, top, width, std::max(0, bottom - top)), IndexColour);
}

void DrumCompassWindow::PaintScale(QPainter& painter) const
{
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const DrumRect& achter = Layout.Achter;
    painter.setPen(LinePen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(achter.Left / tx, achter.Top / ty, achter.Width / tx, achter.Height / ty));
    const DrumLine& base = Layout.Hline1;
    painter.setPen(LinePen(ScaleColour, BaseLineWidth));
    painter.drawLine(QPointF(base.X1 / tx, base.Y1 / ty), QPointF(base.X2 / tx, base.Y2 / ty));
    for (const DrumTick& tick : Picture.Ticks) {
        painter.setPen(LinePen(ScaleColour, tick.Width));
        painter.drawLine(QPointF(tick.X / tx, tick.Top / ty), QPointF(tick.X / tx, tick.Bottom / ty));
    }
}

void DrumCompassWindow::PaintNumbers(QPainter& painter) const
{
    painter.setPen(ScaleColour);
    for (const DrumNumber& number : Picture.Numbers) {
        // Tiny windows give sizes of 0 points, which no font can show.
        if (number.FontPoints <= 0)
            continue;
        const QFont font = LabelFont(number.FontPoints);
        const QString text = QString::fromStdString(number.Text);
        const QFontMetricsF metrics(font, this);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        const QRectF box(number.AnchorX / TwipsPerPixelX() - w / 2, number.AnchorY / TwipsPerPixelY() - h, w, h);
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void DrumCompassWindow::PaintNoReception(QPainter& painter) const
{
    const QString text = QStringLiteral("No reception");
    const TwipsExtent room = CentredRoom(ClientWidthTwips(), ClientHeightTwips());
    const auto extent = [&](int points) {
        const QFontMetricsF metrics(LabelFont(points), this);
        return TwipsExtent{metrics.horizontalAdvance(text) * TwipsPerPixelX(), metrics.height() * TwipsPerPixelY()};
    };
    const int points = FittedFontSize(NoFixFontSize(ClientHeightTwips()), [&](int size) { return Fill(extent(size), room); });
    const QFont font = LabelFont(points);
    const QFontMetricsF metrics(font, this);
    const double w = metrics.horizontalAdvance(text);
    const double h = metrics.height();
    const TwipsPlace place =
        CentredPlace(ClientWidthTwips(), ClientHeightTwips(), {w * TwipsPerPixelX(), h * TwipsPerPixelY()});
    painter.setPen(ScaleColour);
    painter.setFont(font);
    painter.drawText(QRectF(place.Left / TwipsPerPixelX(), place.Top / TwipsPerPixelY(), w, h), Qt::AlignCenter, text);
}
