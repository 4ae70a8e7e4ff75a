// devozora-decode [FILE]: reads a recorded NMEA log (standard input without FILE) through the
// program's own intake and interpreter, and writes the GPSD position reply a plotter would get at
// that moment after every accepted fix sentence.
#include "GpsdReply.h"
#include "NavState.h"
#include "NmeaInput.h"
#include "RecordedLog.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t BlockSize = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool WriteAll(const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

// Decodes input to stdout; false on a read or write error.
bool Decode(std::FILE* input)
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaInput intake(nav);
    RecordedLog log;
    std::vector<char> block(BlockSize);
    std::string replies;
    replies.reserve(2 * BlockSize);
    const auto take = [&](std::string_view characters) {
        for (const char c : characters) {
            const auto line = intake.Intake(c);
            if (line && line->FixAccepted)
                replies += GpsdAnswer('o', nav);
        }
    };

    while (const std::size_t count = std::fread(block.data(), 1, block.size(), input)) {
        log.Feed(std::string_view(block.data(), count), take);
        if (replies.size() >= BlockSize) {
            if (!WriteAll(replies))
                return false;
            replies.clear();
        }
    }
    // The last line of a file without a final line end still counts.
    if (log.LineOpen())
        take("\r");
    return !std::ferror(input) && WriteAll(replies) && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [FILE]\n", argv[0]);
        return 2;
    }
    std::unique_ptr<std::FILE, FileCloser> file;
    if (argc == 2) {
        file.reset(std::fopen(argv[1], "rb"));
        if (!file) {
            std::perror(argv[1]);
            return 1;
        }
    }
    if (!Decode(file ? file.get() : stdin)) {
        std::perror("devozora-decode");
        return 1;
    }
    return 0;
}
