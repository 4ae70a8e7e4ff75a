// Arbitrary bytes through the NMEA intake, as a noisy serial line would deliver them. Each input
// gets a fresh NavState and NmeaInput, so that every crash reproduces from its input alone; the
// input itself can hold many lines, which is where sentences interact (GSV groups, the screening).
#include "IntakeInvariants.h"
#include "NavState.h"
#include "NmeaInput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NavState nav;
    NmeaInput input(nav);
    IntakeInvariants invariants(nav);
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\r')
            invariants.BeforeLine(input);
        if (const auto result = input.Intake(c))
            invariants.AfterLine(input, *result);
        IntakeInvariants::AfterCharacter(input);
    }
    return 0;
}
