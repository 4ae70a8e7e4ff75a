// devozora: the desktop program. Asked to serve without a screen (--headless), or started where
// there is no display, it hands over to the service, which loads no widget code.
#include "CommandLine.h"
#include "HeadlessStart.h"
#include "MainWindow.h"
#include "NavState.h"
#include "SettingsStore.h"
#include "TerminationSignals.h"
#include "WaylandSession.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>

#include <cstdio>

int main(int argc, char* argv[])
{
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.Answered)
        return *line.Answered;
    if (line.Headless)
        return RunHeadless(argv[0], argv + 1);
    if (!DisplayNamed()) {
        std::fputs("devozora: no display; serving without a screen, as with --headless\n", stderr);
        char* const none[] = {nullptr};
        return RunHeadless(argv[0], none);
    }
    // Qt's own event loop rather than GLib's: GLib wakes its loop once more every time a socket
    // starts or stops waiting to write, which is twice for every report to a plotter, and that
    // made the program cost half as much again as gpsd for each received cycle. Nothing here needs
    // GLib's loop. QT_NO_GLIB set to an empty text brings it back.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    ChooseWindowSystem();
    RunHeadlessWhenNoDisplayOpens(argv[0]);
    QApplication application(argc, argv);
    DisplayOpened();
    if (const QString notKept = WindowPromisesNotKept(); !notKept.isEmpty())
        std::fprintf(stderr, "devozora: %s\n", qPrintable(notKept));
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
        // Without a place to keep settings nothing the person changes would last; say so, where and
        // why, and stop.
        std::fprintf(stderr, "devozora: Fatal Error: %s\n", qPrintable(store.OpenFailure()));
        QMessageBox message(QMessageBox::Warning, QStringLiteral("Fault writing registry"),
                            QStringLiteral("Fatal Error"), QMessageBox::Ok);
        message.setInformativeText(store.OpenFailure());
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
            DrainTerminationSignals(signalPipe); // a hangup too: the terminal or the session is gone
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
