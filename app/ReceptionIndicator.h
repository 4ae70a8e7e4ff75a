#pragma once

#include "IndicatorColour.h"

#include <QWidget>

// The round reception indicator of the "NMEA" tab: its colour says what the last line was.
class ReceptionIndicator : public QWidget {
    Q_OBJECT

public:
    explicit ReceptionIndicator(QWidget* parent = nullptr);

    void SetColour(IndicatorColour colour);
    IndicatorColour Colour() const { return Current; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    IndicatorColour Current = IndicatorColour::Black;
};
