#include "ReceptionIndicator.h"

#include <QPainter>

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

void ReceptionIndicator::paintEvent(QPaintEvent*)
{
    const int value = static_cast<int>(Current);
    const QColor fill(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(fill);
    const qreal inset = 1.0;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
