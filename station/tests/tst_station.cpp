// The station with a settings folder of its own, its watchdog's tick driven by hand: what it reads
// from the settings, what it tells a window of its servers, and when its watchdog may sleep.
#include "NavState.h"
#include "SettingsFolder.h"
#include "Station.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int WaitMs = 10000;
// Long enough that the watchdog's timer never fires by itself during a test: the tests tick.
constexpr std::chrono::hours NoTimer{1};

} // namespace

class TestStation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void storedSerialSettings();
    void serversAsAWindowSeesThem();
    void sleepsUntilAClientOrTheDeviceComes();

private:
    void Store(const char* subkey, const char* name, const QString& text);
    // A station on these settings, started.
    std::unique_ptr<Station> Started();
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Live->Receiver().Watchdog().Tick();
    }

    std::unique_ptr<QTemporaryDir> Dir;
    NavState Nav;
    std::unique_ptr<SettingsStore> Settings;
    std::unique_ptr<Station> Live;
};

void TestStation::init()
{
    Live.reset();
    Settings.reset();
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Store("NMEA", "Device1", Dir->filePath("gps"));
}

void TestStation::Store(const char* subkey, const char* name, const QString& text)
{
    SettingsStore setup(SettingsIn(*Dir));
    QVERIFY(setup.OpenSettingsKeys());
    setup.WriteMachineSetting(subkey, name, text);
}

std::unique_ptr<Station> TestStation::Started()
{
    Settings = std::make_unique<SettingsStore>(SettingsIn(*Dir));
    if (!Settings->OpenSettingsKeys())
        return nullptr;
    auto station = std::make_unique<Station>(Nav, *Settings, ServerPorts{0, 0, 0}, NoTimer);
    station->Configure();
    station->SelectSerialSettings(station->StoredSerialSettings());
    station->Start();
    return station;
}

// The service reads the serial lists' positions the desktop program stores; one missing or
// outside its list gives the list's first-run entry, as the window's list does.
void TestStation::storedSerialSettings()
{
    const struct {
        const char* Stored; // in every list
        SerialSettings Read;
    } rows[] = {
        {"", {}},
        {"2", {2, 2, 2, 2, 2, 2}},
        {"3", {3, 3, 3, 3, 0, 3}},    // stop bits: "1", "1.5", "2"
        {"5", {5, 5, 0, 5, 0, 0}},    // parity ends at 4, handshake at 3
        {"10", {10, 10, 0, 2, 0, 0}}, // "Auto"; data bits end at 5
        {"31", {31, 10, 0, 2, 0, 0}}, // COM32
        {"32", {}},
        {"-1", {}},
    };
    for (const auto& row : rows) {
        for (const char* name : {"COMport", "Baudrate", "Parity", "WordBits", "StopBits", "HandShake"})
            Store("NMEA", name, row.Stored);
        SettingsStore store(SettingsIn(*Dir));
        QVERIFY(store.OpenSettingsKeys());
        QVERIFY2(Station(Nav, store).StoredSerialSettings() == row.Read, row.Stored);
    }
}

// Each server with its port, its problem and its clients, and a word whenever one of them changes.
void TestStation::serversAsAWindowSeesThem()
{
    QTcpServer held;
    QVERIFY(held.listen(QHostAddress::Any, 0));
    const quint16 nmeaPort = held.serverPort();
    Store("NMEA", "TcpPort", QString::number(nmeaPort));
    Live = Started();
    QVERIFY(Live);
    QSignalSpy changed(Live.get(), &Station::ServersChanged);
    std::vector<ServerStatus> servers = Live->Servers();
    QCOMPARE(servers.size(), 2u);
    QCOMPARE(servers[0].Service, "GPSD");
    QCOMPARE(servers[0].Port, Live->Gpsd().Port());
    QVERIFY(servers[0].Problem.isEmpty());
    QCOMPARE(servers[1].Service, "NMEA");
    QCOMPARE(servers[1].Problem, QString("NMEA port %1 is in use by another program; trying again").arg(nmeaPort));

    QTcpSocket plotter;
    plotter.connectToHost(QHostAddress::LocalHost, Live->Gpsd().Port());
    QTRY_COMPARE_WITH_TIMEOUT(Live->Servers()[0].Clients, 1, WaitMs);
    QVERIFY(changed.count() >= 1);
    held.close();
    Ticks(1);
    QVERIFY(Live->Servers()[1].Problem.isEmpty());
    QCOMPARE(Live->Servers()[1].Port, nmeaPort);
    plotter.abort();
    QTRY_COMPARE_WITH_TIMEOUT(Live->Servers()[0].Clients, 0, WaitMs);
}

// No device, the loss declared, no client: nothing a tick does can change anything, and the
// watchdog sleeps until a client connects or the device appears.
void TestStation::sleepsUntilAClientOrTheDeviceComes()
{
    Live = Started();
    QVERIFY(Live);
    const ReceptionWatchdog& dog = Live->Receiver().Watchdog();
    Ticks(ReceptionWatchdog::TicksBeforeLoss + 1);
    QVERIFY(dog.IsTicking());
    Ticks(1);
    QVERIFY(dog.LossDeclared());
    QVERIFY(!dog.IsTicking());

    QTcpSocket plotter;
    plotter.connectToHost(QHostAddress::LocalHost, Live->Gpsd().Port());
    QTRY_VERIFY_WITH_TIMEOUT(dog.IsTicking(), WaitMs);
    plotter.abort();
    QTRY_COMPARE_WITH_TIMEOUT(Live->Gpsd().HeldClients(), 0, WaitMs);
    Ticks(1);
    QVERIFY(!dog.IsTicking());

    QProcess simulator;
    simulator.start(QStringLiteral(SIMULATOR_PATH), {"--link", Dir->filePath("gps")});
    QTRY_VERIFY_WITH_TIMEOUT(Live->Receiver().Link().IsOpen(), WaitMs);
    QVERIFY(dog.IsTicking());
    QCOMPARE(Live->DeviceLine(), Dir->filePath("gps"));
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(WaitMs));
}

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
