#include "StrictJson.h"

#include <cstddef>
#include <cstdint>

namespace {

// The length of the UTF-8 character at the start of text, decoded and then judged by its code
// point: 0 for a stray or missing continuation byte, an overlong form, a surrogate or a code point
// past U+10FFFF.
std::size_t Utf8Length(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
    if (length == 0 || text.size() < length)
        return 0;
    std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if (next >> 6 != 2)
            return 0;
        code = code << 6 | (next & 0x3Fu);
    }
    constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    return code < Least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ? 0 : length;
}

struct Reader {
    std::string_view Text;
    std::size_t Pos = 0;

    bool Take(std::string_view word)
    {
        while (Pos < Text.size() && std::string_view(" \t\r\n").find(Text[Pos]) != std::string_view::npos)
            ++Pos;
        if (Text.substr(Pos, word.size()) != word)
            return false;
        Pos += word.size();
        return true;
    }

    bool Value(int depth)
    {
        if (depth > 64)
            return false;
        if (Take("{") || Take("["))
            return Container(Text[Pos - 1] == '{', depth);
        return String() || Take("true") || Take("false") || Take("null") || Number();
    }

    bool Container(bool object, int depth)
    {
        const std::string_view close = object ? "}" : "]";
        if (Take(close))
            return true;
        do {
            if ((object && !(String() && Take(":"))) || !Value(depth + 1))
                return false;
        } while (Take(","));
        return Take(close);
    }

    bool String()
    {
        if (!Take("\""))
            return false;
        while (Pos < Text.size()) {
            const auto c = static_cast<unsigned char>(Text[Pos]);
            if (c == '"')
                return Skip('"');
            const std::size_t length = c == '\\' ? Escape() : c < 0x20 ? 0 : Utf8Length(Text.substr(Pos));
            if (length == 0)
                return false;
            Pos += length;
        }
        return false;
    }

    // The length of the escape at Pos, 0 when it is none; a high surrogate only with its low one.
    std::size_t Escape() const
    {
        if (Pos + 1 < Text.size() && std::string_view("\"\\/bfnrt").find(Text[Pos + 1]) != std::string_view::npos)
            return 2;
        const long code = Hex(Pos);
        if (code >= 0xD800 && code <= 0xDBFF)
            return Hex(Pos + 6) >= 0xDC00 && Hex(Pos + 6) <= 0xDFFF ? 12 : 0;
        return code >= 0 && (code < 0xDC00 || code > 0xDFFF) ? 6 : 0;
    }

    // The value of the "\uXXXX" at at, or -1.
    long Hex(std::size_t at) const
    {
        if (Text.substr(at, 2) != "\\u" || Text.size() < at + 6)
            return -1;
        long code = 0;
        for (const char c : Text.substr(at + 2, 4)) {
            const std::size_t digit = std::string_view("0123456789abcdef0123456789ABCDEF").find(c);
            if (digit == std::string_view::npos)
                return -1;
            code = code * 16 + static_cast<long>(digit % 16);
        }
        return code;
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, without blanks inside.
    bool Number()
    {
        Skip('-');
        if (!Skip('0') && !Digits())
            return false;
        if (Skip('.') && !Digits())
            return false;
        if (Skip('e') || Skip('E')) {
            Skip('+') || Skip('-');
            return Digits();
        }
        return true;
    }

    bool Skip(char c)
    {
        if (Pos == Text.size() || Text[Pos] != c)
            return false;
        ++Pos;
        return true;
    }

    bool Digits()
    {
        const std::size_t start = Pos;
        while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9')
            ++Pos;
        return Pos > start;
    }
};

} // namespace

bool IsStrictJsonObject(std::string_view text)
{
    Reader reader{text};
    return reader.Take("{") && reader.Container(true, 0) && (reader.Take(""), reader.Pos == text.size());
}
