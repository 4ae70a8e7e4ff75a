#pragma once

#include <string_view>

// How flags are stored as text: written "True" or "False".
constexpr std::string_view FlagText(bool flag)
{
    return flag ? "True" : "False";
}
