// devozora-headless: the station without a screen, as a service on a boat's small computer.
// `devozora --headless`, and `devozora` started without a display, run this program: it links no
// widget or graphics code, so it loads none. SIGTERM and SIGINT end it; SIGHUP reads the settings
// again and reopens the device and the ports.
#include "CommandLine.h"
#include "NavState.h"
#include "SettingsStore.h"
#include "Station.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <cstdio>
#include <memory>

namespace {

// Everything a run of the service reads and holds; made anew on SIGHUP.
struct Service {
    NavState Nav;
    SettingsStore Settings{SettingsStore::DefaultLocations()};
    Station Live{Nav, Settings};
};

std::unique_ptr<Service> StartService()
{
    auto service = std::make_unique<Service>();
    if (!service->Settings.OpenSettingsKeys()) {
        std::fprintf(stderr, "devozora: Fatal Error: %s\n", qPrintable(service->Settings.OpenFailure()));
        return nullptr;
    }
    for (const QString& problem : service->Settings.Problems())
        std::fprintf(stderr, "devozora: %s\n", qPrintable(problem));
    Station& station = service->Live;
    station.Configure();
    station.SelectSerialSettings(station.StoredSerialSettings());
    station.Start();
    return service;
}

} // namespace

int main(int argc, char* argv[])
{
    const CommandLine line = ReadCommandLine(argc, argv);
    if (line.Answered)
        return *line.Answered;
    if (!line.Others.empty()) {
        std::fprintf(stderr, "devozora: unknown option %s\n%s", line.Others.front().c_str(), UsageText());
        return 2;
    }
    // Qt's own event loop rather than GLib's, as in the desktop program: fewer wake-ups per report.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    // No plugins: the service serves plain TCP and HTTP and needs none, and Qt's HTTP server
    // would otherwise load a TLS backend with OpenSSL as it starts, 5 MB resident for nothing.
    // Without one, Qt says so as a warning that no one here needs to read.
    QCoreApplication::setLibraryPaths({});
    QLoggingCategory::setFilterRules(QStringLiteral("qt.network.ssl.warning=false"));
    QCoreApplication::setApplicationName(QStringLiteral("DevozOra"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quarvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DEVOZORA_VERSION));

    std::unique_ptr<Service> service = StartService();
    if (!service)
        return 1;
    if (const int signalPipe = WatchTerminationSignals(); signalPipe >= 0) {
        auto* notifier = new QSocketNotifier(signalPipe, QSocketNotifier::Read, &application);
        QObject::connect(notifier, &QSocketNotifier::activated, &application, [&service, signalPipe] {
            const ReceivedSignals received = DrainTerminationSignals(signalPipe);
            if (received.End) {
                QCoreApplication::quit();
                return;
            }
            // The old station lets go of the device and the ports before the new one takes them.
            std::fprintf(stderr, "devozora: hangup: reading the settings again, reopening the device and the ports\n");
            service.reset();
            service = StartService();
            if (!service)
                QCoreApplication::exit(1);
        });
    }
    const int status = QCoreApplication::exec();
    if (service)
        service->Live.Stop();
    return status;
}
