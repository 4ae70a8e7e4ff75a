#pragma once

#include "NavState.h"
#include "SentenceFields.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

// One satellite as a GSV sentence describes it.
struct SkyEntry {
    SatelliteId Id;               // Prn 0 (and System 0): an empty place in the group
    std::int16_t Elevation = 0;
    std::int16_t Azimuth = 0;
    std::uint8_t Snr = 0;

    bool operator==(const SkyEntry&) const = default;
};

// A GSV group's source: its talker, and for NMEA 4.10 receivers the signal (the hex digit after
// the satellites; 0 when there is none). Each source sends its own groups.
struct SkyGroupKey {
    std::array<char, 2> Talker{};
    char Signal = 0;

    bool operator==(const SkyGroupKey&) const = default;
};

// One GSV message, read and checked: every slot lies within the group.
struct GsvMessage {
    static constexpr int MaxSatellites = SentenceFields::MaxFields / 4;

    SkyGroupKey Key;
    bool First = false;   // message 1: starts the group afresh
    bool Last = false;    // number of messages = this message's number: the group is complete
    int Count = 0;
    std::array<int, MaxSatellites> Slots{};   // 0-based place in the group of each satellite
    std::array<SkyEntry, MaxSatellites> Satellites{};
};

// Collects the GSV groups of every source, each under the old rule of a single receiver (message
// 1 empties the group, the last message completes it), and publishes the union of the latest
// complete group of each source into NavState's sky whenever a group completes:
//  - sources are listed in talker order (GP first), then by signal; each group's satellites in
//    their places in the group, gaps included, so a GPS-only receiver's sky looks as it always
//    has;
//  - a satellite that several signals report is listed once, where it first appears, with the
//    values of its strongest signal;
//  - a source whose group has not completed for StaleAfter is dropped when another completes, so
//    a constellation the receiver no longer reports leaves the sky, while one it reports only
//    every few seconds (GLONASS every 5 s beside GPS every second) stays;
//  - a sky found empty when a group completes was emptied by loss of reception (or was empty
//    anyway): the other sources' groups are forgotten with it, so that none reappears before
//    its source sends it again;
//  - beyond SkySlotCount satellites the weakest give way: a satellite takes the place of the
//    first weakest when its signal is stronger, so the choice depends only on the groups.
// Fixed storage: interpreting never allocates.
class SkyCollector {
public:
    using Clock = std::chrono::steady_clock;
    // Where the collector reads the time; tests pass their own clock and never wait.
    using TimeSource = Clock::time_point (*)();
    static Clock::time_point SteadyNow() { return Clock::now(); }

    static constexpr int GroupSlots = 32;        // eight messages of four satellites
    static constexpr int MaxGroups = 16;         // sources at a time; the one heard from least
                                                 // recently makes way for a new one
    // Survives a source that reports every 5 s and loses one group.
    static constexpr std::chrono::seconds StaleAfter{12};

    explicit SkyCollector(TimeSource now = SteadyNow) : Now(now) {}

    // Takes one message; true when it completed a group and so replaced the published sky.
    bool Take(const GsvMessage& message, NavState& nav);

private:
    struct Group {
        bool InUse = false;
        bool HasComplete = false;
        SkyGroupKey Key;
        int Rank = 0;                            // place in the published order
        Clock::time_point LastComplete;          // its last complete group, or first message
        std::uint64_t LastHeard = 0;             // Messages when it last sent one
        std::array<SkyEntry, GroupSlots> Building{};
        std::array<SkyEntry, GroupSlots> Complete{};
    };

    Group& GroupFor(const SkyGroupKey& key);
    void DropStale(const Group& completed, const NavState& nav);
    void Publish(NavState& nav) const;

    TimeSource Now;
    std::array<Group, MaxGroups> Groups{};
    std::uint64_t Messages = 0;
};
