// The whole input and output chain with real parts: the simulator writes NMEA into a pseudo-
// terminal, the serial link reads it through QSerialPort, the interpreter fills NavState, and a
// GPSD client on loopback gets the position; then the receiver goes silent and the watchdog
// declares the fix lost.
#include "GpsdServer.h"
#include "NavState.h"
#include "NmeaReceiver.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int WaitMs = 15000;

// The server runs in this thread, so every wait lets the event loop run.
QByteArray Ask(quint16 port, char command)
{
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    if (!QTest::qWaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, WaitMs))
        return {};
    client.write(&command, 1);
    QByteArray reply;
    // A reply ends with CR LF, or is the short "no fix" text without one.
    const bool complete = QTest::qWaitFor([&] {
        reply += client.readAll();
        return reply.endsWith("\r\n") || reply == "GPSD,O=?";
    }, WaitMs);
    return complete ? reply : QByteArray();
}

int SatellitesInSky(const NavState& nav)
{
    return static_cast<int>(std::count_if(nav.SkyPrn.begin(), nav.SkyPrn.end(),
                                          [](std::uint16_t prn) { return prn != 0; }));
}

} // namespace

class TestReceiverChain : public QObject {
    Q_OBJECT

private slots:
    void simulatorToGpsdClient();
};

void TestReceiverChain::simulatorToGpsdClient()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("gps"));
    QProcess simulator;
    simulator.start(QStringLiteral(SIMULATOR_PATH),
                    {QStringLiteral("--link"), device, QStringLiteral("--rate"), QStringLiteral("5"),
                     QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--start"),
                     QStringLiteral("2026-12-06T12:00:00Z")});
    QVERIFY(simulator.waitForStarted(WaitMs));
    QVERIFY(simulator.waitForReadyRead(WaitMs)); // the device path comes first

    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaReceiver receiver(nav, std::chrono::hours(1)); // the test drives the watchdog's ticks
    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    QObject::connect(&receiver.Watchdog(), &ReceptionWatchdog::ListenerCheckDue, &server,
                     &GpsdServer::CheckListener);
    receiver.Link().Devices().SetOverride(1, device);
    SerialSettings settings;
    settings.BaudIndex = 4;     // 4800
    settings.WordBitsIndex = 2; // 8
    receiver.Link().ChangeSettings(settings);
    receiver.Start();
    QVERIFY(receiver.Link().IsOpen());

    QTRY_VERIFY_WITH_TIMEOUT(nav.FixValid && SatellitesInSky(nav) > 0, WaitMs);
    QVERIFY(SatellitesInSky(nav) >= 8 && SatellitesInSky(nav) <= 14);
    QVERIFY(std::abs(nav.Latitude - 52.06f) < 0.2f);

    receiver.Watchdog().Tick(); // listens
    QVERIFY(server.IsListening());
    const QByteArray reply = Ask(server.Port(), 'o');
    QVERIFY2(reply.startsWith("GPSD,O=") && reply.endsWith(" 3\r\n"), reply.constData());
    const QList<QByteArray> fields = reply.mid(7).trimmed().split(' ');
    QCOMPARE(fields.size(), 15);
    QVERIFY(fields[1].toLongLong() >= 1765022400); // 2026-12-06T12:00:00Z or later
    QVERIFY(std::abs(fields[3].toDouble() - 52.1) < 0.1);

    // The receiver goes silent: after more than four ticks without a fix, the fix and the sky go.
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(WaitMs));
    // Its device vanishes with it; whatever it had sent is read by then.
    QTRY_VERIFY_WITH_TIMEOUT(!receiver.Link().IsOpen(), WaitMs);
    for (int tick = 0; tick < 6; ++tick)
        receiver.Watchdog().Tick();
    QVERIFY(!nav.FixValid);
    QCOMPARE(SatellitesInSky(nav), 0);
    QCOMPARE(Ask(server.Port(), 'o'), QByteArray("GPSD,O=?"));
    receiver.Stop();
}

QTEST_GUILESS_MAIN(TestReceiverChain)
#include "tst_receiverchain.moc"
