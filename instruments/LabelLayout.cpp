#include "LabelLayout.h"

#include "Rounding.h"

#include <algorithm>

namespace {

double CentredEdge(double margin, double space, double extent)
{
    return margin + static_cast<double>(DivRounded(space - extent, 2));
}

} // namespace

std::int16_t Margin(double sw, double sh)
{
    return static_cast<std::int16_t>(RoundHalfEven((sw + sh) / 1000.0));
}

int FontSize(double sw, double sh, int heightDivisor, int widthDivisor)
{
    const auto byHeight = DivRounded(sh, heightDivisor) + 1;
    const auto byWidth = DivRounded(sw, widthDivisor) + 1;
    return static_cast<int>(std::min(byHeight, byWidth));
}

int NoFixFontSize(double sh)
{
    return static_cast<int>(DivRounded(sh, 100) + 1);
}

std::vector<TwipsPlace> StackedPlaces(double sw, double sh, const std::vector<TwipsExtent>& sizes)
{
    const double margin = Margin(sw, sh);
    std::vector<TwipsPlace> places;
    places.reserve(sizes.size());
    double top = margin;
    for (const TwipsExtent& size : sizes) {
        places.push_back({CentredEdge(margin, sw, size.Width), top});
        top += size.Height + margin;
    }
    return places;
}

TwipsPlace CentredPlace(double sw, double sh, TwipsExtent size)
{
    const double margin = Margin(sw, sh);
    return {CentredEdge(margin, sw, size.Width), CentredEdge(margin, sh, size.Height)};
}
