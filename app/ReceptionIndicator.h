#pragma once

#include "IndicatorColour.h"
#include "ScaledColour.h"

#include <QWidget>

// The round reception indicator of the "NMEA" tab: its colour says what the last line was. It is
// dimmed with the rest of the main window; in the red night palette its states are told apart
// by brightness: brightest for sentences, dimmer for a port that fails, dimmest for noise.
class ReceptionIndicator : public QWidget {
    Q_OBJECT

public:
    explicit ReceptionIndicator(QWidget* parent = nullptr);

    void SetColour(IndicatorColour colour);
    IndicatorColour Colour() const { return Current; }
    void SetBrightness(const Brightness& brightness);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    IndicatorColour Current = IndicatorColour::Black;
    Brightness Lit;
};
