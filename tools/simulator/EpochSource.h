#pragma once

#include "ReceiverModel.h"
#include "ReplayLog.h"

#include <cstdint>
#include <string>
#include <vector>

// One epoch's lines (without line ends) and how long after them the next epoch is due.
struct EpochLines {
    std::vector<std::string> Lines;
    std::int64_t DelayMs = 0;
};

// Where the simulator's epochs come from: the receiver model or a recorded log.
class EpochSource {
public:
    virtual ~EpochSource() = default;
    virtual EpochLines Next() = 0;
};

// The simulated receiver at a fixed epoch rate.
class ModelSource : public EpochSource {
public:
    // lineBudget: characters the serial line carries per epoch (0: no limit). A receiver on a
    // slow line sends its satellite table only every few epochs, as real ones do at 4800 baud.
    // speed: how many times faster than the receiver's clock the epochs go out (tests run an
    // evening in seconds); the epochs stay stepMs apart in the receiver's time.
    ModelSource(const ReceiverSettings& settings, std::int64_t stepMs, std::int64_t lineBudget, double speed = 1);

    EpochLines Next() override;

private:
    static constexpr std::int64_t SkyEveryOnSlowLine = 5;
    static constexpr std::int64_t TextIntervalMs = 30'000;

    ReceiverModel Model;
    std::int64_t StepMs = 1000;
    std::int64_t LineBudget = 0;
    double Speed = 1;
    std::int64_t EpochNumber = 0;
};

// A recorded log at its recorded pace, from the start again after its end.
class ReplaySource : public EpochSource {
public:
    // fallbackMs: the pace where the log carries no times; speed: how many times faster than
    // recorded (tests replay a minute-long log in seconds). epochs must not be empty.
    ReplaySource(std::vector<ReplayEpoch> epochs, std::int64_t fallbackMs, double speed = 1);

    EpochLines Next() override;
    std::int64_t EpochCount() const { return static_cast<std::int64_t>(Epochs.size()); }

private:
    std::vector<ReplayEpoch> Epochs;
    std::int64_t FallbackMs = 1000;
    double Speed = 1;
    std::size_t Position = 0;
};
