#include "NmeaInput.h"

#include "NmeaChecksum.h"
#include "SentenceFields.h"

NmeaInput::NmeaInput(NavState& nav) : Rules(nav)
{
    Sentence.reserve(SentenceBufferLimit);
    LastValid.reserve(SentenceBufferLimit);
}

LineResult NmeaInput::InterpreteerNMEA()
{
    Screen.Show(Sentence);
    Recognised = false;
    LineResult result;
    std::string_view sentence = Sentence;
    if (!Overlong && !NMEAChecksumError(sentence)) {
        result.ChecksumValid = true;
        static_cast<InterpretResult&>(result) = Rules.Interpret(SentenceFields(sentence));
        Recognised = result.Recognised;
        Sentence.swap(LastValid);
    }
    Sentence.clear();
    if (!result.ChecksumValid)
        LastValid.clear();
    Overlong = false;
    return result;
}
