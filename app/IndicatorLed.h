#pragma once

#include "IndicatorColour.h"

#include <QWidget>

// OntvangstLED: the round reception indicator of the "NMEA" tab.
class IndicatorLed : public QWidget {
    Q_OBJECT

public:
    explicit IndicatorLed(QWidget* parent = nullptr);

    void SetColour(IndicatorColour colour);
    IndicatorColour Colour() const { return Current; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    IndicatorColour Current = IndicatorColour::Black;
};
