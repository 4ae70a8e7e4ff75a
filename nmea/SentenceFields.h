#pragma once

#include <array>
#include <string_view>

// The fields of one sentence, split at every ",", empty fields kept; field 0 is the address such
// as "$GPRMC". The views point into the text that was split and live as long as it does.
class SentenceFields {
public:
    // Far more than any sentence type has (GSA has 19); a longer sentence is not a sentence we
    // know, and Overflowed() says so.
    static constexpr int MaxFields = 64;

    explicit SentenceFields(std::string_view sentence);

    int Count() const { return FieldCount; }
    bool Overflowed() const { return TooMany; }
    // Field n, or an empty text beyond the last field.
    std::string_view operator[](int n) const
    {
        return n >= 0 && n < FieldCount ? Fields[static_cast<std::size_t>(n)] : std::string_view{};
    }

private:
    std::array<std::string_view, MaxFields> Fields{};
    int FieldCount = 0;
    bool TooMany = false;
};
