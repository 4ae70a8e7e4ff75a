// devozora: the desktop program. It takes no arguments of its own apart from --help and --version.
#include "MainWindow.h"
#include "NavState.h"
#include "SettingsStore.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr char Usage[] =
    "Usage: devozora\n"
    "Shows the NMEA 0183 stream of a GPS receiver in large instrument windows and serves the\n"
    "position to chart plotters: the GPSD protocols on TCP port 2947, plain NMEA on TCP port 10110.\n"
    "Settings are made in its window, or in its settings files:\n"
    "  per user       $XDG_CONFIG_HOME/Quarvel/DevozOra.conf (default ~/.config/...)\n"
    "  machine-wide   <first folder of $XDG_CONFIG_DIRS>/Quarvel/DevozOra.conf (default /etc/xdg/...)\n"
    "Options:\n"
    "  -h, --help     show this text\n"
    "  -v, --version  show the version\n";

// The two arguments people try first are answered before any window exists, so that they work
// without a display.
std::optional<int> AnswerCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            std::printf("devozora %s\n", DEVOZORA_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const auto status = AnswerCommandLine(argc, argv))
        return *status;
    // Qt's own event loop rather than GLib's: GLib wakes its loop once more every time a socket
    // starts or stops waiting to write, which is twice for every report to a plotter, and that
    // made the program cost half as much again as gpsd for each received cycle. Nothing here needs
    // GLib's loop. QT_NO_GLIB set to an empty text brings it back.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DevozOra"));
    QApplication::setOrganizationName(QStringLiteral("Quarvel"));
    QApplication::setApplicationVersion(QStringLiteral(DEVOZORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("devozora"));
    // The theme's icon where one is installed, else our own picture: no image plugin needed.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("devozora"), QIcon(QStringLiteral(":/devozora.png"))));

    NavState nav;
    nav.SetGpsdPlaceholders();
    SettingsStore store(SettingsStore::DefaultLocations());
    if (!store.OpenSettingsKeys()) {
        // Without a place to keep settings nothing the person changes would last; say so and stop.
        QMessageBox message(QMessageBox::Warning, QStringLiteral("Fault writing registry"),
                            QStringLiteral("Fatal Error"), QMessageBox::Ok);
        message.exec();
        return 1;
    }

    for (const QString& problem : store.Problems())
        std::fprintf(stderr, "devozora: %s\n", qPrintable(problem));

    MainWindow mainWindow(nav, store);
    // A logout, kill, Ctrl+C or a closed terminal ends the program as closing the main window
    // does: every setting and every window's place is written first.
    if (const int signalPipe = WatchTerminationSignals(); signalPipe >= 0) {
        auto* notifier = new QSocketNotifier(signalPipe, QSocketNotifier::Read, &mainWindow);
        QObject::connect(notifier, &QSocketNotifier::activated, &mainWindow, [&mainWindow, signalPipe] {
            DrainTerminationSignals(signalPipe);
            mainWindow.close();
            QApplication::quit();
        });
    }
    mainWindow.StartUp();
    mainWindow.show();
    // A damaged settings file changed what the program starts with: the person should know why.
    if (!store.Problems().isEmpty()) {
        auto* message = new QMessageBox(QMessageBox::Warning, QStringLiteral("Settings"),
                                        store.Problems().join(QStringLiteral("\n\n")), QMessageBox::Ok, &mainWindow);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->show();
    }
    return QApplication::exec();
}
