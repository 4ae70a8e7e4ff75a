#include "IntakeInvariants.h"

#include "Constellations.h"
#include "NmeaInput.h"
#include "ValueBounds.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace {

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "NMEA intake broke its promise: %s\n", promise);
    __builtin_trap();
}

// The fields of a sentence as the interpreter sees them: the text before the first "*", split at
// every ",".
std::vector<std::string_view> FieldsOf(std::string_view line)
{
    line = line.substr(0, line.find('*'));
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// The number a field of plain digits stands for, if it is at most max, and 0 for an empty field;
// nullopt for any other text, whose reading this check leaves to the unit tests.
std::optional<int> PlainNumber(std::string_view field, int max)
{
    if (field.size() > 3 || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    for (const char c : field)
        value = value * 10 + (c - '0');
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

bool SkyEquals(const NavState& a, const NavState& b)
{
    return a.SkyPrn == b.SkyPrn && a.SkyElevation == b.SkyElevation && a.SkyAzimuth == b.SkyAzimuth
           && a.SkySnr == b.SkySnr && a.SkySystem == b.SkySystem;
}

bool KnownSystem(char system)
{
    return std::string_view("GSRECJI").find(system) != std::string_view::npos;
}

} // namespace

void IntakeInvariants::AfterCharacter(const NmeaInput& input)
{
    Require(input.SentenceBuffer().size() <= NmeaInput::SentenceBufferLimit,
            "the sentence buffer stays within its limit");
}

void IntakeInvariants::BeforeLine(const NmeaInput& input)
{
    Line = input.SentenceBuffer();
    Before = Nav;
}

void IntakeInvariants::AfterLine(const NmeaInput& input, const LineResult& result) const
{
    Require(input.SentenceBuffer().empty(), "a CR empties the sentence buffer");
    Require(input.SentenceRecognised() == result.Recognised,
            "SentenceRecognised agrees with the line's result");
    Require(!result.Recognised || result.ChecksumValid, "only a valid checksum is recognised");
    Require(result.Recognised || (!result.FixAccepted && !result.SkyPublished),
            "only a recognised sentence accepts a fix or publishes the sky");
    Require(result.Recognised || Nav == Before, "an unrecognised line changes nothing");
    CheckScreening(input);
    CheckSky(result);
    CheckUsedSatellites();
}

void IntakeInvariants::CheckScreening(const NmeaInput& input) const
{
    const std::string& text = input.Screening().Text();
    Require(std::count(text.begin(), text.end(), '\n') <= InputScreening::MaxLines,
            "the screening keeps at most five lines");
    Require(text.size() <= InputScreening::MaxChars,
            "the screening keeps at most 1024 characters");
    // Every line is shown: whole with its line end, or, when that does not fit, its beginning.
    const std::string shown = Line + "\r\n";
    if (shown.size() <= InputScreening::MaxChars)
        Require(text.ends_with(shown), "the screening ends with the newest line");
    else
        Require(text == shown.substr(0, InputScreening::MaxChars),
                "an overlong line fills the screening with its beginning");
}

// The published sky changes only as a whole, and only when a group's last message says so; every
// satellite in it has its constellation.
void IntakeInvariants::CheckSky(const LineResult& result) const
{
    if (!result.SkyPublished) {
        Require(SkyEquals(Nav, Before), "the sky changes only when a group is published");
        return;
    }
    for (std::size_t i = 0; i < Nav.SkyPrn.size(); ++i)
        Require(Nav.SkyPrn[i] == 0 ? Nav.SkySystem[i] == 0 : KnownSystem(Nav.SkySystem[i]),
                "a satellite in the sky has its constellation, an empty slot none");
    CheckPublishedGroup();
}

// The satellites of the message that completed a group are in the published sky, at least as
// strong as they were reported (another signal may be stronger), unless the sky is full: then the
// weakest gave way. Satellites with values that cannot be true are left out.
void IntakeInvariants::CheckPublishedGroup() const
{
    if (std::find(Nav.SkyPrn.begin(), Nav.SkyPrn.end(), 0) == Nav.SkyPrn.end())
        return;
    const std::vector<std::string_view> fields = FieldsOf(Line);
    const std::string_view talker = fields[0].substr(1, 2);
    const int lastField = static_cast<int>(fields.size()) - 1;
    const int count = lastField > 3 ? (lastField - 3) / 4 : 0;
    for (int i = 1; i <= count; ++i) {
        const auto at = static_cast<std::size_t>(4 * i);
        const std::optional<int> prn = PlainNumber(fields[at], MaxSatelliteNumber);
        const std::optional<int> snr = PlainNumber(fields[at + 3], MaxSnr);
        if (!prn || *prn == 0 || !snr || !PlainNumber(fields[at + 1], MaxElevation)
            || !PlainNumber(fields[at + 2], MaxAzimuth))
            continue;
        const SatelliteId id{SatelliteSystem(talker, *prn), static_cast<std::uint16_t>(*prn)};
        bool shown = false;
        for (std::size_t slot = 0; slot < Nav.SkyPrn.size(); ++slot)
            shown = shown || (SatelliteId{Nav.SkySystem[slot], Nav.SkyPrn[slot]} == id && Nav.SkySnr[slot] >= *snr);
        Require(shown, "a completed group's satellites are in the published sky");
    }
}

// The used satellites fill their table from the front, each once.
void IntakeInvariants::CheckUsedSatellites() const
{
    const auto& used = Nav.UsedSatellites;
    const auto end = std::find(used.begin(), used.end(), SatelliteId{});
    Require(std::all_of(end, used.end(), [](SatelliteId id) { return id == SatelliteId{}; }),
            "the used satellites fill their table from the front");
    for (auto it = used.begin(); it != end; ++it)
        Require(it->Prn != 0 && KnownSystem(it->System) && std::find(used.begin(), it, *it) == it,
                "a used satellite is listed once, with its constellation");
}
