#include "SkyLayout.h"

#include "BrightnessColour.h"
#include "NavState.h"
#include "Rounding.h"

#include <cmath>

namespace {

std::int64_t Nearest(double x)
{
    return static_cast<std::int64_t>(RoundHalfEven(x));
}

} // namespace

SkyLayout LayoutSky(double w, double h, double tppX, double tppY)
{
    SkyLayout l;
    l.LabelWidth = DivRounded(w, 10);
    l.LabelHeight = DivRounded(h, 20);
    l.MarkerWidth = DivRounded(w, 12);
    l.MarkerHeight = DivRounded(h, 12);
    l.PrnFontSize = DivRounded(h, 500) + 1;
    l.CenterX = DivRounded(w, 2);
    l.CenterY = DivRounded(h, 2);
    // The discs take their radii from w + h, so they stay round in a window of any shape.
    l.CenterRadius = static_cast<float>((h + w) / 40);
    l.InnerRingRadius = static_cast<float>((h + w) / 7);
    l.OuterRingRadius = static_cast<float>((h + w) / 4.2);
    l.LetterFontSize = DivRounded(h, 300) + 1;
    // The letter's size in points stands in for its size in pixels: half of it up and left of a
    // point at 5, 50 or 95 % of the area puts the letter roughly centred there.
    const double letterX = static_cast<double>(l.LetterFontSize) * tppX;
    const double letterY = static_cast<double>(l.LetterFontSize) * tppY;
    l.NorthY = DivRounded(h * 0.1 - letterY, 2);
    l.MiddleY = DivRounded(h - letterY, 2);
    l.SouthY = DivRounded(h * 1.9 - letterY, 2);
    l.WestX = DivRounded(w * 0.1 - letterX, 2);
    l.MiddleX = DivRounded(w - letterX, 2);
    l.EastX = DivRounded(w * 1.9 - letterX, 2);
    return l;
}

float Deg2Rad(std::int16_t degrees)
{
    static const float pi = 4.0f * std::atan(1.0f);
    return static_cast<float>(degrees / 180.0 * pi);
}

SkyPoint SatellitePosition(std::int16_t elevation, std::int16_t azimuth, std::int64_t cx, std::int64_t cy)
{
    const auto r = static_cast<float>(std::cos(static_cast<double>(Deg2Rad(elevation))) * 0.9);
    const double a = Deg2Rad(azimuth);
    return {static_cast<float>((std::sin(a) * r + 1) * static_cast<double>(cx)),
            static_cast<float>((1 - std::cos(a) * r) * static_cast<double>(cy))};
}

std::int32_t SignalColor(std::uint8_t snr, bool red)
{
    if (snr == 0)
        return red ? Rgb(72, 0, 0) : Rgb(128, 128, 128);
    if (snr <= 5)
        return red ? Rgb(104, 0, 0) : Rgb(255, 0, 0);
    if (snr <= 15)
        return red ? Rgb(144, 0, 0) : Rgb(255, 128, 0);
    if (snr <= 20)
        return red ? Rgb(192, 0, 0) : Rgb(255, 255, 0);
    if (snr <= 99)
        return red ? Rgb(255, 0, 0) : Rgb(0, 255, 0);
    return red ? Rgb(255, 0, 0) : Rgb(128, 0, 128);
}

std::string PrnText(int prn)
{
    const std::string text = " " + std::to_string(prn);
    return text.substr(text.size() - 2);
}

std::string SatelliteLabel(char system, int prn)
{
    if (system == 0 || system == Gnss::Gps || system == Gnss::Sbas)
        return PrnText(prn);
    if (system == Gnss::Glonass && prn >= 65 && prn <= 96)
        prn -= 64;
    else if (system == Gnss::Qzss && prn >= 193 && prn <= 202)
        prn -= 192;
    return system + std::to_string(prn % 100);
}

SkyMarker PlaceMarker(const SkyLayout& layout, SkyPoint point)
{
    SkyMarker m;
    m.BoxLeft = Nearest(point.X - static_cast<double>(layout.LabelWidth / 2));
    m.BoxTop = Nearest(point.Y - static_cast<double>(layout.LabelHeight / 2));
    const std::int64_t discLeft = Nearest(point.X - static_cast<double>(layout.MarkerWidth / 2));
    const std::int64_t discTop = Nearest(point.Y - static_cast<double>(layout.MarkerHeight / 2));
    m.DiscCenterX = discLeft + layout.MarkerWidth / 2;
    m.DiscCenterY = discTop + layout.MarkerHeight / 2;
    m.DiscRadius = layout.MarkerHeight / 2;
    return m;
}
