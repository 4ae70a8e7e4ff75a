#include "JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

} // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (byte < 0x20) {
                out.append("\\u00");
                out.push_back(HexDigits[byte >> 4]);
                out.push_back(HexDigits[byte & 0xF]);
            } else {
                out.push_back(c);
            }
        }
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
    AppendJsonString(Out, name);
    Out.push_back(':');
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
