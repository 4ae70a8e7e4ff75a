#pragma once

#include "SentenceFields.h"
#include "SentenceRules.h"

struct NavState;

// Writes the values of checksum-valid sentences into NavState. Knows GGA, GLL, RMC, GSA, GSV,
// VTG, ZDA and TXT of the GPS talker "GP"; anything else is ignored.
class SentenceInterpreter {
public:
    explicit SentenceInterpreter(NavState& nav) : Nav(nav) {}

    InterpretResult Interpret(const SentenceFields& fields);

private:
    NavState& Nav;
};
