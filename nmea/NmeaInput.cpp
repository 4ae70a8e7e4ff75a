#include "NmeaInput.h"

#include "NmeaChecksum.h"
#include "SentenceFields.h"

NmeaInput::NmeaInput(NavState& nav) : Nav(nav), Rules(nav)
{
    Sentence.reserve(SentenceBufferLimit);
    LastValid.reserve(SentenceBufferLimit);
}

LineResult NmeaInput::ProcessLine()
{
    if (ScreeningKept)
        Screen.Show(Sentence);
    Recognised = false;
    LineResult result;
    std::string_view sentence = Sentence;
    if (!Overlong && !NMEAChecksumError(sentence)) {
        result.ChecksumValid = true;
        const SentenceFields fields(sentence);
        static_cast<InterpretResult&>(result) = Rules.Interpret(fields);
        Recognised = result.Recognised;
        if (Recognised)
            Epochs.Take(fields[0].substr(3), result, Nav);
        // What follows "*hh" is line noise, and no reader of the sentence should get it.
        Sentence.resize(sentence.size() + 3);
        Sentence.swap(LastValid);
    }
    Sentence.clear();
    if (!result.ChecksumValid)
        LastValid.clear();
    Overlong = false;
    return result;
}
