#include "BaudSearch.h"

void BaudSearch::Restart()
{
    Index = 0;
    ValidLines = BrokenLines = 0;
    Extended = Kept = false;
}

bool BaudSearch::TakeLine(bool checksumValid)
{
    if (Kept) {
        BrokenLines = checksumValid ? 0 : BrokenLines + 1;
        if (BrokenLines < BrokenLinesBeforeLoss)
            return false;
        Restart();
        return true;
    }
    if (checksumValid && ++ValidLines >= SentencesNeeded)
        Kept = true;
    return false;
}

bool BaudSearch::TurnOver()
{
    if (Kept)
        return false;
    // One valid sentence may be a receiver that says little: it gets one more turn.
    if (ValidLines > 0 && !Extended) {
        Extended = true;
        return false;
    }
    Next();
    return true;
}

void BaudSearch::Next()
{
    Index = (Index + 1) % Rates.size();
    ValidLines = 0;
    Extended = false;
}
