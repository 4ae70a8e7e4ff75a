#include "SkyLayout.h"

#include "BrightnessColour.h"
#include "NavState.h"
#include "Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

std::int64_t Nearest(double x)
{
    return static_cast<std::int64_t>(RoundHalfEven(x));
}

} // namespace

SkyLayout LayoutSky(double w, double h, double tppX, double tppY)
{
    const double side = std::max(0.0, std::min(w, h));
    const double left = (w - side) / 2;
    const double top = (h - side) / 2;
    SkyLayout l;
    l.MarkerWidth = DivRounded(side, 12);
    l.MarkerHeight = l.MarkerWidth;
    l.PrnFontSize = DivRounded(side, 500) + 1;
    l.CenterX = DivRounded(left + side / 2, 1);
    l.CenterY = DivRounded(top + side / 2, 1);
    l.CenterRadius = static_cast<float>(side / 20);
    l.InnerRingRadius = static_cast<float>(side / 3.5);
    l.OuterRingRadius = static_cast<float>(side / 2.1);
    l.HorizonRadius = std::max(0.0f, l.OuterRingRadius - static_cast<float>(l.MarkerHeight / 2));
    l.LetterFontSize = DivRounded(side, 300) + 1;
    // The letter's size in points stands in for its size in pixels: half of it up and left of a
    // point at 5, 50 or 95 % of the square puts the letter roughly centred there.
    const double letterX = static_cast<double>(l.LetterFontSize) * tppX;
    const double letterY = static_cast<double>(l.LetterFontSize) * tppY;
    const auto along = [side](double start, double share, double letter) {
        return DivRounded(2 * start + side * share - letter, 2);
    };
    l.NorthY = along(top, 0.1, letterY);
    l.MiddleY = along(top, 1.0, letterY);
    l.SouthY = along(top, 1.9, letterY);
    l.WestX = along(left, 0.1, letterX);
    l.MiddleX = along(left, 1.0, letterX);
    l.EastX = along(left, 1.9, letterX);
    return l;
}

float Deg2Rad(std::int16_t degrees)
{
    static const float pi = 4.0f * std::atan(1.0f);
    return static_cast<float>(degrees / 180.0 * pi);
}

SkyPoint SatellitePosition(const SkyLayout& layout, std::int16_t elevation, std::int16_t azimuth)
{
    const double r = std::cos(static_cast<double>(Deg2Rad(elevation))) * layout.HorizonRadius;
    const double a = Deg2Rad(azimuth);
    return {static_cast<float>(static_cast<double>(layout.CenterX) + std::sin(a) * r),
            static_cast<float>(static_cast<double>(layout.CenterY) - std::cos(a) * r)};
}

int SignalClass(std::uint8_t snr)
{
    if (snr == 0)
        return 0;
    if (snr <= 5)
        return 1;
    if (snr <= 15)
        return 2;
    if (snr <= 20)
        return 3;
    return snr <= 99 ? 4 : 5;
}

std::int32_t SignalClassColor(int signalClass, bool red)
{
    static constexpr std::array<std::int32_t, SignalClassCount> Day{Rgb(128, 128, 128), Rgb(255, 0, 0), Rgb(255, 128, 0),
                                                                    Rgb(255, 255, 0),   Rgb(0, 255, 0), Rgb(128, 0, 128)};
    static constexpr std::array<std::int32_t, SignalClassCount> Red{Rgb(72, 0, 0),  Rgb(104, 0, 0), Rgb(144, 0, 0),
                                                                    Rgb(192, 0, 0), Rgb(255, 0, 0), Rgb(255, 0, 0)};
    return (red ? Red : Day).at(static_cast<std::size_t>(signalClass));
}

std::int32_t SignalColor(std::uint8_t snr, bool red)
{
    return SignalClassColor(SignalClass(snr), red);
}

std::string SatelliteLabel(char system, int prn)
{
    if (system == 0 || system == Gnss::Gps || system == Gnss::Sbas)
        return std::to_string(prn);
    if (system == Gnss::Glonass && prn >= 65 && prn <= 96)
        prn -= 64;
    else if (system == Gnss::Qzss && prn >= 193 && prn <= 202)
        prn -= 192;
    return system + std::to_string(prn % 100);
}

SkyMarker PlaceMarker(const SkyLayout& layout, SkyPoint point)
{
    SkyMarker m;
    const std::int64_t discLeft = Nearest(point.X - static_cast<double>(layout.MarkerWidth / 2));
    const std::int64_t discTop = Nearest(point.Y - static_cast<double>(layout.MarkerHeight / 2));
    m.DiscCenterX = discLeft + layout.MarkerWidth / 2;
    m.DiscCenterY = discTop + layout.MarkerHeight / 2;
    m.DiscRadius = layout.MarkerHeight / 2;
    return m;
}
