#pragma once

#include "FixEpoch.h"
#include "FixDate.h"
#include "SentenceRules.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>

struct NavState;

// Gathers the interpreted sentences of one receiver cycle into a FixEpoch and says when the cycle
// is complete. A receiver sends its sentences of a cycle in the same order every time, so, the
// way gpsd does it, the sentence type with a time seen just before the time changes is learned
// as the receiver's last sentence of a cycle, and the cycle is reported as soon as that type
// arrives. Until it is learned, and whenever it does not come, the cycle is reported when a new
// time is seen, or when the receiver falls quiet (Finish), so that the last cycle before an
// outage is not held back. A cycle is reported when it holds a fix sentence, with or without a
// fix, and once: sentences with its time that come after
// the report are not sent again. Sentences without a time (GSA, GSV, VTG) belong to the cycle in
// progress; those after the last sentence of a cycle open the next one, as their DOPs and mode
// describe the solution the next time reports.
class EpochCollector {
public:
    using Handler = std::function<void(const FixEpoch&)>;

    // Called with every completed cycle, while the sentence that completed it is being taken.
    void SetHandler(Handler handler) { Report = std::move(handler); }

    // One recognised sentence of the given type ("RMC", "GGA", ...), after the interpreter has
    // stored its values in nav.
    void Take(std::string_view type, const InterpretResult& result, const NavState& nav);
    // The receiver has fallen quiet: the cycle in progress is complete.
    void Finish();
    // A sentence of a cycle that is not complete yet has come: Finish would act on it.
    bool CycleOpen() const { return TimeOfDayMs >= 0 || FixSeen || NoFixSeen; }

private:
    using Type = std::array<char, 3>;

    void Apply(const InterpretResult& result, const NavState& nav);
    // The cycle in progress as it is reported: mode and status from what its sentences said.
    FixEpoch Completed() const;
    void Complete();

    Handler Report;
    FixEpoch Current;
    bool FixSeen = false;   // a fix sentence with a fix
    bool NoFixSeen = false; // a fix sentence that says there is none
    int GsaMode = 0;
    std::int32_t TimeOfDayMs = -1;           // the cycle's time; -1 before a sentence gave one
    std::optional<CivilDate> Date;
    std::int32_t LastTimeOfDayMs = -1;       // of the last sentence with a time
    Type LastTimedType{};
    Type Ender{};
    std::int32_t ReportedTimeOfDayMs = -1;
};
