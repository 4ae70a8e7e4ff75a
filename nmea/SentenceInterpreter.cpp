#include "SentenceInterpreter.h"

#include "Constellations.h"

#include <string_view>

namespace {

using Rule = InterpretResult (*)(const SentenceFields&, NavState&, const SatelliteContext&);

// The rules that need only the record.
template <InterpretResult (*Apply)(const SentenceFields&, NavState&)>
InterpretResult RecordOnly(const SentenceFields& fields, NavState& nav, const SatelliteContext&)
{
    return Apply(fields, nav);
}

InterpretResult IgnoreText(const SentenceFields&, NavState&, const SatelliteContext&)
{
    return {};
}

struct Dispatch {
    std::string_view Type;
    Rule Apply;
};

constexpr Dispatch Rules[] = {
    {"GLL", RecordOnly<ApplyGll>}, {"GGA", RecordOnly<ApplyGga>}, {"GSA", ApplyGsa},
    {"GSV", ApplyGsv},             {"RMC", RecordOnly<ApplyRmc>}, {"VTG", RecordOnly<ApplyVtg>},
    {"ZDA", RecordOnly<ApplyZda>}, {"TXT", IgnoreText},
};

} // namespace

bool SentenceInterpreter::TalkerAccepted(std::string_view talker) const
{
    return GpOnly ? talker == "GP" : TalkerRank(talker) >= 0;
}

InterpretResult SentenceInterpreter::Interpret(const SentenceFields& fields)
{
    // The address is "$", a two-letter talker and a three-letter type; proprietary sentences
    // ("$P...") and anything else do not fit it.
    const std::string_view address = fields[0];
    if (address.size() != 6 || address[0] != '$' || !TalkerAccepted(address.substr(1, 2)))
        return {};
    for (const Dispatch& rule : Rules) {
        if (address.substr(3) != rule.Type)
            continue;
        // A known type counts as recognised even when it carries no fix or is malformed: the
        // receiver is talking to us.
        const SatelliteContext context{Sky, address.substr(1, 2), LastWasGsa};
        LastWasGsa = rule.Type == "GSA";
        InterpretResult result{};
        if (!fields.Overflowed())
            result = rule.Apply(fields, Nav, context);
        result.Recognised = true;
        return result;
    }
    return {};
}
