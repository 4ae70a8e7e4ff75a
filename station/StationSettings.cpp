// The station as the machine-wide settings place it: where the servers listen and for how many,
// which talkers are read, which device each port entry opens, and the serial line.
#include "Station.h"

#include "NavState.h"
#include "OptionLists.h"
#include "SettingsStore.h"

namespace {

const QString GpsdGroup = QStringLiteral("GPSD");
const QString NmeaGroup = QStringLiteral("NMEA");
const QString WebGroup = QStringLiteral("Web");
const QString LocalGroup = QStringLiteral("Local");

} // namespace

void Station::Configure()
{
    const auto number = [this](const QString& subkey, const char* name, int lowest, int highest, int fallback) {
        return SettingsStore::SettingNumber(Settings.ReadMachineSetting(subkey, QString::fromLatin1(name)), lowest,
                                            highest, fallback);
    };
    Nav.SetGpsdPlaceholders();
    // "any" serves plotters on the boat's network; "localhost" only programs on this computer.
    const QHostAddress address =
        PortListener::AddressFor(Settings.ReadMachineSetting(GpsdGroup, QStringLiteral("Listen"), QStringLiteral("any")));
    // How many plotters and programs on board may take the position at once, from each server.
    const int maxClients = number(GpsdGroup, "MaxClients", 1, PortListener::ClientLimit, PortListener::DefaultMaxClients);
    // Seconds until a client that vanished without closing (out of Wi-Fi range) gives up its place.
    const std::chrono::seconds keepAlive{
        number(GpsdGroup, "KeepAlive", 2, 7200, static_cast<int>(PortListener::DefaultKeepAlive.count()))};
    GpsdOut.TcpListener().SetAddress(address, static_cast<quint16>(number(GpsdGroup, "Port", 1, 65535, DefaultPorts.Gpsd)));
    GpsdOut.SetMaxClients(maxClients);
    GpsdOut.TcpListener().SetKeepAlive(keepAlive);
    // "False" for an old plotter that waits after connecting and cannot take the VERSION greeting
    // that JSON clients wait for.
    GpsdOut.SetGreeting(SettingsStore::ReadFlag(Settings.ReadMachineSetting(GpsdGroup, QStringLiteral("Greeting"), QStringLiteral("True"))));

    // The sentences as received, for plotters that read plain NMEA over TCP; 0 turns it off.
    const int nmeaPort = number(NmeaGroup, "TcpPort", 0, 65535, DefaultPorts.NmeaTcp);
    if (nmeaPort != 0 && !NmeaOut) {
        NmeaOut = std::make_unique<NmeaTcpServer>(static_cast<quint16>(nmeaPort), address);
        NmeaOut->TcpListener().SetMaxClients(maxClients);
        NmeaOut->TcpListener().SetKeepAlive(keepAlive);
        connect(&Input.Link(), &SerialLink::LineReceived, NmeaOut.get(), &NmeaTcpServer::LineProcessed);
        AddServer(*NmeaOut);
    }

    // The instruments as a web page for the phones and tablets aboard; 0 turns it off.
    const int webPort = number(WebGroup, "Port", 0, 65535, DefaultPorts.Web);
    if (webPort != 0 && !WebOut) {
        WebOut = std::make_unique<WebServer>(Nav, static_cast<quint16>(webPort), address);
        WebOut->TcpListener().SetMaxClients(maxClients);
        WebOut->TcpListener().SetKeepAlive(keepAlive);
        WebOut->SetLook(StoredLook());
        connect(&Input.Link(), &SerialLink::EpochEnded, WebOut.get(), &WebServer::EpochEnded);
        AddServer(*WebOut);
    }

    // "True" reads the GPS talker only, for a receiver whose other talkers mislead.
    Input.Link().Interpreter().SetTalkersGpOnly(SettingsStore::ReadFlag(Settings.ReadMachineSetting(NmeaGroup, QStringLiteral("TalkersGPOnly"))));
    for (int port = 1; port <= SerialPortCount; ++port)
        Input.Link().Devices().SetOverride(port, Settings.ReadMachineSetting(NmeaGroup, QStringLiteral("Device%1").arg(port)));
}

SerialSettings Station::StoredSerialSettings() const
{
    SerialSettings stored;
    // Each list's first-run position stands for a stored one that is missing or outside the list.
    const auto read = [this](int& position, const char* name, std::size_t entries) {
        position = SettingsStore::SettingNumber(Settings.ReadMachineSetting(NmeaGroup, QString::fromLatin1(name)), 0,
                                                static_cast<int>(entries) - 1, position);
    };
    read(stored.PortIndex, "COMport", SerialPortCount);
    read(stored.BaudIndex, "Baudrate", BaudRateTexts.size());
    read(stored.ParityIndex, "Parity", ParityTexts.size());
    read(stored.WordBitsIndex, "WordBits", WordBitsTexts.size());
    read(stored.StopBitsIndex, "StopBits", StopBitsTexts.size());
    read(stored.HandShakeIndex, "HandShake", HandShakeTexts.size());
    return stored;
}

// The look the main window restores at its start: the brightness list and the red palette of the
// person's settings, the time controls of the machine's. A service has no person of its own: where
// its user's settings do not say, the machine-wide file does.
InstrumentLook Station::StoredLook() const
{
    const auto personal = [this](const QString& name) {
        const QString text = Settings.ReadUserSetting(LocalGroup, name);
        return text.isEmpty() ? Settings.ReadMachineSetting(LocalGroup, name) : text;
    };
    const auto machine = [this](const char* name) { return Settings.ReadMachineSetting(LocalGroup, QString::fromLatin1(name)); };
    InstrumentLook look;
    const QStringList modes = BrightnessEntries();
    look.Mode = modes.at(SettingsStore::SettingNumber(personal(QStringLiteral("BrightnessMode")), 0, static_cast<int>(modes.size()) - 1, 0));
    look.NightRed = SettingsStore::ReadFlag(personal(QStringLiteral("NightRed")));
    const QStringList differences = UtcDifferenceEntries();
    look.Time.UtcDifference =
        differences.at(SettingsStore::SettingNumber(machine("UTChours"), 0, static_cast<int>(differences.size()) - 1, 0));
    look.Time.DaylightSaving = SettingsStore::ReadFlag(machine("DaylightSaving"));
    look.Time.LocalTime = SettingsStore::SettingNumber(machine("TimeDisplay"), 1, 2, 2) == 1;
    return look;
}
