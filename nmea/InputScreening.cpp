#include "InputScreening.h"

InputScreening::InputScreening()
{
    // Room for the longest text plus the longest line that can be added to it, so that showing
    // a line never allocates.
    Content.reserve(2 * MaxChars + 4);
}

void InputScreening::Show(std::string_view line)
{
    // A line cut short by the size limit lost its line end; end it, so the new line starts on a
    // line of its own instead of being appended past the limit and cut away unseen.
    if (!Content.empty() && Content.back() != '\n')
        Content.append("\r\n");
    Content.append(line);
    Content.append("\r\n");

    // Keep what follows the sixth LF from the end: the last five lines, each with its CR LF.
    int lineFeeds = 0;
    std::size_t keepFrom = 0;
    for (std::size_t i = Content.size(); i-- > 0;) {
        if (Content[i] == '\n' && ++lineFeeds > MaxLines) {
            keepFrom = i + 1;
            break;
        }
    }
    // Over the size limit, older lines go first; only a newest line that alone is too long is cut.
    while (Content.size() - keepFrom > MaxChars) {
        const std::size_t endOfOldest = Content.find('\n', keepFrom);
        if (endOfOldest + 1 >= Content.size())
            break;
        keepFrom = endOfOldest + 1;
    }
    Content.erase(0, keepFrom);
    if (Content.size() > MaxChars)
        Content.resize(MaxChars);
}
