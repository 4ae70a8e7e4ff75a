#include "GpsdSession.h"

#include "GpsdReply.h"
#include "JsonObjectParser.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The start of what the client sent, for an error message; never the whole of a long text.
std::string Excerpt(std::string_view text)
{
    constexpr std::size_t Length = 32;
    std::string excerpt(text.substr(0, Length));
    // Bytes outside printable ASCII may not even be UTF-8, which a JSON text must be.
    for (char& c : excerpt) {
        if (c < ' ' || c > '~')
            c = '?';
    }
    return excerpt + (text.size() > Length ? "..." : "");
}

} // namespace

void GpsdSession::Greet(std::string& out)
{
    if (Mode != Protocol::Undecided || Greeted)
        return;
    Greeted = true;
    AppendVersion(out, Revision);
}

void GpsdSession::Receive(std::string_view bytes, std::int64_t nowMillis, std::string& out)
{
    for (const char c : bytes) {
        if (Mode == Protocol::Undecided && !IsBlank(c)) {
            Mode = c == '?' ? Protocol::Json : Protocol::Letters;
            if (Mode == Protocol::Json && !Greeted)
                AppendVersion(out, Revision);
        }
        if (Mode == Protocol::Letters)
            out += GpsdAnswer(c, Nav);
        else if (Mode == Protocol::Json)
            ReceiveJson(c, nowMillis, out);
    }
}

void GpsdSession::ReceiveJson(char c, std::int64_t nowMillis, std::string& out)
{
    switch (Framing.Take(c)) {
    case CommandFraming::Step::Command: Execute(Framing.Command(), nowMillis, out); break;
    case CommandFraming::Step::TooLong: AppendError(out, "Request too long"); break;
    case CommandFraming::Step::None: break;
    }
}

void GpsdSession::Execute(std::string_view text, std::int64_t nowMillis, std::string& out)
{
    const auto command = SplitCommand(text);
    if (!command) {
        AppendError(out, "Unrecognized request '" + Excerpt(text) + "'");
        return;
    }
    if (command->Name == "WATCH" && command->Argument) {
        Watch(*command->Argument, out);
        return;
    }
    if (command->Name == "DEVICE" && command->Argument) {
        if (const auto refused = DeviceChangeRefused(*command->Argument))
            AppendError(out, *refused);
        else
            AppendDevice(out, Device);
        return;
    }
    // The other commands take no argument this server acts on, but a broken one is still an error.
    if (command->Argument && !ParseJsonObject(*command->Argument)) {
        AppendError(out, "Invalid " + std::string(command->Name) + ": malformed JSON");
        return;
    }
    if (command->Name == "VERSION")
        AppendVersion(out, Revision);
    else if (command->Name == "DEVICES")
        AppendDevices(out, Device);
    else if (command->Name == "DEVICE")
        AppendDevice(out, Device);
    else if (command->Name == "WATCH") {
        AppendDevices(out, Device);
        AppendWatch(out, Policy);
    } else if (command->Name == "POLL")
        AppendPoll(out, Latest, Nav, Device, nowMillis);
    else
        AppendError(out, "Unrecognized request '" + Excerpt(command->Name) + "'");
}

void GpsdSession::Watch(std::string_view argument, std::string& out)
{
    WatchPolicy changed = Policy;
    if (const auto error = ApplyWatch(argument, changed)) {
        AppendError(out, *error);
        return;
    }
    // A client that watches one device must not take our reports for that device's.
    if (!changed.Device.empty() && changed.Device != Device.Path) {
        AppendError(out, "Invalid WATCH: no such device " + Excerpt(changed.Device));
        return;
    }
    Policy = std::move(changed);
    AppendDevices(out, Device);
    AppendWatch(out, Policy);
}

std::optional<std::string> GpsdSession::DeviceChangeRefused(std::string_view argument) const
{
    const auto members = ParseJsonObject(argument);
    if (!members)
        return std::string("Invalid DEVICE: malformed JSON");
    for (const JsonMember& member : *members) {
        if (member.Name == "class")
            continue;
        if (member.Name == "path") {
            if (member.Type != JsonMember::Kind::String || member.Text != Device.Path)
                return "Invalid DEVICE: no such device " + Excerpt(member.Text);
            continue;
        }
        // Speed, parity, cycle, native mode: the port belongs to the program's own settings.
        return "Invalid DEVICE: \"" + Excerpt(member.Name) + "\" cannot be changed here";
    }
    return std::nullopt;
}
