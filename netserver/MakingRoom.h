#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

// Where a connected client stands when a newcomer finds every place of its server taken.
struct ClientStanding {
    bool Watching = false;         // it asked for reports and gets them without asking again
    std::int64_t SilentForMs = 0;  // since it last sent anything, or since it was served
    std::int64_t StalledForMs = 0; // how long what is queued for it has not moved; 0 while it moves
};

// A client whose queue has not moved for this long has stopped reading, or is gone without
// closing: a reader's system takes what we send at once, and only a full receive buffer or a
// vanished peer holds it up this long.
inline constexpr std::chrono::milliseconds StallLimit{5000};

// Nobody locks the door: which client leaves so that a newcomer is served, nullopt when none may.
// First the one whose queue has not moved for StallLimit or longer, the longest-stalled first:
// it is not reading, and may be gone. Then one that watches nothing and has been silent longest:
// a port scanner, a connection that a crashed program left open, a poller that has not asked for
// a while. A watcher that reads is never pushed out; the newcomer then waits for a place. A
// client of the plain NMEA port never speaks and watches nothing by asking, so there the one
// connected longest goes once no queue is stalled.
std::optional<std::size_t> ClientToMakeRoom(std::span<const ClientStanding> clients);
