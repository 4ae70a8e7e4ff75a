#include "SkyViewWindow.h"

#include "InstrumentHost.h"
#include "ScaledColour.h"
#include "SkyPlotColours.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr int FirstRedrawMs = 50;
constexpr int RedrawPauseMs = 1000;

} // namespace

SkyViewWindow::SkyViewWindow(const NavState& nav, InstrumentHost& host, QWidget* parent)
    : InstrumentWindow(1, QStringLiteral("Satelite View"), QSize(5280, 5250), nav, host, parent)
{
    // Nothing is shown until the first plot is complete, shortly after opening.
    Timer1.start(FirstRedrawMs);
}

void SkyViewWindow::AdjustColors(const Brightness& brightness)
{
    // Takes effect at the next redraw.
    const PlotColours& base = brightness.Red ? RedPlotColours : DayPlotColours;
    Colours.OuterRing = ScaledColour(base.OuterRing, brightness);
    Colours.InnerRing = ScaledColour(base.InnerRing, brightness);
    Colours.Center = ScaledColour(base.Center, brightness);
    Colours.Letter = ScaledColour(base.Letter, brightness);
    Colours.Label = ScaledColour(base.Label, brightness);
}

void SkyViewWindow::Tick()
{
    // The next redraw is timed from the end of this one, however long it took.
    Timer1.stop();
    Redraw();
    Timer1.start(RedrawPauseMs);
}

void SkyViewWindow::paintEvent(QPaintEvent* /*event*/)
{
    if (!Drawn)
        return;
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), PF[static_cast<std::size_t>(Shown)]);
}

QImage& SkyViewWindow::PreparedImage(int index)
{
    QImage& image = PF[static_cast<std::size_t>(index)];
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    if (image.size() != pixels || image.devicePixelRatio() != ratio) {
        image = QImage(pixels, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        // Font sizes in points come out at the size the twips layout expects.
        constexpr double inchesPerMetre = 1 / 0.0254;
        image.setDotsPerMeterX(static_cast<int>(std::lround(1440 / TwipsPerPixelX() * inchesPerMetre)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(1440 / TwipsPerPixelY() * inchesPerMetre)));
    }
    image.fill(Qt::black);
    return image;
}

void SkyViewWindow::Redraw()
{
    // The whole plot is drawn from one copy of the satellite table in one go; nothing else runs
    // meanwhile, so the window cannot change or close under the redraw.
    const SkySnapshot sky = SkySnapshot::Of(Nav);
    // A size change shows at the next redraw, at the size the window has now.
    if (size() != LaidOutSize) {
        LaidOutSize = size();
        Layout = LayoutSky(width() * TwipsPerPixelX(), height() * TwipsPerPixelY(), TwipsPerPixelX(),
                           TwipsPerPixelY());
    }
    const int hidden = Shown == 0 ? 1 : 0;
    QImage& image = PreparedImage(hidden);
    // A window shrunk to nothing has no pixels to paint; it still swaps and keeps its rhythm.
    if (!image.isNull()) {
        QPainter painter(&image);
        PaintSky(painter, {Layout, TwipsPerPixelX(), TwipsPerPixelY()}, Colours, sky, Host.CurrentBrightness());
    }
    Shown = hidden;
    Drawn = true;
    update();
}
