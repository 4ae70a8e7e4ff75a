#include "IntakeInvariants.h"

#include "NmeaInput.h"

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

// The number a field of plain digits stands for; nullopt for any other text, whose reading this
// check leaves to the unit tests.
std::optional<int> PlainNumber(std::string_view field)
{
    if (field.empty() || field.size() > 3
        || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    for (const char c : field)
        value = value * 10 + (c - '0');
    return value;
}

bool SlotEquals(const NavState& a, const NavState& b, std::size_t i)
{
    return a.GsvPrn[i] == b.GsvPrn[i] && a.GsvElevation[i] == b.GsvElevation[i]
           && a.GsvAzimuth[i] == b.GsvAzimuth[i] && a.GsvSnr[i] == b.GsvSnr[i];
}

bool SlotEmpty(const NavState& nav, std::size_t i)
{
    return nav.GsvPrn[i] == 0 && nav.GsvElevation[i] == 0 && nav.GsvAzimuth[i] == 0
           && nav.GsvSnr[i] == 0;
}

bool GroupChanged(const NavState& a, const NavState& b)
{
    return a.GsvPrn != b.GsvPrn || a.GsvElevation != b.GsvElevation
           || a.GsvAzimuth != b.GsvAzimuth || a.GsvSnr != b.GsvSnr;
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
    if (result.Recognised)
        CheckGsvSlots();
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

// The published sky changes only as a whole: to exactly the group received, and only when a
// group's last message says so.
void IntakeInvariants::CheckSky(const LineResult& result) const
{
    if (result.SkyPublished) {
        Require(Nav.SkyPrn == Nav.GsvPrn && Nav.SkyElevation == Nav.GsvElevation
                    && Nav.SkyAzimuth == Nav.GsvAzimuth && Nav.SkySnr == Nav.GsvSnr,
                "a published sky is the group received");
        return;
    }
    Require(Nav.SkyPrn == Before.SkyPrn && Nav.SkyElevation == Before.SkyElevation
                && Nav.SkyAzimuth == Before.SkyAzimuth && Nav.SkySnr == Before.SkySnr,
            "the sky changes only when a group is published");
}

// Satellite i of GSV message m goes to slot (m - 1) * 4 + i, and message 1 starts an empty table:
// no satellite of a larger earlier sky survives into a smaller one. A group whose first message
// was lost adds to the table it finds, so only message 1 may empty slots it does not write.
void IntakeInvariants::CheckGsvSlots() const
{
    const std::vector<std::string_view> fields = FieldsOf(Line);
    if (fields[0] != "$GPGSV" || fields.size() < 3)
        return;
    const std::optional<int> message = PlainNumber(fields[2]);
    if (!message)
        return;
    const int lastField = static_cast<int>(fields.size()) - 1;
    const int count = lastField > 3 ? (lastField - 3) / 4 : 0;
    const int firstWritten = (*message - 1) * 4 + 1;
    const int lastWritten = firstWritten + count - 1;
    const bool applied = GroupChanged(Nav, Before);
    for (int slot = 1; slot <= SkySlotCount; ++slot) {
        if (slot >= firstWritten && slot <= lastWritten)
            continue;
        const auto i = static_cast<std::size_t>(slot - 1);
        if (*message == 1 && applied)
            Require(SlotEmpty(Nav, i), "GSV message 1 empties every slot it does not write");
        else
            Require(SlotEquals(Nav, Before, i), "a GSV message changes only its own slots");
    }
}
