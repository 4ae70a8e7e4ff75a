#include "ReceptionSummary.h"

#include "NavState.h"

#include <algorithm>
#include <iterator>

namespace {

std::int64_t SecondOf(std::int64_t ms)
{
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

std::size_t Slot(std::int64_t second, std::size_t size)
{
    const auto s = static_cast<std::int64_t>(size);
    return static_cast<std::size_t>(((second % s) + s) % s);
}

} // namespace

void ReceptionSummary::TakeLine(const LineResult& line, std::int64_t nowMs)
{
    if (line.FixAccepted)
        LastFixMs = nowMs;
    GsaHeard |= (line.Carried & Carried::GsaMode) != 0;
    SkyHeard |= line.SkyPublished;
    if (!line.ChecksumValid)
        return;
    const std::int64_t second = SecondOf(nowMs);
    if (FirstSecond < 0) {
        FirstSecond = LatestSecond = second;
        PerSecond.fill(0);
    }
    // The seconds passed since the latest sentence had none; their slots are used again.
    for (std::int64_t s = LatestSecond + 1; s <= second && s <= LatestSecond + std::ssize(PerSecond); ++s)
        PerSecond[Slot(s, PerSecond.size())] = 0;
    LatestSecond = std::max(LatestSecond, second);
    ++PerSecond[Slot(second, PerSecond.size())];
}

void ReceptionSummary::TakeEpoch(const FixEpoch& epoch)
{
    // A cycle without a fix leaves the quality of the last one: whether the fix is lost is the
    // reception watchdog's call, which the glance reads from NavState.
    if (epoch.Mode >= 2)
        LatestQuality = QualityOf(epoch.Mode, epoch.Status);
}

std::optional<double> ReceptionSummary::SentenceRate(std::int64_t nowMs) const
{
    if (FirstSecond < 0)
        return std::nullopt;
    const std::int64_t now = SecondOf(nowMs);
    const auto counted = [this](std::int64_t second) {
        const bool kept = second >= FirstSecond && second <= LatestSecond
                          && second > LatestSecond - std::ssize(PerSecond);
        return kept ? PerSecond[Slot(second, PerSecond.size())] : 0;
    };
    const std::int64_t seconds = std::min(WindowSeconds, now - FirstSecond);
    // Within the first second, what has come so far.
    if (seconds <= 0)
        return counted(now);
    int sentences = 0;
    for (std::int64_t back = 1; back <= seconds; ++back)
        sentences += counted(now - back);
    return static_cast<double>(sentences) / static_cast<double>(seconds);
}

FixQuality ReceptionSummary::CurrentQuality(const NavState& nav) const
{
    if (!nav.FixValid)
        return FixQuality::None;
    if (LatestQuality != FixQuality::None)
        return LatestQuality;
    // A fix whose cycle has not been completed yet: what the last GSA said, or at least a 2D fix.
    return QualityOf(nav.FixMode == 3 ? 3 : 2, 0);
}

StationGlance ReceptionSummary::Glance(const NavState& nav, std::int64_t nowMs) const
{
    StationGlance glance;
    glance.Quality = CurrentQuality(nav);
    if (GsaHeard) {
        glance.SatellitesUsed = static_cast<int>(std::count_if(nav.UsedSatellites.begin(), nav.UsedSatellites.end(),
                                                               [](const SatelliteId& id) { return id.Prn != 0; }));
    } else if (nav.SatellitesUsed > 0) {
        glance.SatellitesUsed = nav.SatellitesUsed;
    }
    if (SkyHeard)
        glance.SatellitesSeen = static_cast<int>(std::count_if(nav.SkyPrn.begin(), nav.SkyPrn.end(),
                                                               [](std::uint16_t prn) { return prn != 0; }));
    if (LastFixMs)
        glance.FixAgeSeconds = static_cast<double>(nowMs - *LastFixMs) / 1000.0;
    glance.SentencesPerSecond = SentenceRate(nowMs);
    return glance;
}
