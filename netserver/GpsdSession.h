#pragma once

#include "GpsdCommand.h"
#include "GpsdObjects.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct NavState;
struct TpvReport;

// One client's conversation. The first character that is not blank tells which protocol the
// client speaks: "?" starts the JSON protocol of current clients, which is greeted with a VERSION
// object; anything else is an old plotter, whose every character is answered as the old
// single-letter protocol always answered it. The choice holds for the whole connection.
//
// A client that says nothing at first is greeted with VERSION (Greet) after a short silence, as
// gpsd greets every client at once: JSON clients such as gpsprof wait for it before they send
// anything. Old plotters send their letter as soon as they are connected, before that greeting,
// and never see it.
class GpsdSession {
public:
    enum class Protocol { Undecided, Letters, Json };

    // latest: the TPV a POLL answers with, kept by the server; revision: the VERSION's "rev".
    GpsdSession(NavState& nav, const GpsdDevice& device, const TpvReport& latest, std::string_view revision)
        : Nav(nav), Device(device), Latest(latest), Revision(revision)
    {
    }

    // Received bytes; the replies are appended to out. nowMillis (milliseconds since 1970 UTC)
    // dates a POLL answer.
    void Receive(std::string_view bytes, std::int64_t nowMillis, std::string& out);
    // The client has been silent since it connected: VERSION, once, unless it has already
    // spoken.
    void Greet(std::string& out);

    Protocol Speaks() const { return Mode; }
    const WatchPolicy& Watch() const { return Policy; }

private:
    void ReceiveJson(char c, std::int64_t nowMillis, std::string& out);
    void Execute(std::string_view text, std::int64_t nowMillis, std::string& out);
    void Watch(std::string_view argument, std::string& out);
    // Why a ?DEVICE= argument cannot be done; nullopt when it asks for nothing but this device.
    std::optional<std::string> DeviceChangeRefused(std::string_view argument) const;

    NavState& Nav;
    const GpsdDevice& Device;
    const TpvReport& Latest;
    std::string_view Revision;
    Protocol Mode = Protocol::Undecided;
    bool Greeted = false;
    CommandFraming Framing;
    WatchPolicy Policy;
};
