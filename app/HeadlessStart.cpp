#include "HeadlessStart.h"

#include <QtGlobal>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const char* ProgramName = nullptr;
QtMessageHandler QtOwnHandler = nullptr;

// Beside this program in a build folder; in its own folder under libexec once installed.
std::string HeadlessPath()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string program = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string();
    const std::string bin = program.substr(0, program.rfind('/') + 1);
    for (const std::string& candidate : {bin + "devozora-headless", bin + DEVOZORA_HEADLESS_FROM_BINDIR}) {
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return bin + DEVOZORA_HEADLESS_FROM_BINDIR;
}

// Qt's own words on why the display did not open go out as they are; its last word, that the
// program cannot start, is replaced by the service starting.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("devozora: no display can be reached; serving without a screen, as with --headless\n", stderr);
        char* const none[] = {nullptr};
        RunHeadless(ProgramName, none);
    }
    QtOwnHandler(type, context, message);
}

} // namespace

bool DisplayNamed()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return false;
#else
    return true;
#endif
}

int RunHeadless(const char* program, char* const arguments[])
{
    const std::string path = HeadlessPath();
    std::vector<char*> argv{const_cast<char*>(program)};
    for (char* const* argument = arguments; *argument; ++argument)
        argv.push_back(*argument);
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    std::fprintf(stderr, "devozora: %s cannot be started: %s\n", path.c_str(), std::strerror(errno));
    return 1;
}

void RunHeadlessWhenNoDisplayOpens(const char* program)
{
    ProgramName = program;
    QtOwnHandler = qInstallMessageHandler(OnQtMessage);
}

void DisplayOpened()
{
    qInstallMessageHandler(QtOwnHandler);
}
