#pragma once

#include "GpsdObjects.h"

#include <optional>
#include <string>
#include <string_view>

// One JSON-protocol command, "?NAME;" or "?NAME={...}", split into its parts.
struct GpsdCommand {
    std::string_view Name;
    std::optional<std::string_view> Argument; // the JSON object after "=", unparsed
};

// Splits a command as the framing delivered it (without its ";" or line end). nullopt when it
// does not start with "?" followed by a name of capital letters.
std::optional<GpsdCommand> SplitCommand(std::string_view text);

// Applies the members of a ?WATCH argument to watch. "enable" is true when not given, and an
// enabled watch that asks for no format at all gets the JSON reports: a client that says only
// {"enable":true} wants to be told something. Unknown members are ignored, so that clients that
// send more than this server acts on still work. On a malformed argument or a member of the wrong
// type, watch is left as it was and the reason comes back.
std::optional<std::string> ApplyWatch(std::string_view argument, WatchPolicy& watch);

// Cuts the unfinished JSON-protocol input into commands. A command ends with ";" or a line end
// outside a string, or with the "}" that closes its argument. A command longer than
// CommandLimit is thrown away up to its end, so a client that never ends a command cannot grow
// our memory.
class CommandFraming {
public:
    static constexpr std::size_t CommandLimit = 1024;

    CommandFraming() { Pending.reserve(CommandLimit); }

    enum class Step { None, Command, TooLong };
    // Takes one character; Command when it ended a command (then Command() holds it), TooLong when
    // the command in progress passed the limit and is being thrown away.
    Step Take(char c);
    std::string_view Command() const { return Pending; }

private:
    void Restart();

    std::string Pending;
    bool Completed = false;
    bool Discarding = false;
    bool InString = false;
    bool Escaped = false;
    int Depth = 0;
};
