#pragma once

#include "NavState.h"
#include "ScaledColour.h"
#include "SkyLayout.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

class QPainter;

// The fixed colours of the plot, already dimmed for the brightness.
struct SkyColours {
    QColor OuterRing = Qt::black;   // horizon disc
    QColor InnerRing = Qt::black;   // hatch lines of the inner disc
    QColor Center = Qt::black;      // zenith disc
    QColor Letter = Qt::black;      // "N", "E", "S", "W"
    QColor Label = Qt::black;       // the box behind each satellite's label
};

// The published satellite table as one redraw sees it, copied once at its start.
struct SkySnapshot {
    std::array<std::uint16_t, SkySlotCount> Prn{};
    std::array<std::int16_t, SkySlotCount> Elevation{};
    std::array<std::int16_t, SkySlotCount> Azimuth{};
    std::array<std::uint8_t, SkySlotCount> Snr{};
    std::array<char, SkySlotCount> System{};

    static SkySnapshot Of(const NavState& nav);
};

// Where the plot is drawn: a layout in twips and the twips per pixel that turn it into the
// painter's (logical) pixels.
struct SkyCanvas {
    SkyLayout Layout;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
};

// Paints the whole plot: the three discs, the compass letters and one marker per satellite, the
// satellite discs coloured by signal strength for the brightness and labelled, on a light box,
// with their number and their constellation's letter unless they are GPS or SBAS. Slots are painted from the last down to the first,
// so where markers overlap the lower slot lies on top.
void PaintSky(QPainter& painter, const SkyCanvas& canvas, const SkyColours& colours, const SkySnapshot& sky,
              const Brightness& brightness);
