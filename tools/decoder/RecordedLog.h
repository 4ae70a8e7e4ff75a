#pragma once

#include <algorithm>
#include <string_view>

// Turns the bytes of a recorded NMEA log back into what the receiver sent. Logs often lost the
// receiver's CR, and our intake ends lines only at CR, so a LF that does not follow a CR becomes
// CR LF. Lines starting with '#' are the recorder's comments and are left out.
class RecordedLog {
public:
    // Passes the receiver's characters among bytes to sink(std::string_view), in order, as runs
    // of unchanged bytes (a few per line) so that the caller's per-character work stays in one
    // tight loop. Blocks may split lines anywhere.
    template <typename Sink>
    void Feed(std::string_view bytes, Sink&& sink)
    {
        std::size_t runStart = 0;
        const auto endRun = [&](std::size_t end) {
            if (end > runStart)
                sink(bytes.substr(runStart, end - runStart));
        };
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            // Inside a line nothing changes until its end: go there at once.
            if (!AtLineStart && !InComment) {
                i = NextLineEnd(bytes, i);
                if (i == bytes.size())
                    break;
            }
            const char c = bytes[i];
            const bool lineEnd = c == '\r' || c == '\n';
            if (InComment || (AtLineStart && c == '#')) {
                if (!InComment)
                    endRun(i);
                InComment = !lineEnd;
                runStart = i + 1;
            } else if (c == '\n' && !AfterCr) {
                endRun(i);
                sink(std::string_view("\r"));
                runStart = i;
            }
            AtLineStart = lineEnd;
            AfterCr = c == '\r';
        }
        endRun(bytes.size());
    }

    // Whether the bytes so far stopped in the middle of a line (a file without a final line end).
    bool LineOpen() const { return !AtLineStart && !InComment; }

private:
    // Where the first CR or LF at or after from is, or bytes.size().
    static std::size_t NextLineEnd(std::string_view bytes, std::size_t from)
    {
        const std::size_t lineFeed = std::min(bytes.find('\n', from), bytes.size());
        return std::min(bytes.substr(0, lineFeed).find('\r', from), lineFeed);
    }

    bool AtLineStart = true;
    bool InComment = false;
    bool AfterCr = false;
};
