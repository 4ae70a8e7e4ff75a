#pragma once

#include "InstrumentWindow.h"
#include "SkyPainter.h"

#include <QImage>

#include <array>

// The satellite sky view, window 1: a polar plot of the satellites in view, each placed by its
// elevation and azimuth and coloured by its signal strength. About once a second the whole plot
// is drawn into the hidden one of two off-screen images, which then becomes the shown one, so the
// window never shows a half-drawn plot. It reads only the published satellite table.
class SkyViewWindow : public InstrumentWindow {
    Q_OBJECT

public:
    explicit SkyViewWindow(const NavState& nav, InstrumentHost& host, QWidget* parent = nullptr);

    void AdjustColors(const Brightness& brightness) override;

    // Which image is shown (0 or 1); 0 and no picture at all until the first redraw.
    int ShownBuffer() const { return Shown; }
    bool HasPicture() const { return Drawn; }

protected:
    void Tick() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Redraw();
    QImage& PreparedImage(int index);

    std::array<QImage, 2> PF;
    int Shown = 0;
    bool Drawn = false;
    // Laid out again only when the size has changed since the last redraw.
    QSize LaidOutSize{-1, -1};
    SkyLayout Layout;
    SkyColours Colours;
};
