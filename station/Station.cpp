#include "Station.h"

#include "NavState.h"
#include "PortDescription.h"

#include <algorithm>

Station::Station(NavState& nav, SettingsStore& store, ServerPorts ports, std::chrono::milliseconds watchdogInterval,
                 QObject* parent)
    : QObject(parent), Nav(nav), Settings(store), DefaultPorts(ports), Input(nav, watchdogInterval),
      GpsdOut(nav, ports.Gpsd)
{
    SerialLink& link = Input.Link();
    ReceptionWatchdog& dog = Input.Watchdog();
    connect(&dog, &ReceptionWatchdog::ListenerCheckDue, this, &Station::CheckServers);
    connect(&link, &SerialLink::ReceptionColourChanged, this, &Station::ReceptionColourChanged);
    connect(&link, &SerialLink::LineReceived, &GpsdOut, &GpsdServer::LineProcessed);
    connect(&link, &SerialLink::EpochEnded, &GpsdOut, &GpsdServer::EpochEnded);
    connect(&link, &SerialLink::PortOpened, this, [this] {
        const QString device = Input.Link().SelectedDevice();
        GpsdOut.SetDevice(device, DeviceSerialLine());
        // The watchdog reopens a port without a fix on every tick: only the first opening after
        // a start, after the device went or of another device is news.
        if (device == ReadingDevice)
            return;
        ReadingDevice = device;
        TellOpened();
        emit DeviceChanged();
    });
    connect(&link, &SerialLink::PortClosed, &GpsdOut, &GpsdServer::DeviceClosed);
    connect(&link, &SerialLink::FoundBaudRateChanged, this, [this] { GpsdOut.SetDeviceLine(DeviceSerialLine()); });
    connect(&link, &SerialLink::PortClosed, this, [this] { ReadingDevice.clear(); });
    connect(&link, &SerialLink::PortProblemChanged, this, [this](const QString& problem) {
        TellDevice(problem);
        emit DeviceChanged();
    });
    // Whatever the link says may make a tick worth while again: the device appeared, or it is
    // there now but does not open yet.
    connect(&link, &SerialLink::PortOpened, &dog, &ReceptionWatchdog::Wake);
    connect(&link, &SerialLink::PortProblemChanged, &dog, &ReceptionWatchdog::Wake);
    link.KeepInputScreening(false);
    AddServer(GpsdOut);
}

Station::~Station() = default;

void Station::SetOnScreen(bool onScreen)
{
    OnScreen = onScreen;
    Input.Link().KeepInputScreening(onScreen);
    if (onScreen)
        Input.Watchdog().Wake();
}

// A server joins the watchdog's check, the status the window shows and the words on standard
// error; a client that connects wakes the watchdog.
void Station::AddServer(NetworkServer& server)
{
    Served.push_back(&server);
    PortListener& listener = server.TcpListener();
    connect(&listener, &QTcpServer::newConnection, &Input.Watchdog(), &ReceptionWatchdog::Wake);
    connect(&server, &NetworkServer::ClientsChanged, this, [this] {
        Input.Watchdog().Wake();
        UpdateServerStatus();
    });
    connect(&listener, &PortListener::ProblemChanged, this, [this, &listener](const QString& problem) {
        TellServer(listener, problem);
        UpdateServerStatus();
    });
}

void Station::SetLook(const InstrumentLook& look)
{
    if (WebOut)
        WebOut->SetLook(look);
}

void Station::SelectSerialSettings(const SerialSettings& settings)
{
    Input.Link().ChangeSettings(settings);
}

void Station::Start()
{
    // Listening at once rather than at the first tick: a service is ready as soon as it runs.
    for (NetworkServer* server : Served)
        server->CheckListener();
    TellListening();
    Input.Start();
}

void Station::Stop()
{
    Input.Stop();
}

void Station::CheckServers()
{
    for (NetworkServer* server : Served)
        server->CheckListener();
    UpdateServerStatus();
    if (NothingToDo())
        Input.Watchdog().Sleep();
    else if (OnlyCounting())
        Input.Watchdog().Coast();
}

void Station::UpdateServerStatus()
{
    std::vector<ServerStatus> status = Servers();
    if (status == LastStatus)
        return;
    LastStatus = std::move(status);
    emit ServersChanged();
}

// Every tick from now on would find what this one found: the loss is declared, the port cannot
// open until its device appears or the settings change, and no server has a client or a problem.
// Each of those ends with an event that wakes the watchdog.
bool Station::NothingToDo() const
{
    if (!Input.Watchdog().LossDeclared() || !Input.Link().AwaitsChange())
        return false;
    return std::all_of(Served.begin(), Served.end(), [](NetworkServer* server) {
        const PortListener& listener = server->TcpListener();
        return server->HeldClients() == 0 && !listener.hasPendingConnections() && listener.Problem().isEmpty();
    });
}

// The ticks to come would only count towards the loss: the port is open with a current fix (so
// no watcher is due a "no fix" report), no one sees the indicator blink, and no server has a
// client leaving, one waiting or a problem. A fix that stops coming is declared lost at the same
// tick as ever; a client that comes or goes, or a port that closes, wakes the watchdog.
bool Station::OnlyCounting() const
{
    if (OnScreen || !Nav.FixValid || !Input.Link().IsOpen() || Input.Watchdog().LossDeclared())
        return false;
    return std::all_of(Served.begin(), Served.end(), [](NetworkServer* server) {
        const PortListener& listener = server->TcpListener();
        return server->HeldClients() == server->ClientCount() && !listener.hasPendingConnections()
            && listener.Problem().isEmpty() && listener.isListening();
    });
}

// The device's line as GPSD clients are told of it.
std::optional<SerialLine> Station::DeviceSerialLine() const
{
    const SerialLink& link = Input.Link();
    return SerialLineOf(link.SelectedDevice(), link.Settings(), link.BaudRate());
}

QString Station::DeviceLine() const
{
    const SerialLink& link = Input.Link();
    return ::DeviceLine(link.SelectedDevice(), link.PortProblem());
}

std::vector<ServerStatus> Station::Servers() const
{
    std::vector<ServerStatus> status;
    status.reserve(Served.size());
    for (NetworkServer* server : Served) {
        const PortListener& listener = server->TcpListener();
        status.push_back({listener.Service(), listener.Port(), listener.isListening(), listener.Problem(),
                          server->ClientCount()});
    }
    return status;
}
