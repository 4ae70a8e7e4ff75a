#pragma once

#include "NavState.h"
#include "SentenceFields.h"

#include <array>
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
//  - a source that stops sending is dropped once the others have completed StaleAfterEpochs
//    rounds without it (a round ends when a source completes a second time), so a constellation
//    the receiver no longer reports leaves the sky within a few seconds;
//  - a sky found empty when a group completes was emptied by loss of reception (or was empty
//    anyway): the other sources' groups are forgotten with it, so that none reappears before
//    its source sends it again;
//  - beyond SkySlotCount satellites the weakest give way: a satellite takes the place of the
//    first weakest when its signal is stronger, so the choice depends only on the groups.
// Fixed storage: interpreting never allocates.
class SkyCollector {
public:
    static constexpr int GroupSlots = 32;        // eight messages of four satellites
    static constexpr int MaxGroups = 16;         // sources at a time; the one heard from least
                                                 // recently makes way for a new one
    static constexpr std::uint32_t StaleAfterEpochs = 3;

    // Takes one message; true when it completed a group and so replaced the published sky.
    bool Take(const GsvMessage& message, NavState& nav);

private:
    struct Group {
        bool InUse = false;
        bool HasComplete = false;
        SkyGroupKey Key;
        int Rank = 0;                            // place in the published order
        std::uint32_t Epoch = 0;                 // round of its last completion (or creation)
        std::uint64_t LastHeard = 0;             // Messages when it last sent one
        std::array<SkyEntry, GroupSlots> Building{};
        std::array<SkyEntry, GroupSlots> Complete{};
    };

    Group& GroupFor(const SkyGroupKey& key);
    void StartRound(std::size_t group);
    void DropStale(std::size_t completed, const NavState& nav);
    void Publish(NavState& nav) const;

    std::array<Group, MaxGroups> Groups{};
    std::uint32_t Epoch = 0;
    std::uint64_t Messages = 0;
    // Groups completed in the current round, one bit each.
    std::uint32_t CompletedThisRound = 0;
};
