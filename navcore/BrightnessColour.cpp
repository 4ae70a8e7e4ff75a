#include "BrightnessColour.h"

#include "Rounding.h"

#include <algorithm>
#include <iterator>

double BrightnessFactor(std::string_view mode)
{
    if (mode == "Daylight")
        return 1.0;
    if (mode == "Shade")
        return 0.75;
    if (mode == "Dusk")
        return 0.5;
    if (mode == "Night")
        return 0.25;
    return 0.0;
}

std::int32_t ScaleColour(std::int32_t colour, std::string_view mode)
{
    const double factor = BrightnessFactor(mode);
    const auto scale = [factor](std::int32_t channel) {
        return static_cast<std::int32_t>(RoundHalfEven(factor * channel));
    };
    const std::int32_t red = colour & 0xFF;
    const std::int32_t green = (colour >> 8) & 0xFF;
    const std::int32_t blue = (colour >> 16) & 0xFF;
    return scale(red) + scale(green) * 256 + scale(blue) * 65536;
}

bool IsRedMode(std::string_view mode)
{
    return mode == "Dusk" || mode == "Night";
}

std::int32_t RedOnly(std::int32_t colour)
{
    return std::max({colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF});
}

std::string_view SteppedBrightness(std::string_view shown, int steps)
{
    const auto* found = std::find(std::begin(BrightnessModes), std::end(BrightnessModes), shown);
    const auto index = found == std::end(BrightnessModes) ? 0 : found - std::begin(BrightnessModes);
    const auto last = static_cast<std::ptrdiff_t>(std::size(BrightnessModes)) - 1;
    return BrightnessModes[std::clamp<std::ptrdiff_t>(index + steps, 0, last)];
}
