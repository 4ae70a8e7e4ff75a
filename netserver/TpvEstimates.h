#pragma once

#include "FixEpoch.h"

#include <cstdint>
#include <optional>

struct NavState;

// What a TPV says beyond the values its cycle's sentences carried, derived the way gpsd derives
// them, so that a client shows the same from either server: the error estimates in metres from
// the dilutions of precision (epx and epy from the geometry of the satellites in use), and the
// rates from this cycle and the one reported before it (eps and epc in metres per second, climb
// in metres per second), and the track against magnetic north.
struct TpvEstimates {
    std::optional<double> Epx, Epy, Epv, Eph, Sep;
    std::optional<double> Eps, Epc, Climb;
    std::optional<double> MagneticTrack;
};

// A cycle as its TPV reports it.
struct TpvReport {
    FixEpoch Epoch;
    TpvEstimates Estimates;
};

// Turns each cycle into its report, remembering the last one with a time for the rates.
class TpvHistory {
public:
    // epoch's report; nav gives the sky whose geometry the cycle used.
    TpvReport Next(const FixEpoch& epoch, const NavState& nav);
    // The receiver's cycle: the shortest time between two reported cycles; nullopt until two came.
    std::optional<std::int64_t> CycleMs() const { return ShortestCycleMs; }
    // A new device: nothing before it counts.
    void Forget() { *this = TpvHistory{}; }

private:
    std::optional<TpvReport> Previous;
    std::optional<std::int64_t> ShortestCycleMs;
};
