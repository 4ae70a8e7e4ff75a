#include "JsonObjectParser.h"

#include "JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

// Deeper than this is no command a client sends; the limit also bounds the recursion.
constexpr int NestingLimit = 8;

class Parser {
public:
    explicit Parser(std::string_view text) : Text(text) {}

    std::optional<std::vector<JsonMember>> Object()
    {
        std::vector<JsonMember> members;
        if (!Members(&members, 0))
            return std::nullopt;
        SkipBlanks();
        if (Pos != Text.size())
            return std::nullopt;
        return members;
    }

private:
    // An object; its members are kept when `members` is given, only checked otherwise.
    bool Members(std::vector<JsonMember>* members, int depth)
    {
        if (depth > NestingLimit || !Take('{'))
            return false;
        if (Take('}'))
            return true;
        do {
            JsonMember member;
            if (!StringValue(member.Name) || !Take(':') || !Value(member, depth))
                return false;
            if (members)
                members->push_back(std::move(member));
        } while (Take(','));
        return Take('}');
    }

    bool Elements(int depth)
    {
        if (depth > NestingLimit || !Take('['))
            return false;
        if (Take(']'))
            return true;
        do {
            JsonMember element;
            if (!Value(element, depth))
                return false;
        } while (Take(','));
        return Take(']');
    }

    bool Value(JsonMember& member, int depth)
    {
        SkipBlanks();
        if (Pos == Text.size())
            return false;
        switch (Text[Pos]) {
        case '"': member.Type = JsonMember::Kind::String; return StringValue(member.Text);
        case '{': member.Type = JsonMember::Kind::Nested; return Members(nullptr, depth + 1);
        case '[': member.Type = JsonMember::Kind::Nested; return Elements(depth + 1);
        case 't': member.Type = JsonMember::Kind::Bool; member.Flag = true; return Word("true");
        case 'f': member.Type = JsonMember::Kind::Bool; return Word("false");
        case 'n': member.Type = JsonMember::Kind::Null; return Word("null");
        default: member.Type = JsonMember::Kind::Number; return NumberValue(member.Number);
        }
    }

    bool Word(std::string_view word)
    {
        if (Text.substr(Pos, word.size()) != word)
            return false;
        Pos += word.size();
        return true;
    }

    bool NumberValue(double& number)
    {
        // from_chars is laxer than JSON in one way that matters: it takes "inf" and "nan".
        const char* begin = Text.data() + Pos;
        const char* end = Text.data() + Text.size();
        const auto [next, error] = std::from_chars(begin, end, number);
        if (error != std::errc() || !std::isfinite(number))
            return false;
        Pos += static_cast<std::size_t>(next - begin);
        return true;
    }

    bool StringValue(std::string& out)
    {
        if (!Take('"'))
            return false;
        while (Pos < Text.size()) {
            const char c = Text[Pos++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (static_cast<unsigned char>(c) >= 0x80) {
                // JSON text is UTF-8; anything else is not a string we can answer with.
                const std::size_t length = Utf8CharacterLength(Text.substr(Pos - 1));
                if (length == 0)
                    return false;
                out.append(Text.substr(Pos - 1, length));
                Pos += length - 1;
                continue;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (Pos == Text.size() || !Escape(Text[Pos++], out))
                return false;
        }
        return false;
    }

    bool Escape(char c, std::string& out)
    {
        switch (c) {
        case '"': case '\\': case '/': out.push_back(c); return true;
        case 'b': out.push_back('\b'); return true;
        case 'f': out.push_back('\f'); return true;
        case 'n': out.push_back('\n'); return true;
        case 'r': out.push_back('\r'); return true;
        case 't': out.push_back('\t'); return true;
        case 'u': return AsciiEscape(out);
        default: return false;
        }
    }

    bool AsciiEscape(std::string& out)
    {
        unsigned code = 0;
        const char* begin = Text.data() + Pos;
        if (Text.size() - Pos < 4)
            return false;
        const auto [next, error] = std::from_chars(begin, begin + 4, code, 16);
        if (error != std::errc() || next != begin + 4 || code == 0 || code >= 0x80)
            return false;
        Pos += 4;
        out.push_back(static_cast<char>(code));
        return true;
    }

    bool Take(char c)
    {
        SkipBlanks();
        if (Pos < Text.size() && Text[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }

    void SkipBlanks()
    {
        while (Pos < Text.size() && (Text[Pos] == ' ' || Text[Pos] == '\t' || Text[Pos] == '\r' || Text[Pos] == '\n'))
            ++Pos;
    }

    std::string_view Text;
    std::size_t Pos = 0;
};

} // namespace

std::optional<std::vector<JsonMember>> ParseJsonObject(std::string_view text)
{
    return Parser(text).Object();
}
