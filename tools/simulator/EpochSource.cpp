#include "EpochSource.h"

#include "SentenceBuilder.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

std::int64_t LineCharacters(const std::vector<std::string>& lines)
{
    std::int64_t characters = 0;
    for (const std::string& line : lines)
        characters += static_cast<std::int64_t>(line.size()) + 2;
    return characters;
}

} // namespace

ModelSource::ModelSource(const ReceiverSettings& settings, std::int64_t stepMs,
                         std::int64_t lineBudget, double speed)
    : Model(settings), StepMs(stepMs), LineBudget(lineBudget), Speed(speed)
{
}

EpochLines ModelSource::Next()
{
    const Epoch epoch = Model.Current();
    SentenceChoice choice;
    choice.Text = EpochNumber % std::max<std::int64_t>(1, TextIntervalMs / StepMs) == 0;
    EpochLines out{BuildSentences(epoch, choice),
                   std::max<std::int64_t>(1, std::llround(static_cast<double>(StepMs) / Speed))};
    if (LineBudget > 0 && LineCharacters(out.Lines) > LineBudget
        && EpochNumber % SkyEveryOnSlowLine != 0) {
        choice.Sky = false;
        out.Lines = BuildSentences(epoch, choice);
    }
    Model.Advance(StepMs);
    ++EpochNumber;
    return out;
}

ReplaySource::ReplaySource(std::vector<ReplayEpoch> epochs, std::int64_t fallbackMs, double speed)
    : Epochs(std::move(epochs)), FallbackMs(fallbackMs), Speed(speed)
{
}

EpochLines ReplaySource::Next()
{
    const ReplayEpoch& current = Epochs[Position];
    Position = (Position + 1) % Epochs.size();
    // Round the loop the times jump back: wait one ordinary step.
    const std::int64_t delay = Position == 0 ? FallbackMs
                                             : ReplayDelayMs(current, Epochs[Position], FallbackMs);
    return {current.Lines, static_cast<std::int64_t>(std::llround(static_cast<double>(delay) / Speed))};
}
