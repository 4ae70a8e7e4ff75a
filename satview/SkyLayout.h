#pragma once

#include <cstdint>
#include <string>

// The geometry of the satellite sky plot, in twips of the window's client area (origin top left, y
// down), for a client area of any size and shape. The sky is a circle, so the plot is laid out in
// the largest square centred in the area: in a window that is not square the rings, the
// satellites and the compass letters keep their places on it, and the rest stays black. Values
// that once were 16-bit are 64-bit here, so windows wider or taller than 32767 twips lay out like
// any other.
struct SkyLayout {
    std::int64_t MarkerWidth = 0;     // the satellite disc; its radius is MarkerHeight div 2
    std::int64_t MarkerHeight = 0;
    std::int64_t PrnFontSize = 1;     // points
    std::int64_t CenterX = 0;         // common centre of the three discs
    std::int64_t CenterY = 0;
    float CenterRadius = 0;           // zenith disc
    float InnerRingRadius = 0;        // hatched disc
    float OuterRingRadius = 0;        // horizon disc
    // How far from the centre a satellite on the horizon stands: as far as its whole disc stays
    // on the horizon disc.
    float HorizonRadius = 0;
    std::int64_t LetterFontSize = 1;  // points, for "N", "E", "S", "W"
    std::int64_t NorthY = 0;          // top edge of "N"; of "E" and "W"; of "S"
    std::int64_t MiddleY = 0;
    std::int64_t SouthY = 0;
    std::int64_t WestX = 0;           // left edge of "W"; of "N" and "S"; of "E"
    std::int64_t MiddleX = 0;
    std::int64_t EastX = 0;
};

// Lays the plot out for a client area of w x h twips; tppX and tppY are the screen's twips per
// pixel, which place each compass letter so that it is centred at 5, 50 or 95 % of the square.
SkyLayout LayoutSky(double w, double h, double tppX, double tppY);

// Degrees to radians in single precision, with pi taken as 4 atan(1).
float Deg2Rad(std::int16_t degrees);

struct SkyPoint {
    float X = 0;
    float Y = 0;
};

// Where a satellite stands: azimuth 0 straight above the centre, 90 to its right; its distance
// from the centre the cosine of its elevation times the horizon radius, so the zenith is at the
// centre and an elevation beyond 90 lies across it.
SkyPoint SatellitePosition(const SkyLayout& layout, std::int16_t elevation, std::int16_t azimuth);

// The signal classes of the plot, as a satellite's signal-to-noise ratio in dB falls in them: 0 not
// tracked, 1 for 1-5, 2 for 6-15, 3 for 16-20, 4 for 21-99, 5 above.
inline constexpr int SignalClassCount = 6;
int SignalClass(std::uint8_t snr);
// The base colour of a signal class (0 to SignalClassCount - 1), as SignalColor gives it.
std::int32_t SignalClassColor(int signalClass, bool red);

// The base colour (red in the low byte) of a satellite's disc for its signal-to-noise ratio in dB.
// In red, a shade that grows with the signal, so that the classes can still be told apart at
// night; above 99, which no receiver reports, as bright as the strongest.
std::int32_t SignalColor(std::uint8_t snr, bool red = false);

// The label of a satellite of a constellation (a Gnss letter, 0 for none): GPS and SBAS satellites
// by their number, whole ("7", "12", "123"). Any other satellite shows its constellation's letter
// and its number within the constellation, as navigation data files name it, since Galileo 5 and
// GPS 5 are not the same satellite: "E5", "C23", "I3", "R6" for GLONASS 70 (slot 6), "J2" for
// QZSS 194.
std::string SatelliteLabel(char system, int prn);

// A satellite's disc in twips; its label is centred on it.
struct SkyMarker {
    std::int64_t DiscCenterX = 0;
    std::int64_t DiscCenterY = 0;
    std::int64_t DiscRadius = 0;
};

SkyMarker PlaceMarker(const SkyLayout& layout, SkyPoint point);
