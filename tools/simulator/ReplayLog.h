#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lines of a recorded log that a receiver sent together, and the UTC time they carry.
struct ReplayEpoch {
    std::vector<std::string> Lines;           // without line ends
    std::optional<std::int64_t> TimeOfDayMs;  // from its RMC or GGA time, if any
};

// A long pause in a recording (the logger stopped, a receiver restart) is not worth waiting for.
inline constexpr std::int64_t MaxReplayGapMs = 2000;

// Splits a recorded log into epochs. Lines starting with '#' and empty lines are skipped; a line
// ends at LF with or without CR before it (recordings often lost the CR), and the caller sends
// every line with CR LF. A new epoch starts where an RMC or GGA carries a time other than the
// current epoch's. A log without any such time is split where the first sentence type of the
// log comes round again.
std::vector<ReplayEpoch> ParseReplayLog(std::string_view text);

// The time of day in an RMC or GGA sentence of any talker, hhmmss or hhmmss.ss.
std::optional<std::int64_t> SentenceTimeOfDayMs(std::string_view line);

// How long to wait between sending from and sending to: the difference of their times (across
// midnight too), at most MaxReplayGapMs; fallbackMs where either has no time or time went back.
std::int64_t ReplayDelayMs(const ReplayEpoch& from, const ReplayEpoch& to, std::int64_t fallbackMs);
