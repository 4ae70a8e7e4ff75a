#pragma once

#include <string_view>

// Whether text is exactly one JSON object in well-formed UTF-8, read as strictly as the standard
// allows a client to read it: no NaN, no leading zeros, no lone surrogates, no raw control
// characters in strings. Written apart from the server's own JSON code, so that the two do not
// share a mistake.
bool IsStrictJsonObject(std::string_view text);
