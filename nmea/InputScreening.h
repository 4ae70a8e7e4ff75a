#pragma once

#include <string>
#include <string_view>

// The "last lines received" text of the main window: every line, valid or not, is added with a
// CR LF; the text keeps the last five lines and never more than 1024 characters. Characters are
// bytes as received (the window shows them as Latin-1).
class InputScreening {
public:
    static constexpr int MaxLines = 5;
    static constexpr std::size_t MaxChars = 1024;

    InputScreening();

    void Show(std::string_view line);
    void Clear() { Content.clear(); }
    const std::string& Text() const { return Content; }

private:
    std::string Content;
};
