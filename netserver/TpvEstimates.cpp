#include "TpvEstimates.h"

#include "SkySatellites.h"

#include <algorithm>
#include <cmath>

namespace {

// The error a receiver makes in metres at 95 % confidence for each unit of dilution of
// precision, the user equivalent range errors gpsd multiplies the DOPs with: horizontal (epx,
// epy), vertical (epv) and position (eph and sep). A differential fix is four times as good.
struct RangeErrors {
    double Horizontal;
    double Vertical;
    double Position;
};
constexpr RangeErrors Autonomous{15.0, 23.0, 19.0};
constexpr RangeErrors Differential{3.75, 5.75, 4.75};
constexpr int DifferentialStatus = 2;
// A gap longer than this between two cycles is an outage, not a cycle of the receiver.
constexpr std::int64_t LongestCycleMs = 3600 * 1000;

std::optional<double> Scaled(const std::optional<double>& dop, double metres)
{
    return dop ? std::optional<double>(*dop * metres) : std::nullopt;
}

// Height above the ellipsoid where both cycles know it, as gpsd takes the climb from; the height
// above sea level otherwise.
std::optional<double> Rise(const FixEpoch& from, const FixEpoch& to)
{
    if (!from.AltitudeMsl || !to.AltitudeMsl)
        return std::nullopt;
    const double separationChange =
        from.GeoidSeparation && to.GeoidSeparation ? *to.GeoidSeparation - *from.GeoidSeparation : 0.0;
    return *to.AltitudeMsl - *from.AltitudeMsl + separationChange;
}

void EstimateRates(TpvReport& report, const TpvReport& previous, double seconds)
{
    const TpvEstimates& before = previous.Estimates;
    TpvEstimates& now = report.Estimates;
    if (previous.Epoch.Mode < 2)
        return;
    if (before.Epx && before.Epy && now.Epx && now.Epy)
        now.Eps = (std::max(*before.Epx, *before.Epy) + std::max(*now.Epx, *now.Epy)) / seconds;
    if (before.Epv && now.Epv)
        now.Epc = (*before.Epv + *now.Epv) / seconds;
    const auto rise = Rise(previous.Epoch, report.Epoch);
    if (previous.Epoch.Mode == 3 && report.Epoch.Mode == 3 && rise)
        now.Climb = *rise / seconds;
}

} // namespace

TpvReport TpvHistory::Next(const FixEpoch& epoch, const NavState& nav)
{
    TpvReport report{epoch, {}};
    if (epoch.Mode >= 2) {
        const RangeErrors& errors = epoch.Status == DifferentialStatus ? Differential : Autonomous;
        if (const auto dops = SkyGeometryDops(nav)) {
            report.Estimates.Epx = dops->X * errors.Horizontal;
            report.Estimates.Epy = dops->Y * errors.Horizontal;
        }
        if (epoch.Mode == 3)
            report.Estimates.Epv = Scaled(epoch.Vdop, errors.Vertical);
        report.Estimates.Eph = Scaled(epoch.Hdop, errors.Position);
        report.Estimates.Sep = Scaled(epoch.Pdop, errors.Position);
        if (epoch.Course && epoch.MagneticVariation) {
            const double magnetic = std::fmod(*epoch.Course - *epoch.MagneticVariation + 360.0, 360.0);
            report.Estimates.MagneticTrack = magnetic;
        }
    }
    if (!epoch.TimeMs)
        return report;
    if (Previous && Previous->Epoch.TimeMs) {
        const std::int64_t elapsed = *epoch.TimeMs - *Previous->Epoch.TimeMs;
        if (elapsed > 0) {
            EstimateRates(report, *Previous, static_cast<double>(elapsed) / 1000.0);
            if (elapsed <= LongestCycleMs && (!ShortestCycleMs || elapsed < *ShortestCycleMs))
                ShortestCycleMs = elapsed;
        }
    }
    Previous = report;
    return report;
}
