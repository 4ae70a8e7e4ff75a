#include "SkyPainter.h"

#include "NavState.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QFont PlotFont(std::int64_t points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(static_cast<double>(points));
    // Colour fringes of subpixel smoothing would put green and blue into red letters.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// Converts twips to the painter's pixels.
class PixelMap {
public:
    explicit PixelMap(const SkyCanvas& canvas) : Tx(canvas.TwipsPerPixelX), Ty(canvas.TwipsPerPixelY) {}

    QPointF Point(double x, double y) const { return {x / Tx, y / Ty}; }
    double X(double twips) const { return twips / Tx; }
    double Y(double twips) const { return twips / Ty; }

private:
    double Tx;
    double Ty;
};

void Disc(QPainter& painter, const PixelMap& px, QPointF centre, double radius, const QBrush& fill,
          const QColor& outline)
{
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawEllipse(px.Point(centre.x(), centre.y()), px.X(radius), px.Y(radius));
}

// Text drawn with its top-left corner at a point, without background; ascent is the current
// font's, looked up once per font rather than once per text.
void TextAt(QPainter& painter, const PixelMap& px, double x, double y, const QString& text, int ascent)
{
    painter.drawText(px.Point(x, y) + QPointF(0, ascent), text);
}

void PaintDiscsAndLetters(QPainter& painter, const PixelMap& px, const SkyLayout& l, const SkyColours& colours)
{
    const QPointF centre(static_cast<double>(l.CenterX), static_cast<double>(l.CenterY));
    Disc(painter, px, centre, l.OuterRingRadius, colours.OuterRing, colours.OuterRing);
    // Only the hatch lines are drawn: the horizon disc shows between them.
    Disc(painter, px, centre, l.InnerRingRadius, QBrush(colours.InnerRing, Qt::BDiagPattern), colours.InnerRing);
    Disc(painter, px, centre, l.CenterRadius, colours.Center, colours.Center);

    painter.setFont(PlotFont(l.LetterFontSize));
    painter.setPen(colours.Letter);
    const auto at = [](std::int64_t v) { return static_cast<double>(v); };
    const int ascent = painter.fontMetrics().ascent();
    TextAt(painter, px, at(l.MiddleX), at(l.NorthY), QStringLiteral("N"), ascent);
    TextAt(painter, px, at(l.EastX), at(l.MiddleY), QStringLiteral("E"), ascent);
    TextAt(painter, px, at(l.MiddleX), at(l.SouthY), QStringLiteral("S"), ascent);
    TextAt(painter, px, at(l.WestX), at(l.MiddleY), QStringLiteral("W"), ascent);
}

// A satellite's label, black in every brightness mode, on a light box just large enough for it,
// centred on its disc. A label that would spill past the disc ("R19" on a small disc) is drawn
// smaller, box and all, so that the box never reaches beyond the disc.
void PaintLabel(QPainter& painter, QPointF centre, double radius, const QString& label, const QColor& box)
{
    const QRectF ink = painter.fontMetrics().tightBoundingRect(label);
    const double pad = std::max(1.0, ink.height() / 6);
    const QRectF boxed = ink.adjusted(-pad, -pad, pad, pad).translated(-ink.center());
    const double halfDiagonal = std::hypot(boxed.width(), boxed.height()) / 2;
    const double scale = halfDiagonal > radius ? std::max(radius, 0.0) / halfDiagonal : 1.0;
    painter.fillRect(QRectF(centre + boxed.topLeft() * scale, boxed.size() * scale), box);
    painter.save();
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.setPen(Qt::black);
    painter.drawText(-ink.center(), label);
    painter.restore();
}

void PaintSatellite(QPainter& painter, const PixelMap& px, const SkyLayout& l, const SkyColours& colours,
                    const QColor& signal, SkyPoint point, const std::string& label)
{
    const SkyMarker m = PlaceMarker(l, point);
    const QPointF centre(static_cast<double>(m.DiscCenterX), static_cast<double>(m.DiscCenterY));
    Disc(painter, px, centre, static_cast<double>(m.DiscRadius), signal, signal);
    PaintLabel(painter, px.Point(centre.x(), centre.y()),
               std::min(px.X(static_cast<double>(m.DiscRadius)), px.Y(static_cast<double>(m.DiscRadius))),
               QString::fromStdString(label), colours.Label);
}

} // namespace

SkySnapshot SkySnapshot::Of(const NavState& nav)
{
    return {nav.SkyPrn, nav.SkyElevation, nav.SkyAzimuth, nav.SkySnr, nav.SkySystem};
}

void PaintSky(QPainter& painter, const SkyCanvas& canvas, const SkyColours& colours, const SkySnapshot& sky,
              const Brightness& brightness)
{
    const PixelMap px(canvas);
    const SkyLayout& l = canvas.Layout;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintDiscsAndLetters(painter, px, l, colours);
    painter.setFont(PlotFont(l.PrnFontSize));
    for (std::size_t slot = sky.Prn.size(); slot-- > 0;) {
        if (sky.Prn[slot] == 0)
            continue;
        const SkyPoint point = SatellitePosition(l, sky.Elevation[slot], sky.Azimuth[slot]);
        PaintSatellite(painter, px, l, colours, ScaledColour(SignalColor(sky.Snr[slot], brightness.Red), brightness), point,
                       SatelliteLabel(sky.System[slot], sky.Prn[slot]));
    }
}
