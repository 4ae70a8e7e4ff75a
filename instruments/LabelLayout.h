#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The geometry of the digital instrument windows, in twips, as pure arithmetic: the widgets only
// apply what these return, so every layout can be checked without a screen. SW and SH are the
// client width and height; "x div k" is x rounded half to even, divided by k, truncated toward
// zero (DivRounded).

struct TwipsExtent {
    double Width = 0;
    double Height = 0;
};

struct TwipsPlace {
    double Left = 0;
    double Top = 0;
};

// The gap around and between the labels: (SW + SH) / 1000, halves to even.
std::int16_t Margin(double sw, double sh);

// A label's font size in points: the smaller of SH div a + 1 and SW div b + 1, so the text grows
// with the window but never outgrows either side of it.
int FontSize(double sw, double sh, int heightDivisor, int widthDivisor);

// The value labels without a fix show two lines of "No reception" in a size that follows the
// height only.
int NoFixFontSize(double sh);

// Labels stacked from the top, each centred across: the first at Margin, every further one a
// Margin below the one above it. A label wider than the window gets a negative left edge.
std::vector<TwipsPlace> StackedPlaces(double sw, double sh, const std::vector<TwipsExtent>& sizes);

// A single label centred both ways (offset by Margin).
TwipsPlace CentredPlace(double sw, double sh, TwipsExtent size);

// The box of a single label centred in the window: all of it within the margins.
TwipsExtent CentredRoom(double sw, double sh);

// The largest whole point size from 1 to upper at which a text fits its room: fill(size) is how
// much of the room the text takes at that size (the larger of its width and height shares), and
// grows with the size. A text that does not fit even at 1 point gets 1: nothing is smaller.
// The font rules are the upper bound, so a text is shrunk rather than cut off at either side.
int FittedFontSize(int upper, const std::function<double(int)>& fill);

// How much of a room an extent takes: above 1 does not fit.
double Fill(TwipsExtent extent, TwipsExtent room);

// Font sizes for labels stacked in a window (or one label centred in it): each the largest up to
// its rule's size at which its text fits the width between the margins, then all made smaller by
// one common share where the stack would not fit the height. extentAt(label, points) measures a
// label's text at a size.
std::vector<int> FittedStack(double sw, double sh, const std::vector<int>& ruleSizes,
                             const std::function<TwipsExtent(std::size_t, int)>& extentAt);
