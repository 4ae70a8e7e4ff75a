// The settings text, the port-number-to-device table and the device entries of receivers on the
// network.
#include "NetworkSource.h"
#include "PortDescription.h"
#include "PortDevices.h"
#include "SerialSettings.h"

#include <QTest>

class TestSerialSettings : public QObject {
    Q_OBJECT

private slots:
    void settingsText()
    {
        const std::pair<SerialSettings, const char*> texts[] = {
            {{}, "300,n,6,1"},  // first run
            {{0, 4, 0, 2, 0, 0}, "4800,n,8,1"},
            {{0, 5, 4, 2, 0, 0}, "9600,s,8,1"},
            {{0, 9, 3, 1, 1, 0}, "115200,m,7,1.5"},
            {{0, 8, 1, 5, 2, 0}, "57600,e,11,2"},
            {{0, 10, 0, 2, 0, 0}, ""},  // baud beyond the list
            {{0, 4, -1, 2, 0, 0}, ""},  // parity below it
        };
        for (const auto& [settings, text] : texts)
            QCOMPARE(SettingsText(settings), std::string(text));
    }

    void devices()
    {
        PortDevices devices;
        const std::pair<int, const char*> defaults[] = {
            {1, "/dev/ttyUSB0"}, {8, "/dev/ttyUSB7"}, {9, "/dev/ttyACM0"}, {16, "/dev/ttyACM7"},
            {17, "/dev/ttyS0"},  {32, "/dev/ttyS15"}, {0, ""},              {33, ""},
        };
        for (const auto& [portNumber, device] : defaults)
            QCOMPARE(devices.Device(portNumber), QString(device));
        // An override replaces only its own port.
        devices.SetOverride(9, "/dev/serial/by-id/usb-gps");
        devices.SetOverride(33, "/dev/nowhere");
        QCOMPARE(devices.Device(9), QStringLiteral("/dev/serial/by-id/usb-gps"));
        QCOMPARE(devices.Device(10), QStringLiteral("/dev/ttyACM1"));
        QCOMPARE(devices.Device(33), QString());
        devices.SetOverride(9, QString());
        QCOMPARE(devices.Device(9), QStringLiteral("/dev/ttyACM0"));
    }

    void deviceEntries()
    {
        // The network receiver an entry names, "malformed", or "device" for a path; and what the
        // device line says of it before it is opened.
        const struct {
            QString Entry, Parsed, Line;
        } entries[] = {
            {"tcp://192.168.4.1:10110", "tcp 192.168.4.1:10110", "tcp://192.168.4.1:10110"},
            {"UDP://:10110", "udp :10110", "UDP://:10110"},
            {"udp://127.0.0.1:2000", "udp 127.0.0.1:2000", "udp://127.0.0.1:2000"},
            {"tcp://gateway", "malformed", "tcp://gateway"},
            {"tcp://:10110", "malformed", "tcp://:10110"},
            {"udp://:0", "malformed", "udp://:0"},
            {"tcp://h:10/x", "malformed", "tcp://h:10/x"},
            {"/nonexistent/gps", "device", "/nonexistent/gps \u2014 Not present"},
        };
        for (const auto& [entry, parsed, line] : entries) {
            const auto source = ParseNetworkSource(entry);
            const QString kind = source && source->Kind == NetworkSource::Transport::Udp ? "udp " : "tcp ";
            const QString where = source ? source->Host + ':' + QString::number(source->Port) : QString();
            QCOMPARE(!IsNetworkEntry(entry) ? "device" : !source ? "malformed" : kind + where, parsed);
            QCOMPARE(DeviceLine(entry, {}), line);
            QCOMPARE(DeviceLine(entry, "Connection refused"), entry + " \u2014 Connection refused");
        }
    }
};

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
