#pragma once

#include "EpochCollector.h"
#include "InputScreening.h"
#include "SentenceInterpreter.h"

#include <optional>
#include <string>
#include <string_view>

struct NavState;

// What one received line came to.
struct LineResult : InterpretResult {
    bool ChecksumValid = false;
};

// The character intake: turns received characters into lines (CR ends a line, LF is dropped),
// shows every line in the InputScreening text, checks its checksum and hands a valid sentence to
// the interpreter.
class NmeaInput {
public:
    // A line longer than this is noise or a stream without CR: the characters beyond it are
    // dropped, and the line, shown cut short, is not interpreted. NMEA allows 82 characters and
    // real receivers stay well under 200.
    static constexpr std::size_t SentenceBufferLimit = 1024;

    explicit NmeaInput(NavState& nav);

    // One received character. Returns what the line came to when c ended it (CR).
    std::optional<LineResult> Intake(char c)
    {
        if (c == '\n')
            return std::nullopt;
        if (c == '\r')
            return ProcessLine();
        if (Sentence.size() < SentenceBufferLimit)
            Sentence.push_back(c);
        else
            Overlong = true;
        return std::nullopt;
    }

    // Processes SentenceBuffer as one line and empties it.
    LineResult ProcessLine();
    // Every completed receiver cycle goes to the handler, while the line that completed it is
    // processed or when EndOfCycle is called.
    void OnEpoch(EpochCollector::Handler handler) { Epochs.SetHandler(std::move(handler)); }
    // The receiver has fallen quiet, or its device went away: the cycle in progress is complete.
    void EndOfCycle() { Epochs.Finish(); }
    // EndOfCycle would complete a cycle: sentences of one have come since the last was complete.
    bool CycleOpen() const { return Epochs.CycleOpen(); }
    // Forgets a partly received line without processing it: its device went away, and joined to
    // the first line of a new stream it would make a sentence of two halves.
    void DropPartialLine()
    {
        Sentence.clear();
        Overlong = false;
    }

    std::string_view SentenceBuffer() const { return Sentence; }
    // The text of the last processed line when its checksum was valid, as received up to its
    // checksum; empty after a line that failed. Valid until the next line ends.
    std::string_view ValidLine() const { return LastValid; }
    // Whether the last processed line was a sentence type we know with a valid checksum.
    bool SentenceRecognised() const { return Recognised; }
    const InputScreening& Screening() const { return Screen; }
    InputScreening& Screening() { return Screen; }
    // Whether lines are added to the InputScreening text: not where nobody can ever see it.
    void KeepScreening(bool keep) { ScreeningKept = keep; }
    SentenceInterpreter& Interpreter() { return Rules; }

private:
    NavState& Nav;
    SentenceInterpreter Rules;
    EpochCollector Epochs;
    std::string Sentence;
    // Holds the last valid line; swapped with Sentence, so keeping it copies and allocates nothing.
    std::string LastValid;
    bool Overlong = false;
    bool Recognised = false;
    bool ScreeningKept = true;
    InputScreening Screen;
};
