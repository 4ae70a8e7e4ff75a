// devozora: the desktop program. It takes no arguments of its own.
#include "Basis.h"
#include "NavState.h"
#include "Registry.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("DevozOra"));
    QApplication::setOrganizationName(QStringLiteral("Quarvel"));
    QApplication::setApplicationVersion(QStringLiteral(DEVOZORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("devozora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("devozora")));

    NavState nav;
    nav.SetGpsdPlaceholders();
    Registry registry(Registry::DefaultLocations());
    if (!registry.OpenSettingsKeys()) {
        // Without a place to keep settings nothing the person changes would last; say so and stop.
        QMessageBox message(QMessageBox::Warning, QStringLiteral("Fault writing registry"),
                            QStringLiteral("Fatal Error"), QMessageBox::Ok);
        message.exec();
        return 1;
    }

    for (const QString& problem : registry.Problems())
        std::fprintf(stderr, "devozora: %s\n", qPrintable(problem));

    Basis basis(nav, registry);
    // A logout, kill, Ctrl+C or a closed terminal ends the program as closing the main window
    // does: every setting and every window's place is written first.
    if (const int signalPipe = WatchTerminationSignals(); signalPipe >= 0) {
        auto* notifier = new QSocketNotifier(signalPipe, QSocketNotifier::Read, &basis);
        QObject::connect(notifier, &QSocketNotifier::activated, &basis, [&basis, signalPipe] {
            DrainTerminationSignals(signalPipe);
            basis.close();
            QApplication::quit();
        });
    }
    basis.StartUp();
    basis.show();
    // A damaged settings file changed what the program starts with: the person should know why.
    if (!registry.Problems().isEmpty()) {
        auto* message = new QMessageBox(QMessageBox::Warning, QStringLiteral("Settings"),
                                        registry.Problems().join(QStringLiteral("\n\n")), QMessageBox::Ok, &basis);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->show();
    }
    return QApplication::exec();
}
