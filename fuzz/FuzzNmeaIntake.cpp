// Arbitrary bytes through the NMEA intake, as a noisy serial line would deliver them. Each input
// gets a fresh NavState and NmeaInput, so that every crash reproduces from its input alone; the
// input itself can hold many lines, which is where sentences interact (GSV groups, the screening).
// After every line the promises the rest of the program relies on are checked; a broken one is
// printed and traps, so that the fuzzer keeps the input that broke it.
#include "NavState.h"
#include "NmeaInput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "NMEA intake broke its promise: %s\n", promise);
    __builtin_trap();
}

bool KnownSystem(char system)
{
    return std::string_view("GSRECJI").find(system) != std::string_view::npos;
}

bool SameSky(const NavState& a, const NavState& b)
{
    return a.SkyPrn == b.SkyPrn && a.SkyElevation == b.SkyElevation && a.SkyAzimuth == b.SkyAzimuth
           && a.SkySnr == b.SkySnr && a.SkySystem == b.SkySystem;
}

// line: the text the CR ended; before: the state just before it.
void CheckLine(const NmeaInput& input, const LineResult& result, const std::string& line, const NavState& nav,
               const NavState& before)
{
    Require(input.SentenceBuffer().empty(), "a CR empties the sentence buffer");
    Require(input.SentenceRecognised() == result.Recognised, "SentenceRecognised agrees with the line's result");
    Require(!result.Recognised || result.ChecksumValid, "only a valid checksum is recognised");
    Require(result.Recognised || (!result.FixAccepted && !result.SkyPublished && nav == before),
            "an unrecognised line changes nothing");

    // The screening shows every line, whole with its line end or, when that does not fit, its start.
    const std::string& text = input.Screening().Text();
    Require(std::count(text.begin(), text.end(), '\n') <= InputScreening::MaxLines && text.size() <= InputScreening::MaxChars,
            "the screening keeps at most five lines and 1024 characters");
    const std::string shown = line + "\r\n";
    Require(shown.size() <= InputScreening::MaxChars ? text.ends_with(shown) : text == shown.substr(0, InputScreening::MaxChars),
            "the screening ends with the newest line");

    // The sky changes only as a whole when a group is published; every satellite has its constellation.
    Require(result.SkyPublished || SameSky(nav, before), "the sky changes only when a group is published");
    for (std::size_t i = 0; i < nav.SkyPrn.size(); ++i)
        Require(nav.SkyPrn[i] == 0 ? nav.SkySystem[i] == 0 : KnownSystem(nav.SkySystem[i]),
                "a satellite in the sky has its constellation, an empty slot none");

    // The used satellites fill their table from the front, each once.
    const auto& used = nav.UsedSatellites;
    const auto end = std::find(used.begin(), used.end(), SatelliteId{});
    Require(std::all_of(end, used.end(), [](SatelliteId id) { return id == SatelliteId{}; }),
            "the used satellites fill their table from the front");
    for (auto it = used.begin(); it != end; ++it)
        Require(it->Prn != 0 && KnownSystem(it->System) && std::find(used.begin(), it, *it) == it,
                "a used satellite is listed once, with its constellation");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NavState nav;
    NmeaInput input(nav);
    NavState before;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\r') {
            line = input.SentenceBuffer();
            before = nav;
        }
        if (const auto result = input.Intake(c))
            CheckLine(input, *result, line, nav, before);
        Require(input.SentenceBuffer().size() <= NmeaInput::SentenceBufferLimit,
                "the sentence buffer stays within its limit");
    }
    return 0;
}
