#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The geometry of the analog compass: a horizontal drum scale seen from the front, 80 degrees to
// either side of the heading under a fixed red index line. Everything here is in twips of the
// window's client area (line widths in pixels) and depends on nothing but its arguments, so the
// window only paints what these functions return.

struct DrumLine {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
};

struct DrumRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

// What the layout fixes for a client size: the black background rectangle Achter, the base line
// Hline1 that every tick stands on and the index line Vline1.
struct DrumLayout {
    std::int32_t Margin = 0;
    DrumRect Achter;
    DrumLine Hline1;
    DrumLine Vline1;
    // The index line's width: in proportion to the window, so that the one thing the window is
    // for can be seen from across a cockpit, and never thinner than two pixels.
    double IndexWidth = 0;
};

// One tick Streep(i): a vertical line at X from Top down to Bottom (the base line).
struct DrumTick {
    double X = 0;
    double Top = 0;
    double Bottom = 0;
    int Width = 1;        // pixels: 2 on every 10 degrees
    int Value = 0;        // tenths of a degree, 0..3599
};

// One number label Nummer(j). The label's left edge is AnchorX minus half its width and its top
// edge AnchorY minus its height: the text stands centred on top of its long tick.
struct DrumNumber {
    std::string Text;
    double FontPoints = 0;
    double AnchorX = 0;
    double AnchorY = 0;
};

inline constexpr int DrumTickCount = 33;
inline constexpr int DrumCentreTick = 16;
inline constexpr int DrumNumberCount = 8;

struct DrumPicture {
    std::array<DrumTick, DrumTickCount> Ticks;
    std::vector<DrumNumber> Numbers;   // at most DrumNumberCount; the other labels are hidden
};

// Full circle in tenths of a degree.
inline constexpr int FullTurn = 3600;

// The layout for a client area of clientWidth x clientHeight twips; borderTwips is the width of
// Achter's one-pixel border in twips (one pixel's worth of twips).
DrumLayout LayoutDrum(double clientWidth, double clientHeight, double borderTwips);

// Positions the 33 ticks and the numbers for the heading under the index line (tenths of a degree).
// Only the differences between tick values and the heading matter, so adding whole turns to
// shownHeading changes nothing.
DrumPicture DrawScale(const DrumLayout& layout, int shownHeading);

// One glide step toward the course (degrees): a quarter of the remaining difference, taken the
// shorter way round, rounded half to even, and brought back into 0..3599. A course that is not a
// number leaves the heading where it is.
int NextShownHeading(int shownHeading, float courseDegrees);
