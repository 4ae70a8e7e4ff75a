#pragma once

#include "FixEpoch.h"
#include "NmeaInput.h"
#include "StationGlance.h"

#include <array>
#include <cstdint>
#include <optional>

struct NavState;

// What the receiver's part of the at-a-glance line needs beyond NavState: how many sentences
// with a valid checksum arrived in the last few seconds, when the last fix came, the quality of
// the latest cycle with a fix, and which satellite counts the receiver has given at all (a
// receiver that sends no GSA has not said how many satellites it uses). Times are milliseconds of
// any steady clock. Nothing here allocates.
class ReceptionSummary {
public:
    // Every processed line, as it comes.
    void TakeLine(const LineResult& line, std::int64_t nowMs);
    // Every completed receiver cycle.
    void TakeEpoch(const FixEpoch& epoch);

    // The receiver's part of the glance; the servers' part is left to whoever knows them.
    StationGlance Glance(const NavState& nav, std::int64_t nowMs) const;

private:
    // Sentences per second are counted over this many whole seconds before the current one:
    // long enough to even out a receiver that sends some sentences only every few seconds.
    static constexpr std::int64_t WindowSeconds = 5;

    std::optional<double> SentenceRate(std::int64_t nowMs) const;
    FixQuality CurrentQuality(const NavState& nav) const;

    std::array<int, WindowSeconds + 1> PerSecond{}; // indexed by the second modulo its size
    std::int64_t FirstSecond = -1;                  // of the first sentence; -1 before it
    std::int64_t LatestSecond = -1;                 // of the latest sentence
    std::optional<std::int64_t> LastFixMs;
    FixQuality LatestQuality = FixQuality::None;
    bool GsaHeard = false;
    bool SkyHeard = false;
};
