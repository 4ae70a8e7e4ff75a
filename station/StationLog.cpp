// What the station says on standard error, for whoever started the program from a terminal and
// for the service's journal: the device found and gone, and the ports, each once when it changes.
#include "Station.h"

#include "PortDescription.h"

#include <cstdio>

void Station::TellDevice(const QString& problem)
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "devozora: %s\n", qPrintable(DeviceLine()));
}

void Station::TellOpened() const
{
    std::fprintf(stderr, "devozora: reading %s\n", qPrintable(::DeviceLine(Input.Link().SelectedDevice(), {})));
}

void Station::TellServer(const PortListener& listener, const QString& problem) const
{
    if (problem.isEmpty())
        std::fprintf(stderr, "devozora: %s port %d is free now: listening\n", qPrintable(listener.Service()),
                     listener.Port());
    else
        std::fprintf(stderr, "devozora: %s\n", qPrintable(problem));
}

void Station::TellListening() const
{
    QStringList ports;
    QHostAddress address;
    for (NetworkServer* server : Served) {
        const PortListener& listener = server->TcpListener();
        if (listener.isListening()) {
            ports << QStringLiteral("%1 on port %2").arg(listener.Service()).arg(listener.Port());
            address = listener.serverAddress();
        }
    }
    if (ports.isEmpty())
        return;
    const QString where = address == QHostAddress::Any ? QStringLiteral("every address")
        : address.isLoopback()                        ? QStringLiteral("localhost only")
                                                       : address.toString();
    std::fprintf(stderr, "devozora: serving %s, on %s\n", qPrintable(ports.join(QStringLiteral(" and "))),
                 qPrintable(where));
}
