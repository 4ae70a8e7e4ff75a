// Arbitrary bytes from a GPSD client, cut into pieces of changing size as a socket delivers them
// and answered piece by piece, as the server does. The session answers from a real receiver's
// state (a whole receiver log streamed through the NMEA intake once) or from the state before any
// data, with its device open, gone away, or never opened. Every reply is checked for what a
// client relies on.
//
// Input: the first byte chooses the situation and whether the silent client is greeted, the
// second the largest piece (0: all in one), the rest is what the client sends.
#include "GpsdCommand.h"
#include "GpsdObjects.h"
#include "GpsdReply.h"
#include "GpsdSession.h"
#include "NavState.h"
#include "NmeaInput.h"
#include "TpvEstimates.h"

#include <QJsonDocument>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "GPSD session broke its promise: %s\n", promise);
    __builtin_trap();
}

constexpr std::int64_t Now = 1426699189000; // a second after the log's last fix
constexpr std::string_view Revision = "devozora 9.9";

// What a session answers from, and what its answers come to.
struct Situation {
    NavState Nav;
    TpvReport Latest;
    GpsdDevice Device;
    std::string PositionAnswer; // to "o"
    std::size_t ReplyLimit = 0; // the most one command may bring: the POLL answer and some room

    Situation(bool received, bool open, std::string path)
        : Device{std::move(path), Now - 60000, open, SerialLine{4800, 'N', 1}, 1000}
    {
        Nav.SetGpsdPlaceholders();
        if (received) {
            NmeaInput input(Nav);
            TpvHistory history;
            input.OnEpoch([this, &history](const FixEpoch& epoch) { Latest = history.Next(epoch, Nav); });
            std::ifstream log(DEVOZORA_FUZZ_LOG, std::ios::binary);
            Require(log.good(), "the receiver log is there");
            std::for_each(std::istreambuf_iterator<char>(log), {}, [&input](char c) { input.Intake(c); });
            input.EndOfCycle();
            Require(Nav.FixValid && Latest.Epoch.Mode == 3 && Nav.SkyPrn[0] != 0, "the log leaves a fix and a sky");
        }
        // The first "o" settles the time and altitude texts it writes into the state.
        PositionAnswer = GpsdAnswer('o', Nav);
        std::string poll;
        AppendPoll(poll, Latest, Nav, Device, Now);
        ReplyLimit = poll.size() + 512;
    }
};

const Situation& Choose(std::uint8_t choice)
{
    static const std::array<Situation, 4> situations{
        Situation(true, true, "/dev/ttyUSB0"), Situation(false, true, "/dev/ttyUSB0"),
        Situation(true, false, "/dev/ttyUSB0"), Situation(true, false, "")};
    return situations[choice % situations.size()];
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// One JSON object in UTF-8 as any client reads it. Qt's parser checks the syntax and the UTF-8;
// it lets through what stricter parsers refuse: raw control characters and numbers like "2.".
bool ReadableJsonObject(std::string_view line)
{
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), static_cast<qsizetype>(line.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (inString && c == '\\')
            ++i;
        else if (c == '"')
            inString = !inString;
        else if (!inString && c == '.' && (i + 1 == line.size() || line[i + 1] < '0' || line[i + 1] > '9'))
            return false;
    }
    return true;
}

// One client's conversation, checked after every piece it sends and every greeting.
class Conversation {
public:
    explicit Conversation(const Situation& situation)
        : Given(situation), Nav(situation.Nav), Session(Nav, situation.Device, situation.Latest, Revision)
    {
    }

    void Greet()
    {
        Out.clear();
        Session.Greet(Out);
        const bool due = Expected == GpsdSession::Protocol::Undecided && !Greeted;
        Greeted = Greeted || due;
        Require(due ? Out.starts_with(R"({"class":"VERSION",)") && CheckJsonLines() == 1 : Out.empty(),
                "a silent client is greeted with VERSION once, a client that spoke never");
        Said += Out;
    }

    void Receive(std::string_view piece)
    {
        Out.clear();
        Session.Receive(piece, Now, Out);
        const auto decides = std::find_if_not(piece.begin(), piece.end(), IsBlank);
        if (Expected == GpsdSession::Protocol::Undecided && decides != piece.end()) {
            Expected = *decides == '?' ? GpsdSession::Protocol::Json : GpsdSession::Protocol::Letters;
            piece.remove_prefix(static_cast<std::size_t>(decides - piece.begin()));
            Require(Expected == GpsdSession::Protocol::Letters || Greeted || Out.starts_with(R"({"class":"VERSION",)"),
                    "a JSON client's first line is VERSION");
        }
        Require(Session.Speaks() == Expected, "the first character that is not blank decides the protocol for good");
        if (Expected == GpsdSession::Protocol::Letters)
            CheckLetters(piece);
        else
            CheckJson(piece);
        Require(Nav == Given.Nav, "a client cannot change the navigation state");
        const WatchPolicy& watch = Session.Watch();
        Require(watch.Raw >= 0 && watch.Raw <= 2 && (watch.Device.empty() || watch.Device == Given.Device.Path),
                "a watch holds nothing this server cannot do");
        Said += Out;
    }

    // However the bytes were cut into pieces, the client is answered the same.
    void CheckAsOnePiece(std::string_view sent) const
    {
        NavState nav = Given.Nav;
        GpsdSession whole(nav, Given.Device, Given.Latest, Revision);
        std::string out;
        if (Greeted)
            whole.Greet(out);
        whole.Receive(sent, Now, out);
        Require(out == Said, "the replies do not depend on how the bytes were cut into pieces");
    }

private:
    // Exactly one of the old replies for each "o" and "l", nothing for anything else.
    void CheckLetters(std::string_view piece) const
    {
        std::string expected;
        for (const char c : piece)
            expected += c == 'o' || c == 'O' ? Given.PositionAnswer : c == 'l' || c == 'L' ? GpsdLevelReply : "";
        Require(Out == expected, "an old plotter gets the old replies, one for each o or l");
    }

    void CheckJson(std::string_view piece) const
    {
        const std::size_t enders = static_cast<std::size_t>(
            std::count_if(piece.begin(), piece.end(), [](char c) { return c == ';' || c == '\r' || c == '\n' || c == '}'; }));
        CheckJsonLines();
        Require(Out.size() <= (enders + 1 + piece.size() / CommandFraming::CommandLimit) * Given.ReplyLimit,
                "the replies stay in proportion to the commands");
    }

    // Every reply is one line of CR LF, one strict JSON object that names its class. Returns the
    // number of lines.
    std::size_t CheckJsonLines() const
    {
        Require(Out.empty() || Out.ends_with("\r\n"), "a reply ends its line");
        std::size_t lines = 0;
        for (std::size_t start = 0; start < Out.size(); ++lines) {
            const std::size_t end = Out.find("\r\n", start);
            const std::string_view line = std::string_view(Out).substr(start, end - start);
            Require(line.find_first_of("\r\n") == std::string_view::npos, "a reply is one line");
            Require(line.starts_with(R"({"class":")") && ReadableJsonObject(line),
                    "a reply is a JSON object in UTF-8 that names its class");
            start = end + 2;
        }
        return lines;
    }

    const Situation& Given;
    NavState Nav;
    GpsdSession Session;
    GpsdSession::Protocol Expected = GpsdSession::Protocol::Undecided;
    bool Greeted = false;
    std::string Out;  // the replies to the latest piece or greeting
    std::string Said; // all replies so far
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool greetings = data[0] & 4;
    const std::string_view sent(reinterpret_cast<const char*>(data) + 2, size - 2);
    Conversation conversation(Choose(data[0]));
    std::uint32_t random = data[0] << 8 | data[1] | 1;
    for (std::string_view rest = sent; !rest.empty();) {
        // xorshift: piece sizes and greetings that differ from piece to piece, the same for an input.
        random ^= random << 13;
        random ^= random >> 17;
        random ^= random << 5;
        if (greetings && random % 4 == 0)
            conversation.Greet();
        const std::size_t piece = data[1] == 0 ? rest.size() : std::min<std::size_t>(rest.size(), 1 + random % data[1]);
        conversation.Receive(rest.substr(0, piece));
        rest.remove_prefix(piece);
    }
    // The greeting comes after a silence, however much was said before it.
    conversation.Greet();
    conversation.CheckAsOnePiece(sent);
    return 0;
}
