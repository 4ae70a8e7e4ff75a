#pragma once

#include "SentenceFields.h"

#include <string_view>

struct NavState;
class SkyCollector;

// What interpreting one sentence did.
struct InterpretResult {
    bool Recognised = false;   // a sentence type this program knows (the indicator goes green)
    bool FixAccepted = false;  // a GGA, RMC or GLL fix was stored: restart the reception watchdog
    bool SkyPublished = false; // the last message of a GSV group replaced the published sky
};

// What the satellite rules need besides the record: the sentence's talker and what the
// interpreter remembers across sentences.
struct SatelliteContext {
    SkyCollector& Sky;
    std::string_view Talker;          // "GP", "GN", "GL", ...
    bool ContinuesGsaRun = false;     // the sentence before this one was a GSA too: same epoch
};

// One rule per sentence type. Each reads every field it needs first and changes NavState only
// when the sentence meets its condition and every value fits where it goes and can be true
// (ValueBounds.h).
InterpretResult ApplyGga(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyGll(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyRmc(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyVtg(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyZda(const SentenceFields& fields, NavState& nav);
InterpretResult ApplyGsa(const SentenceFields& fields, NavState& nav, const SatelliteContext& context);
InterpretResult ApplyGsv(const SentenceFields& fields, NavState& nav, const SatelliteContext& context);
