// Throughput of the character intake on a realistic receiver stream, and proof that it allocates
// nothing once running: at sea the program runs for days, and an intake that allocates per
// character or per sentence fragments the heap and costs far more than it needs to.
#include "AllocationCounter.h"
#include "NavState.h"
#include "NmeaInput.h"
#include "ReceiverOutput.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

// Ten minutes of receiver output, made once so that making it is not measured.
const std::string& TenMinutesOfOutput()
{
    static const std::string text = SimulatedReceiverOutput(600);
    return text;
}

struct LineCount {
    std::int64_t Lines = 0;
    std::int64_t Recognised = 0;
};

// Feeds text character by character and counts the lines it ended.
LineCount Stream(NmeaInput& input, const std::string& text)
{
    LineCount count;
    for (const char c : text) {
        if (const auto result = input.Intake(c)) {
            ++count.Lines;
            count.Recognised += result->Recognised ? 1 : 0;
        }
    }
    return count;
}

void NmeaIntake(benchmark::State& state)
{
    const std::string& text = TenMinutesOfOutput();
    NavState nav;
    NmeaInput input(nav);
    // Warm-up: every text in NavState and the screening has reached the size it keeps. A stream
    // the intake refused would measure the wrong path.
    const LineCount warmUp = Stream(input, text);
    if (warmUp.Lines != warmUp.Recognised || !nav.FixValid) {
        state.SkipWithError("the simulated receiver output was not understood");
        return;
    }

    const std::size_t allocationsBefore = AllocationCount();
    std::int64_t sentences = 0;
    for (auto _ : state)
        sentences += Stream(input, text).Lines;
    const std::size_t allocations = AllocationCount() - allocationsBefore;

    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["sentences"] =
        benchmark::Counter(static_cast<double>(sentences), benchmark::Counter::kIsRate);
    state.counters["allocs/sentence"] =
        sentences > 0 ? static_cast<double>(allocations) / static_cast<double>(sentences) : 0.0;
}

} // namespace

BENCHMARK(NmeaIntake)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
