#include "GpsdCommand.h"

#include "JsonObjectParser.h"

namespace {

bool IsCapitalName(std::string_view name)
{
    if (name.empty())
        return false;
    for (const char c : name) {
        if (c < 'A' || c > 'Z')
            return false;
    }
    return true;
}

// Reads one member into a field of the matching type; false when the type does not match.
bool ReadMember(const JsonMember& member, WatchPolicy& watch)
{
    const auto flag = [&member](bool& field) {
        field = member.Flag;
        return member.Type == JsonMember::Kind::Bool;
    };
    if (member.Name == "enable") return flag(watch.Enable);
    if (member.Name == "json") return flag(watch.Json);
    if (member.Name == "nmea") return flag(watch.Nmea);
    if (member.Name == "scaled") return flag(watch.Scaled);
    if (member.Name == "timing") return flag(watch.Timing);
    if (member.Name == "split24") return flag(watch.Split24);
    if (member.Name == "pps") return flag(watch.Pps);
    if (member.Name == "raw") {
        // Range first: a number beyond int has no int value, and converting it is undefined.
        if (member.Type != JsonMember::Kind::Number || member.Number < 0 || member.Number > 2)
            return false;
        watch.Raw = static_cast<int>(member.Number);
        return true;
    }
    if (member.Name == "device") {
        watch.Device = member.Text;
        return member.Type == JsonMember::Kind::String;
    }
    return true;
}

} // namespace

std::optional<GpsdCommand> SplitCommand(std::string_view text)
{
    if (text.empty() || text.front() != '?')
        return std::nullopt;
    text.remove_prefix(1);
    GpsdCommand command;
    const std::size_t equals = text.find('=');
    command.Name = text.substr(0, equals);
    if (equals != std::string_view::npos)
        command.Argument = text.substr(equals + 1);
    if (!IsCapitalName(command.Name))
        return std::nullopt;
    return command;
}

std::optional<std::string> ApplyWatch(std::string_view argument, WatchPolicy& watch)
{
    const auto members = ParseJsonObject(argument);
    if (!members)
        return std::string("Invalid WATCH: malformed JSON");
    WatchPolicy changed = watch;
    changed.Enable = true;
    for (const JsonMember& member : *members) {
        if (!ReadMember(member, changed))
            return "Invalid WATCH: wrong type for \"" + member.Name.substr(0, 32) + "\"";
    }
    if (changed.Enable && !changed.Json && !changed.Nmea && changed.Raw == 0)
        changed.Json = true;
    watch = std::move(changed);
    return std::nullopt;
}

void CommandFraming::Restart()
{
    Pending.clear();
    Completed = false;
    InString = false;
    Escaped = false;
    Depth = 0;
}

CommandFraming::Step CommandFraming::Take(char c)
{
    if (Completed)
        Restart();
    const bool lineEnd = c == '\r' || c == '\n';
    if (Discarding) {
        // Strings are not followed here: a ";" inside one only ends the throwing away early, and
        // what follows it is then answered as an unknown command.
        if (lineEnd || c == ';') {
            Discarding = false;
            Restart();
        }
        return Step::None;
    }
    if (lineEnd || (c == ';' && !InString)) {
        Completed = !Pending.empty();
        return Completed ? Step::Command : Step::None;
    }
    if (Pending.empty() && (c == ' ' || c == '\t'))
        return Step::None;
    if (Pending.size() == CommandLimit) {
        Discarding = true;
        Pending.clear();
        return Step::TooLong;
    }
    Pending.push_back(c);
    if (InString) {
        InString = Escaped || c != '"';
        Escaped = !Escaped && c == '\\';
        return Step::None;
    }
    if (c == '"')
        InString = true;
    else if (c == '{')
        ++Depth;
    else if (c == '}' && Depth > 0 && --Depth == 0)
        Completed = true;
    return Completed ? Step::Command : Step::None;
}
