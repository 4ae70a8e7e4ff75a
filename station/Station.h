#pragma once

#include "GpsdServer.h"
#include "NmeaReceiver.h"
#include "NmeaTcpServer.h"
#include "WebServer.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class SettingsStore;
struct NavState;

// Where the servers listen unless the machine's settings say otherwise. Tests pass 0 for all:
// GPSD on a free port, no NMEA server and no web page.
struct ServerPorts {
    quint16 Gpsd = 2947;
    quint16 NmeaTcp = 10110;
    // Taken by no common boat software: not Signal K's 3000, not 80 or 8080 of a router's or a
    // chart server's pages.
    quint16 Web = 8947;
};

// What a person is shown of one server.
struct ServerStatus {
    QString Service; // "GPSD", "NMEA", "Web"
    quint16 Port = 0;
    bool Listening = false;
    QString Problem; // why it does not listen; empty while it does
    int Clients = 0;
    bool operator==(const ServerStatus&) const = default;
};

// The station: the receiver link with its watchdog and every server for plotters, placed by the
// machine's settings. It knows nothing of windows: the desktop program's main window holds one
// and shows it, the service without a screen holds one and shows nothing. What a person should
// know (the device found or gone, a port another program holds) it says on standard error.
//
// The watchdog ticks only while a tick can change something. While fixes flow and nobody sees
// the reception indicator, it coasts to the tick that would declare the loss; while nothing can
// happen without an event (the fix is lost, the device is absent and watched for, no client is
// connected) it sleeps: a service with a steady receiver wakes only for its data, and one
// without a receiver not at all.
class Station : public QObject {
    Q_OBJECT

public:
    explicit Station(NavState& nav, SettingsStore& store, ServerPorts ports = {},
                     std::chrono::milliseconds watchdogInterval = ReceptionWatchdog::DefaultInterval,
                     QObject* parent = nullptr);
    ~Station() override;

    // Reads the machine's settings: where the servers listen and for how many, the talkers, and
    // the device of each port entry. Once, before Start.
    void Configure();
    // The serial lists' positions as stored; a position missing or outside its list gives the
    // list's first-run entry, as the window's lists do.
    SerialSettings StoredSerialSettings() const;
    // Takes the serial selection and reopens the port with it (once started).
    void SelectSerialSettings(const SerialSettings& settings);
    // Someone sees the reception indicator and the received lines: the indicator blinks on every
    // tick, and the lines are kept. Off until a window says so.
    void SetOnScreen(bool onScreen);
    // The servers listen, the watchdog starts and the port opens once.
    void Start();
    // The watchdog stops and the port closes; the servers go with the station.
    void Stop();

    NmeaReceiver& Receiver() { return Input; }
    GpsdServer& Gpsd() { return GpsdOut; }
    // Null while "NMEA"/"TcpPort" is 0.
    NmeaTcpServer* NmeaServer() { return NmeaOut.get(); }
    // Null while "Web"/"Port" is 0.
    WebServer* Web() { return WebOut.get(); }
    // How the instruments are shown, for the web page: the main window says so whenever it
    // changes; without one, Configure takes it from the stored settings.
    void SetLook(const InstrumentLook& look);

    IndicatorColour ReceptionColour() const { return Input.Link().ReceptionColour(); }
    // The selected device and what is known of it, or why it does not open.
    QString DeviceLine() const;
    // Every server in the order they were added.
    std::vector<ServerStatus> Servers() const;

signals:
    void ReceptionColourChanged(IndicatorColour colour);
    // The device line changed: the port opened, or a problem came or went.
    void DeviceChanged();
    // A server's problem or its number of clients changed.
    void ServersChanged();

private:
    void AddServer(NetworkServer& server);
    // The watchdog's tick: every server's check, then it sleeps or coasts when it may.
    void CheckServers();
    bool NothingToDo() const;
    bool OnlyCounting() const;
    void UpdateServerStatus();
    std::optional<SerialLine> DeviceSerialLine() const;
    InstrumentLook StoredLook() const;
    // The words on standard error (StationLog.cpp).
    void TellDevice(const QString& problem);
    void TellOpened() const;
    void TellServer(const PortListener& listener, const QString& problem) const;
    void TellListening() const;

    NavState& Nav;
    SettingsStore& Settings;
    ServerPorts DefaultPorts;
    NmeaReceiver Input;
    GpsdServer GpsdOut;
    std::unique_ptr<NmeaTcpServer> NmeaOut;
    std::unique_ptr<WebServer> WebOut;
    std::vector<NetworkServer*> Served;
    std::vector<ServerStatus> LastStatus;
    bool OnScreen = false;
    QString ReadingDevice; // said to be read, and not gone since
};
