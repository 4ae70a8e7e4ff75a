#include "SentenceInterpreter.h"

#include <string_view>

namespace {

using Rule = InterpretResult (*)(const SentenceFields&, NavState&);

InterpretResult IgnoreText(const SentenceFields&, NavState&)
{
    return {};
}

struct Dispatch {
    std::string_view Address;
    Rule Apply;
};

constexpr Dispatch Rules[] = {
    {"$GPGLL", ApplyGll}, {"$GPGGA", ApplyGga}, {"$GPGSA", ApplyGsa}, {"$GPGSV", ApplyGsv},
    {"$GPRMC", ApplyRmc}, {"$GPVTG", ApplyVtg}, {"$GPZDA", ApplyZda}, {"$GPTXT", IgnoreText},
};

} // namespace

InterpretResult SentenceInterpreter::Interpret(const SentenceFields& fields)
{
    for (const Dispatch& rule : Rules) {
        if (fields[0] != rule.Address)
            continue;
        // A known type counts as recognised even when it carries no fix or is malformed: the
        // receiver is talking to us.
        InterpretResult result{};
        if (!fields.Overflowed())
            result = rule.Apply(fields, Nav);
        result.Recognised = true;
        return result;
    }
    return {};
}
