#pragma once

#include "SentenceFields.h"
#include "SentenceRules.h"
#include "SkyCollector.h"

struct NavState;

// Writes the values of checksum-valid sentences into NavState. Knows GGA, GLL, RMC, GSA, GSV,
// VTG, ZDA and TXT of the GPS talker "GP" and of the other satellite talkers (GN, GL, GA, GB,
// BD, GQ, GI), which follow the same rules; anything else is ignored.
class SentenceInterpreter {
public:
    explicit SentenceInterpreter(NavState& nav, SkyCollector::TimeSource now = SkyCollector::SteadyNow)
        : Nav(nav), Sky(now)
    {
    }

    InterpretResult Interpret(const SentenceFields& fields);

    // Reads the "GP" talker only and ignores every other, as this program did before receivers
    // tracked more than GPS. Off unless the machine's settings ask for it.
    void SetTalkersGpOnly(bool gpOnly) { GpOnly = gpOnly; }
    bool TalkersGpOnly() const { return GpOnly; }

private:
    bool TalkerAccepted(std::string_view talker) const;

    NavState& Nav;
    SkyCollector Sky;
    bool GpOnly = false;
    bool LastWasGsa = false;
};
