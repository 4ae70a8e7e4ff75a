#pragma once

#include "ScaledColour.h"

#include <QGraphicsEffect>
#include <QPalette>

// How the main window is lit. In "Daylight" it looks like any other window of the desktop. Below
// it, it takes the instruments' look, a dark ground with light text, every colour dimmed by the
// brightness factor, so that the window that carries the settings does not glare beside the dimmed
// instruments; with the red night palette every colour is red only. By day: an empty palette,
// which gives a widget the desktop's own back.
QPalette PaletteFor(const Brightness& brightness);

// The brightest channel value the brightness allows: 255 by day, 64 at "Night".
int BrightnessLevel(const Brightness& brightness);

// Makes every pixel of a widget red only and no brighter than a level. A style draws some of its
// shading (gradients, contrast lines) in colours of its own, derived from the palette or fixed;
// this keeps them within the red night palette too.
class RedOnlyEffect : public QGraphicsEffect {
    Q_OBJECT

public:
    explicit RedOnlyEffect(int level, QObject* parent = nullptr) : QGraphicsEffect(parent), Level(level) {}

protected:
    void draw(QPainter* painter) override;

private:
    int Level;
};
