#include "SentenceFields.h"

SentenceFields::SentenceFields(std::string_view sentence)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = sentence.find(',', start);
        if (FieldCount == MaxFields) {
            TooMany = true;
            return;
        }
        Fields[static_cast<std::size_t>(FieldCount++)] = sentence.substr(start, comma - start);
        if (comma == std::string_view::npos)
            return;
        start = comma + 1;
    }
}
