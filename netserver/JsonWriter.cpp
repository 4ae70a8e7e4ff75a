#include "JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

} // namespace

std::size_t Utf8CharacterLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return 1;
    // The lead byte gives the length and the range the second byte must lie in, which rules out
    // overlong forms (E0 80..9F, F0 80..8F), surrogates (ED A0..BF) and code points past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

void AppendJsonString(std::string& out, std::string_view text)
{
    // Runs of characters that need nothing go out in one piece: names and most values are plain
    // ASCII from end to end.
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
    };
    out.push_back('"');
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t runStart = i;
        while (i < text.size() && plain(text[i]))
            ++i;
        out.append(text.substr(runStart, i - runStart));
        if (i == text.size())
            break;
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8CharacterLength(text.substr(i));
            if (length == 0) {
                out.append("\\ufffd");
                ++i;
                continue;
            }
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            out.append("\\u00");
            out.push_back(HexDigits[byte >> 4]);
            out.push_back(HexDigits[byte & 0xF]);
        }
        ++i;
    }
    out.push_back('"');
}

void JsonWriter::Separate()
{
    if (AfterKey) {
        AfterKey = false;
        return;
    }
    if (!First)
        Out.push_back(',');
    First = false;
}

void JsonWriter::Open(char bracket)
{
    Separate();
    Out.push_back(bracket);
    First = true;
}

void JsonWriter::Close(char bracket)
{
    Out.push_back(bracket);
    First = false;
}

void JsonWriter::Key(std::string_view name)
{
    Separate();
    Out.push_back('"');
    Out.append(name);
    Out.append("\":");
    AfterKey = true;
}

void JsonWriter::String(std::string_view text)
{
    Separate();
    AppendJsonString(Out, text);
}

void JsonWriter::Literal(std::string_view text)
{
    Separate();
    Out.append(text);
}

void JsonWriter::Bool(bool flag)
{
    Literal(flag ? "true" : "false");
}

void JsonWriter::Integer(std::int64_t number)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    Literal(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void JsonWriter::StringField(std::string_view name, std::string_view text)
{
    Key(name);
    String(text);
}

void JsonWriter::BoolField(std::string_view name, bool flag)
{
    Key(name);
    Bool(flag);
}

void JsonWriter::IntegerField(std::string_view name, std::int64_t number)
{
    Key(name);
    Integer(number);
}

void JsonWriter::NumberField(std::string_view name, double value, int decimals)
{
    // Beyond 1e15 fixed notation stops being short; nothing this server reports comes near it.
    if (!std::isfinite(value) || std::abs(value) >= 1e15)
        return;
    char digits[48];
    auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    std::string_view text(digits, static_cast<std::size_t>(end - digits));
    if (text == "-0")
        text = "0";
    Key(name);
    Literal(text);
}
