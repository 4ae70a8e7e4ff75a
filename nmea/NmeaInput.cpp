#include "NmeaInput.h"

#include "NmeaChecksum.h"
#include "SentenceFields.h"

NmeaInput::NmeaInput(NavState& nav) : Interpreter(nav)
{
    Sentence.reserve(SentenceBufferLimit);
}

LineResult NmeaInput::InterpreteerNMEA()
{
    Screen.Show(Sentence);
    Recognised = false;
    LineResult result;
    std::string_view sentence = Sentence;
    if (!Overlong && !NMEAChecksumError(sentence)) {
        result.ChecksumValid = true;
        static_cast<InterpretResult&>(result) = Interpreter.Interpret(SentenceFields(sentence));
        Recognised = result.Recognised;
    }
    Sentence.clear();
    Overlong = false;
    return result;
}
