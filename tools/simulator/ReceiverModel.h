#pragma once

#include "Epoch.h"
#include "SkyModel.h"
#include "TrackModel.h"

#include <cstdint>

// When the fix is lost: after DropAfter seconds of fix it is gone for DropFor seconds, and so on
// for the rest of the run, so that a long demo shows "No reception" more than once.
struct FixOutage {
    double DropAfter = 0;   // 0: the fix is never lost
    double DropFor = 0;

    bool FixAt(double seconds) const;
};

struct ReceiverSettings {
    TrackStart Start;
    std::int64_t StartUtcMs = 0;
    FixOutage Outage;
};

// The simulated receiver: the vessel's track and the sky, stepped epoch by epoch.
class ReceiverModel {
public:
    explicit ReceiverModel(const ReceiverSettings& settings);

    // What the receiver reports now.
    Epoch Current() const;
    // Steps on to the next epoch, stepMs milliseconds later.
    void Advance(std::int64_t stepMs);

private:
    ReceiverSettings Settings;
    TrackModel Track;
    SkyModel Sky;
    std::int64_t ElapsedMs = 0;
};
