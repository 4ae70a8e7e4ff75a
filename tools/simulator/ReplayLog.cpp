#include "ReplayLog.h"

#include <algorithm>

namespace {

constexpr std::int64_t DayMs = 86'400'000;

std::vector<std::string> LogLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() != '#')
            lines.emplace_back(line);
    }
    return lines;
}

std::string_view Address(std::string_view line)
{
    if (line.empty() || line.front() != '$')
        return {};
    return line.substr(0, line.find(','));
}

std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::vector<ReplayEpoch> SplitByTime(const std::vector<std::string>& lines)
{
    std::vector<ReplayEpoch> epochs(1);
    for (const std::string& line : lines) {
        const auto time = SentenceTimeOfDayMs(line);
        if (time && epochs.back().TimeOfDayMs && *time != *epochs.back().TimeOfDayMs)
            epochs.emplace_back();
        if (time && !epochs.back().TimeOfDayMs)
            epochs.back().TimeOfDayMs = time;
        epochs.back().Lines.push_back(line);
    }
    return epochs;
}

std::vector<ReplayEpoch> SplitByCycle(const std::vector<std::string>& lines)
{
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return !Address(l).empty(); });
    const std::string_view cycleStart = first == lines.end() ? std::string_view{} : Address(*first);
    std::vector<ReplayEpoch> epochs(1);
    for (const std::string& line : lines) {
        if (!cycleStart.empty() && Address(line) == cycleStart && !epochs.back().Lines.empty())
            epochs.emplace_back();
        epochs.back().Lines.push_back(line);
    }
    return epochs;
}

} // namespace

std::optional<std::int64_t> SentenceTimeOfDayMs(std::string_view line)
{
    const std::string_view address = Address(line);
    if (address.size() != 6 || line.size() < 7
        || (!address.ends_with("RMC") && !address.ends_with("GGA")))
        return std::nullopt;
    const std::string_view time = line.substr(7);
    const auto hours = Digits(time, 0, 2);
    const auto minutes = Digits(time, 2, 2);
    const auto seconds = Digits(time, 4, 2);
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 60)
        return std::nullopt;
    std::int64_t ms = ((*hours * 60 + *minutes) * 60 + *seconds) * 1000LL;
    if (time.size() > 6 && time[6] == '.') {
        int scale = 100;
        for (std::size_t i = 7; i < time.size() && scale > 0 && Digits(time, i, 1); ++i, scale /= 10)
            ms += *Digits(time, i, 1) * scale;
    }
    return ms;
}

std::vector<ReplayEpoch> ParseReplayLog(std::string_view text)
{
    const std::vector<std::string> lines = LogLines(text);
    if (lines.empty())
        return {};
    const bool timed = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return SentenceTimeOfDayMs(l).has_value();
    });
    return timed ? SplitByTime(lines) : SplitByCycle(lines);
}

std::int64_t ReplayDelayMs(const ReplayEpoch& from, const ReplayEpoch& to, std::int64_t fallbackMs)
{
    if (!from.TimeOfDayMs || !to.TimeOfDayMs)
        return fallbackMs;
    std::int64_t gap = *to.TimeOfDayMs - *from.TimeOfDayMs;
    if (gap < -DayMs / 2)
        gap += DayMs;
    if (gap <= 0)
        return fallbackMs;
    return std::min(gap, MaxReplayGapMs);
}
