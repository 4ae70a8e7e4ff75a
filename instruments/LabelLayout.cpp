#include "LabelLayout.h"

#include "Rounding.h"

#include <algorithm>
#include <cmath>

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

TwipsExtent CentredRoom(double sw, double sh)
{
    const double margin = Margin(sw, sh);
    return {std::max(0.0, sw - 2 * margin), std::max(0.0, sh - 2 * margin)};
}

int FittedFontSize(int upper, const std::function<double(int)>& fill)
{
    if (upper <= 1 || fill(upper) <= 1)
        return std::max(upper, 1);
    // fill(low) fits (or low is 1), fill(high) does not.
    int low = 1;
    int high = upper;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (fill(middle) <= 1 ? low : high) = middle;
    }
    return low;
}

double Fill(TwipsExtent extent, TwipsExtent room)
{
    const auto share = [](double part, double whole) {
        return part <= 0 ? 0.0 : whole <= 0 ? HUGE_VAL : part / whole;
    };
    return std::max(share(extent.Width, room.Width), share(extent.Height, room.Height));
}

std::vector<int> FittedStack(double sw, double sh, const std::vector<int>& ruleSizes,
                             const std::function<TwipsExtent(std::size_t, int)>& extentAt)
{
    const double margin = Margin(sw, sh);
    const TwipsExtent row{std::max(0.0, sw - 2 * margin), HUGE_VAL};
    std::vector<int> widest;
    for (std::size_t i = 0; i < ruleSizes.size(); ++i)
        widest.push_back(FittedFontSize(ruleSizes[i], [&](int points) { return Fill(extentAt(i, points), row); }));
    // The sizes at a share (percent) of the widest ones, and how much of the height they take.
    const auto at = [&widest](int percent) {
        std::vector<int> sizes;
        for (const int size : widest)
            sizes.push_back(std::max(1, size * percent / 100));
        return sizes;
    };
    const double height = std::max(0.0, sh - static_cast<double>(ruleSizes.size() + 1) * margin);
    const int percent = FittedFontSize(100, [&](int share) {
        const std::vector<int> sizes = at(share);
        double total = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i)
            total += extentAt(i, sizes[i]).Height;
        return Fill({0, total}, {0, height});
    });
    return at(percent);
}
