#pragma once

#include "BrightnessColour.h"

#include <cstdint>

// The undimmed colours of the sky plot, red in the low byte; the satellites' own come from
// SignalColor.
struct PlotColours {
    std::int32_t OuterRing, InnerRing, Center, Letter, Label;
};

inline constexpr PlotColours DayPlotColours{Rgb(0, 0, 128), Rgb(192, 192, 0), Rgb(128, 0, 0), Rgb(128, 0, 0),
                                            Rgb(192, 192, 255)};
// In red the plot is told apart by brightness alone: the horizon darkest, below every satellite's
// shade, and the letters brightest.
inline constexpr PlotColours RedPlotColours{Rgb(32, 0, 0), Rgb(80, 0, 0), Rgb(128, 0, 0), Rgb(255, 0, 0),
                                            Rgb(224, 0, 0)};
