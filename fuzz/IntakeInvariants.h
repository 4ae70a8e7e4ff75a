#pragma once

#include "NavState.h"

#include <string>

class NmeaInput;
struct LineResult;

// What NmeaInput promises whatever bytes it is fed, checked line by line. A broken promise is
// printed and traps, so that the fuzzer keeps the input that broke it.
class IntakeInvariants {
public:
    explicit IntakeInvariants(const NavState& nav) : Nav(nav) {}

    // After every character: the line being received stays within its buffer.
    static void AfterCharacter(const NmeaInput& input);
    // Just before the CR that ends the line now in input's buffer.
    void BeforeLine(const NmeaInput& input);
    // Right after that CR, with what the line came to.
    void AfterLine(const NmeaInput& input, const LineResult& result) const;

private:
    void CheckScreening(const NmeaInput& input) const;
    void CheckSky(const LineResult& result) const;
    void CheckPublishedGroup() const;
    void CheckUsedSatellites() const;

    const NavState& Nav;
    NavState Before;
    std::string Line;
};
