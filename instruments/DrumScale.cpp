#include "DrumScale.h"

#include "LabelLayout.h"
#include "Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

// Tick spacing and the intervals that get a wider tick and a long tick with a number, in tenths of
// a degree.
constexpr int TickStep = 50;
constexpr int WideTickEvery = 100;
constexpr int NumberEvery = 300;

double NotNegative(double x)
{
    return x >= 0 ? x : 0;
}

// Floor division, also for negative dividends: the tick below -75 is -100, not -50.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// 1 at the centre tick, about 0.54 at both ends: ticks and numbers shrink as the drum turns away.
double Foreshortening(int i)
{
    return std::cos((i - DrumCentreTick) / 16.0);
}

int IntoOneTurn(std::int64_t tenths)
{
    return static_cast<int>(((tenths % FullTurn) + FullTurn) % FullTurn);
}

DrumTick PlaceTick(const DrumLayout& layout, int i, int shownHeading, float k, double centre)
{
    const std::int64_t offset = static_cast<std::int64_t>(i - DrumCentreTick) * TickStep + shownHeading;
    const std::int64_t value = FloorDiv(offset, TickStep) * TickStep;
    const double d = static_cast<double>(value - shownHeading);
    DrumTick tick;
    // The cosine of D squeezes the spacing toward the ends, as on a drum seen from the front.
    tick.X = centre - d * k * std::cos(d / 1100.0);
    tick.Value = IntoOneTurn(value);
    const double baseY = layout.Hline1.Y1;
    const double length = (tick.Value % NumberEvery == 0 ? 30 : 15) * layout.Margin * Foreshortening(i);
    tick.Top = baseY - length;
    tick.Bottom = baseY;
    tick.Width = tick.Value % WideTickEvery == 0 ? 2 : 1;
    return tick;
}

} // namespace

DrumLayout LayoutDrum(double clientWidth, double clientHeight, double borderTwips)
{
    DrumLayout layout;
    const std::int32_t margin = Margin(clientWidth, clientHeight);
    layout.Margin = margin;
    // A window narrower or lower than two margins gets an empty rectangle, never a negative one.
    layout.Achter = {static_cast<double>(margin), static_cast<double>(margin),
                     NotNegative(clientWidth - 2.0 * margin), NotNegative(clientHeight - 2.0 * margin)};
    const DrumRect& achter = layout.Achter;
    const double baseY = clientHeight * 0.8;
    layout.Hline1 = {borderTwips + achter.Left + margin, baseY, achter.Width - (borderTwips + margin), baseY};
    const double centre = static_cast<double>(DivRounded(achter.Width + achter.Left, 2));
    layout.Vline1 = {centre, margin + achter.Top, centre, achter.Height - (borderTwips + margin)};
    layout.IndexWidth = std::max(2 * borderTwips, (clientWidth + clientHeight) / 150);
    return layout;
}

DrumPicture DrawScale(const DrumLayout& layout, int shownHeading)
{
    // Twips per tenth of a degree at the centre. 32 bits where the window used 16: a window wider
    // than about 2200 pixels would not fit.
    const auto length = static_cast<std::int32_t>(RoundHalfEven(layout.Hline1.X2 - layout.Hline1.X1));
    const float k = static_cast<float>(length) / 1300.0f;
    const double centre = RoundHalfEven(layout.Vline1.X1);
    DrumPicture picture;
    for (int i = 0; i < DrumTickCount; ++i) {
        const DrumTick tick = PlaceTick(layout, i, shownHeading, k, centre);
        picture.Ticks[static_cast<std::size_t>(i)] = tick;
        if (tick.Value % NumberEvery == 0) {
            picture.Numbers.push_back({std::to_string(tick.Value / 10), 3.0 * layout.Margin * Foreshortening(i),
                                       tick.X, tick.Top});
        }
    }
    return picture;
}

int NextShownHeading(int shownHeading, float courseDegrees)
{
    // Single precision, as the course is kept.
    const float difference = courseDegrees * 10.0f - static_cast<float>(shownHeading);
    if (!std::isfinite(difference))
        return IntoOneTurn(shownHeading);
    // A course outside 0..360 (the receiver's value is not checked) is reduced to within a turn
    // first, so that the shorter way is found for any value.
    double delta = std::fmod(RoundHalfEven(difference), static_cast<double>(FullTurn));
    if (delta > FullTurn / 2)
        delta -= FullTurn;
    if (delta < -FullTurn / 2)
        delta += FullTurn;
    const auto next = static_cast<std::int64_t>(RoundHalfEven(shownHeading + delta / 4));
    // Kept within one turn so that it neither drifts out of range nor loses the shorter way after
    // many turns; the picture depends only on differences, so the scale does not move by it.
    return IntoOneTurn(next);
}
