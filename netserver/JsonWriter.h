#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Appends one JSON text to a string, placing the commas itself. Numbers are written with "." as
// decimal point whatever the locale, and a number that is not finite is never written: its whole
// field is left out, because JSON has no spelling for NaN or infinity and a client would reject
// the object. The caller opens and closes objects and arrays in matching pairs.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : Out(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // A member whose value follows: an object or array opened next, or one of the values below.
    // Names are this program's own words, plain ASCII without quote or backslash: they are
    // written as they are.
    void Key(std::string_view name);

    void String(std::string_view text);
    void Bool(bool flag);
    void Integer(std::int64_t number);

    void StringField(std::string_view name, std::string_view text);
    void BoolField(std::string_view name, bool flag);
    void IntegerField(std::string_view name, std::int64_t number);
    // At most `decimals` decimals, trailing zeros dropped; left out when value is not finite.
    void NumberField(std::string_view name, double value, int decimals);

private:
    void Open(char bracket);
    void Close(char bracket);
    // A number or word, written as it is.
    void Literal(std::string_view text);
    // The comma before a member or element that is not the first of its container.
    void Separate();

    std::string& Out;
    bool First = true;
    bool AfterKey = false;
};

// text as a JSON string: quote, backslash and the control characters escaped, and every byte that
// is not part of a well-formed UTF-8 character replaced by U+FFFD, so that whatever a client or
// a device sent us, the text we send is valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

// The length of the well-formed UTF-8 character at the start of text (1 to 4), or 0 when it does
// not start with one: a stray continuation byte, a sequence cut short, an overlong encoding, a
// surrogate or a code point beyond U+10FFFF.
std::size_t Utf8CharacterLength(std::string_view text);
