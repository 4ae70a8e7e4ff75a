#include "SkySatellites.h"

#include "NavState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

struct Numbering {
    int GnssId;
    int Svid;
    int PrnBase; // PRN = PrnBase + Svid
};

// The sky keeps each satellite under the number its sentence gave it; NMEA gives some
// constellations a range of their own inside the GPS talker's numbers.
Numbering NumberingOf(char system, int nmeaPrn)
{
    switch (system) {
    case Gnss::Sbas: return {1, nmeaPrn < 65 ? nmeaPrn + 87 : nmeaPrn, 0};
    case Gnss::Galileo: return {2, nmeaPrn > 300 ? nmeaPrn - 300 : nmeaPrn, 300};
    case Gnss::BeiDou: // numbered from 1, 201 or 401
        return {3, nmeaPrn > 400 ? nmeaPrn - 400 : (nmeaPrn > 200 ? nmeaPrn - 200 : nmeaPrn), 400};
    case Gnss::Qzss: return {5, nmeaPrn > 192 ? nmeaPrn - 192 : nmeaPrn, 192};
    case Gnss::Glonass: return {6, nmeaPrn > 64 ? nmeaPrn - 64 : nmeaPrn, 64};
    case Gnss::NavIc: return {7, nmeaPrn, 382};
    default: return {0, nmeaPrn, 0};
    }
}

using Matrix = std::array<std::array<double, 4>, 4>;

// The diagonal of the inverse of a symmetric positive matrix, by Gauss-Jordan elimination with
// partial pivoting; nullopt when it is singular (satellites all in one plane).
std::optional<std::array<double, 4>> InverseDiagonal(Matrix a)
{
    Matrix inverse{};
    for (std::size_t i = 0; i < 4; ++i)
        inverse[i][i] = 1;
    for (std::size_t column = 0; column < 4; ++column) {
        std::size_t pivot = column;
        for (std::size_t row = column + 1; row < 4; ++row) {
            if (std::abs(a[row][column]) > std::abs(a[pivot][column]))
                pivot = row;
        }
        if (std::abs(a[pivot][column]) < 1e-12)
            return std::nullopt;
        std::swap(a[pivot], a[column]);
        std::swap(inverse[pivot], inverse[column]);
        const double scale = a[column][column];
        for (std::size_t k = 0; k < 4; ++k) {
            a[column][k] /= scale;
            inverse[column][k] /= scale;
        }
        for (std::size_t row = 0; row < 4; ++row) {
            const double factor = a[row][column];
            if (row == column || factor == 0)
                continue;
            for (std::size_t k = 0; k < 4; ++k) {
                a[row][k] -= factor * a[column][k];
                inverse[row][k] -= factor * inverse[column][k];
            }
        }
    }
    return std::array<double, 4>{inverse[0][0], inverse[1][1], inverse[2][2], inverse[3][3]};
}

} // namespace

std::optional<GeometryDops> SkyGeometryDops(const NavState& nav)
{
    // The normal matrix of the line-of-sight unit vectors (east, north, up) and the clock term.
    constexpr double Radians = std::numbers::pi / 180;
    Matrix normal{};
    int used = 0;
    for (std::size_t index = 0; index < nav.SkyPrn.size(); ++index) {
        const auto satellite = PublishedSatellite(nav, index);
        if (!satellite || !satellite->Used)
            continue;
        const double azimuth = satellite->Azimuth * Radians;
        const double elevation = satellite->Elevation * Radians;
        const std::array<double, 4> line{std::sin(azimuth) * std::cos(elevation),
                                         std::cos(azimuth) * std::cos(elevation), std::sin(elevation), 1};
        for (std::size_t i = 0; i < 4; ++i) {
            for (std::size_t j = 0; j < 4; ++j)
                normal[i][j] += line[i] * line[j];
        }
        ++used;
    }
    if (used < 4)
        return std::nullopt;
    const auto diagonal = InverseDiagonal(normal);
    if (!diagonal || std::any_of(diagonal->begin(), diagonal->end(), [](double d) { return d < 0; }))
        return std::nullopt;
    const auto& d = *diagonal;
    return GeometryDops{std::sqrt(d[0]), std::sqrt(d[1]), std::sqrt(d[3]), std::sqrt(d[0] + d[1] + d[2] + d[3])};
}

bool SkyEmpty(const NavState& nav)
{
    return std::all_of(nav.SkyPrn.begin(), nav.SkyPrn.end(), [](std::uint16_t prn) { return prn == 0; });
}

std::optional<SkySatellite> PublishedSatellite(const NavState& nav, std::size_t index)
{
    if (index >= nav.SkyPrn.size() || nav.SkyPrn[index] == 0)
        return std::nullopt;
    const SatelliteId id{nav.SkySystem[index], nav.SkyPrn[index]};
    const Numbering numbering = NumberingOf(id.System, id.Prn);
    SkySatellite satellite;
    satellite.GnssId = numbering.GnssId;
    satellite.Svid = numbering.Svid;
    satellite.Prn = numbering.PrnBase + numbering.Svid;
    satellite.Elevation = nav.SkyElevation[index];
    satellite.Azimuth = nav.SkyAzimuth[index];
    satellite.Snr = nav.SkySnr[index];
    satellite.Used = nav.SatelliteUsed(id);
    return satellite;
}
