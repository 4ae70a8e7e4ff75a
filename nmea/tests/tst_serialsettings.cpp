// The settings text, the port-number-to-device table and the device entries of receivers on the
// network.
#include "NetworkSource.h"
#include "PortDescription.h"
#include "PortDevices.h"
#include "SerialSettings.h"

#include <QTest>

Q_DECLARE_METATYPE(SerialSettings)

class TestSerialSettings : public QObject {
    Q_OBJECT

private slots:
    void settingsText_data();
    void settingsText();
    void defaultDevices_data();
    void defaultDevices();
    void overrideReplacesOnlyItsPort();
    void deviceEntries_data();
    void deviceEntries();
};

void TestSerialSettings::settingsText_data()
{
    QTest::addColumn<SerialSettings>("settings");
    QTest::addColumn<QString>("text");

    QTest::newRow("first run") << SerialSettings{} << "300,n,6,1";
    QTest::newRow("NMEA 0183") << SerialSettings{0, 4, 0, 2, 0, 0} << "4800,n,8,1";
    QTest::newRow("space parity") << SerialSettings{0, 5, 4, 2, 0, 0} << "9600,s,8,1";
    QTest::newRow("mark, 1.5") << SerialSettings{0, 9, 3, 1, 1, 0} << "115200,m,7,1.5";
    QTest::newRow("even, 11, 2") << SerialSettings{0, 8, 1, 5, 2, 0} << "57600,e,11,2";
    QTest::newRow("baud beyond the list") << SerialSettings{0, 10, 0, 2, 0, 0} << "";
    QTest::newRow("parity below the list") << SerialSettings{0, 4, -1, 2, 0, 0} << "";
}

void TestSerialSettings::settingsText()
{
    QFETCH(SerialSettings, settings);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(SettingsText(settings)), text);
}

void TestSerialSettings::defaultDevices_data()
{
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QString>("device");

    QTest::newRow("COM1") << 1 << "/dev/ttyUSB0";
    QTest::newRow("COM8") << 8 << "/dev/ttyUSB7";
    QTest::newRow("COM9") << 9 << "/dev/ttyACM0";
    QTest::newRow("COM16") << 16 << "/dev/ttyACM7";
    QTest::newRow("COM17") << 17 << "/dev/ttyS0";
    QTest::newRow("COM32") << 32 << "/dev/ttyS15";
    QTest::newRow("0") << 0 << "";
    QTest::newRow("33") << 33 << "";
}

void TestSerialSettings::defaultDevices()
{
    QFETCH(int, portNumber);
    QFETCH(QString, device);
    QCOMPARE(PortDevices().Device(portNumber), device);
}

void TestSerialSettings::overrideReplacesOnlyItsPort()
{
    PortDevices devices;
    devices.SetOverride(9, "/dev/serial/by-id/usb-gps");
    devices.SetOverride(33, "/dev/nowhere");
    QCOMPARE(devices.Device(9), QStringLiteral("/dev/serial/by-id/usb-gps"));
    QCOMPARE(devices.Device(10), QStringLiteral("/dev/ttyACM1"));
    QCOMPARE(devices.Device(33), QString());
    devices.SetOverride(9, QString());
    QCOMPARE(devices.Device(9), QStringLiteral("/dev/ttyACM0"));
}

void TestSerialSettings::deviceEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("parsed"); // the network receiver, "malformed", or "device" for a path
    QTest::addColumn<QString>("line");   // what the device line says of it before it is opened

    QTest::newRow("TCP gateway") << "tcp://192.168.4.1:10110" << "tcp 192.168.4.1:10110" << "tcp://192.168.4.1:10110";
    QTest::newRow("UDP broadcasts") << "UDP://:10110" << "udp :10110" << "UDP://:10110";
    QTest::newRow("UDP on one address") << "udp://127.0.0.1:2000" << "udp 127.0.0.1:2000" << "udp://127.0.0.1:2000";
    QTest::newRow("no port") << "tcp://gateway" << "malformed" << "tcp://gateway";
    QTest::newRow("TCP without host") << "tcp://:10110" << "malformed" << "tcp://:10110";
    QTest::newRow("port 0") << "udp://:0" << "malformed" << "udp://:0";
    QTest::newRow("path after the port") << "tcp://h:10/x" << "malformed" << "tcp://h:10/x";
    QTest::newRow("device not present") << "/nonexistent/gps" << "device" << "/nonexistent/gps \u2014 Not present";
}

void TestSerialSettings::deviceEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, parsed);
    QFETCH(QString, line);
    const auto source = ParseNetworkSource(entry);
    const QString kind = source && source->Kind == NetworkSource::Transport::Udp ? "udp " : "tcp ";
    const QString where = source ? source->Host + ':' + QString::number(source->Port) : QString();
    QCOMPARE(!IsNetworkEntry(entry) ? "device" : !source ? "malformed" : kind + where, parsed);
    QCOMPARE(DeviceLine(entry, {}), line);
    QCOMPARE(DeviceLine(entry, "Connection refused"), entry + " \u2014 Connection refused");
}

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
