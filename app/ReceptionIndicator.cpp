#include "ReceptionIndicator.h"

#include <QPainter>

namespace {

std::int32_t RedShade(IndicatorColour colour)
{
    switch (colour) {
    case IndicatorColour::Green: return Rgb(255, 0, 0);
    case IndicatorColour::Red:
    case IndicatorColour::Magenta: return Rgb(160, 0, 0);
    case IndicatorColour::Blue: return Rgb(96, 0, 0);
    case IndicatorColour::Black: break;
    }
    return 0;
}

} // namespace

ReceptionIndicator::ReceptionIndicator(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Reception indicator"));
}

void ReceptionIndicator::SetColour(IndicatorColour colour)
{
    if (colour == Current)
        return;
    Current = colour;
    update();
}

void ReceptionIndicator::SetBrightness(const Brightness& brightness)
{
    Lit = brightness;
    update();
}

void ReceptionIndicator::paintEvent(QPaintEvent*)
{
    const auto value = static_cast<std::int32_t>(Current);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(ScaledColour(Lit.Red ? RedShade(Current) : value, Lit));
    const qreal inset = 1.0;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
