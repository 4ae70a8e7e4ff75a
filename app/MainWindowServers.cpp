// The servers for plotters as the machine-wide settings place them, and what keeps them from
// listening, told on the window's bottom line and on standard error.
#include "MainWindow.h"

#include "SettingsStore.h"
#include "StationGlance.h"

#include <QLabel>

#include <cstdio>

void MainWindow::StartServers()
{
    const QString gpsd = QStringLiteral("GPSD");
    const auto number = [this](const QString& subkey, const char* name, int lowest, int highest, int fallback) {
        return SettingsStore::SettingNumber(Settings.ReadMachineSetting(subkey, QString::fromLatin1(name)), lowest,
                                       highest, fallback);
    };
    // "any" serves plotters on the boat's network; "localhost" only programs on this computer.
    const QHostAddress address =
        PortListener::AddressFor(Settings.ReadMachineSetting(gpsd, QStringLiteral("Listen"), QStringLiteral("any")));
    // How many plotters and programs on board may take the position at once, from each server.
    const int maxClients = number(gpsd, "MaxClients", 1, PortListener::ClientLimit, PortListener::DefaultMaxClients);
    // Seconds until a client that vanished without closing (out of Wi-Fi range) gives up its place.
    const std::chrono::seconds keepAlive{
        number(gpsd, "KeepAlive", 2, 7200, static_cast<int>(PortListener::DefaultKeepAlive.count()))};
    Gpsd.TcpListener().SetAddress(address, static_cast<quint16>(number(gpsd, "Port", 1, 65535, DefaultPorts.Gpsd)));
    Gpsd.SetMaxClients(maxClients);
    Gpsd.TcpListener().SetKeepAlive(keepAlive);
    // "False" for an old plotter that waits after connecting and cannot take the VERSION greeting
    // that JSON clients wait for.
    const QString greeting = Settings.ReadMachineSetting(gpsd, QStringLiteral("Greeting"), QStringLiteral("True"));
    Gpsd.SetGreeting(SettingsStore::ReadFlag(greeting));
    connect(&Gpsd.TcpListener(), &PortListener::ProblemChanged, this, &MainWindow::ServerProblemChanged);

    // The sentences as received, for plotters that read plain NMEA over TCP; 0 turns it off.
    const int nmeaPort = number(QStringLiteral("NMEA"), "TcpPort", 0, 65535, DefaultPorts.NmeaTcp);
    if (nmeaPort == 0)
        return;
    NmeaOut = std::make_unique<NmeaTcpServer>(static_cast<quint16>(nmeaPort), address);
    NmeaOut->TcpListener().SetMaxClients(maxClients);
    NmeaOut->TcpListener().SetKeepAlive(keepAlive);
    connect(&Input.Link(), &SerialLink::LineReceived, NmeaOut.get(), &NmeaTcpServer::LineProcessed);
    connect(&Input.Watchdog(), &ReceptionWatchdog::ListenerCheckDue, NmeaOut.get(), &NmeaTcpServer::CheckListener);
    connect(&NmeaOut->TcpListener(), &PortListener::ProblemChanged, this, &MainWindow::ServerProblemChanged);
}

void MainWindow::FillServerGlance(StationGlance& glance)
{
    const auto fill = [](ServerGlance& shown, const PortListener& listener, int clients) {
        shown = {true, listener.isListening(), listener.Port(), clients};
    };
    fill(glance.Gpsd, Server().TcpListener(), Server().ClientCount());
    if (NmeaTcpServer* nmea = NmeaServer())
        fill(glance.Nmea, nmea->TcpListener(), nmea->ClientCount());
}

void MainWindow::ServerProblemChanged(const QString& problem)
{
    // Once when it starts and once when it ends, for whoever started the program from a terminal.
    if (problem.isEmpty()) {
        const auto* listener = qobject_cast<const PortListener*>(sender());
        std::fprintf(stderr, "devozora: %s port %d is free now: listening\n", qPrintable(listener->Service()),
                     listener->Port());
    } else {
        std::fprintf(stderr, "devozora: %s\n", qPrintable(problem));
    }
    ShowStatusLine();
}

void MainWindow::ShowStatusLine()
{
    QStringList problems;
    for (const PortListener* listener : {&Gpsd.TcpListener(), NmeaOut ? &NmeaOut->TcpListener() : nullptr}) {
        if (listener && !listener->Problem().isEmpty())
            problems << listener->Problem();
    }
    const QString text = problems.isEmpty()
        ? QStringLiteral("DevozOra %1 \u00B7 NMEA instruments and GPSD server").arg(QStringLiteral(DEVOZORA_VERSION))
        : problems.join(QStringLiteral("  \u00B7  "));
    QPalette colours = StatusLine->palette();
    colours.setColor(QPalette::WindowText, ScaledColour(problems.isEmpty() ? Rgb(128, 128, 128) : Rgb(192, 0, 0), Applied));
    StatusLine->setPalette(colours);
    StatusLine->setToolTip(problems.isEmpty() ? QString() : text);
    StatusLine->setText(StatusLine->fontMetrics().elidedText(text, Qt::ElideRight, StatusLine->width()));
}
