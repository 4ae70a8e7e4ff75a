#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One member of a JSON object as the command parser needs it: scalars keep their value; an
// object or array inside is checked for syntax and then only marked, since no command argument
// this server understands is nested.
struct JsonMember {
    enum class Kind { String, Number, Bool, Null, Nested };
    std::string Name;
    Kind Type = Kind::Null;
    std::string Text; // String: the unescaped text
    double Number = 0;
    bool Flag = false;
};

// The members of text, which must be exactly one JSON object (blanks around it allowed), in the
// order written. nullopt for anything that is not valid JSON (strings that are not UTF-8
// included), for nesting deeper than a few levels, and for \u escapes outside ASCII or of NUL (no
// command argument needs them, and a surrogate on its own is no character at all).
std::optional<std::vector<JsonMember>> ParseJsonObject(std::string_view text);
