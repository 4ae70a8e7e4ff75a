// The settings text and the port-number-to-device table.
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
    QTest::newRow("odd") << SerialSettings{0, 6, 2, 2, 0, 0} << "19200,o,8,1";
    QTest::newRow("baud beyond the list") << SerialSettings{0, 10, 0, 2, 0, 0} << "";
    QTest::newRow("parity below the list") << SerialSettings{0, 4, -1, 2, 0, 0} << "";
    QTest::newRow("word bits beyond the list") << SerialSettings{0, 4, 0, 6, 0, 0} << "";
    QTest::newRow("stop bits beyond the list") << SerialSettings{0, 4, 0, 2, 3, 0} << "";
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

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
