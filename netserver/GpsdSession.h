#pragma once

#include "GpsdCommand.h"
#include "GpsdObjects.h"

#include <cstdint>
#include <string>
#include <string_view>

struct NavState;

// One client's conversation. The first character that is not blank tells which protocol the
// client speaks: "?" starts the JSON protocol of current clients, which is greeted with a VERSION
// object; anything else is an old plotter, whose every character is answered as the old
// single-letter protocol always answered it. The choice holds for the whole connection.
class GpsdSession {
public:
    enum class Protocol { Undecided, Letters, Json };

    GpsdSession(NavState& nav, const GpsdDevice& device, std::string_view release)
        : Nav(nav), Device(device), Release(release)
    {
    }

    // Received bytes; the replies are appended to out. nowMillis (milliseconds since 1970 UTC)
    // dates a POLL answer.
    void Receive(std::string_view bytes, std::int64_t nowMillis, std::string& out);

    Protocol Speaks() const { return Mode; }
    const WatchPolicy& Watch() const { return Policy; }

private:
    void ReceiveJson(char c, std::int64_t nowMillis, std::string& out);
    void Execute(std::string_view text, std::int64_t nowMillis, std::string& out);

    NavState& Nav;
    const GpsdDevice& Device;
    std::string_view Release;
    Protocol Mode = Protocol::Undecided;
    CommandFraming Framing;
    WatchPolicy Policy;
};
