// The GPSD server and the plain NMEA server through real sockets on 127.0.0.1, both GPSD protocols
// and several clients, fed by a real character intake the way the program's link feeds them.
#include "GpsdReply.h"
#include "GpsdServer.h"
#include "JsonLines.h"
#include "NmeaTcpServer.h"
#include "Received.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include <sys/socket.h>

namespace {

constexpr int IoTimeout = 10000;
const QString Device = QStringLiteral("/dev/ttyUSB0");
const QStringList Watching{"VERSION", "DEVICES", "WATCH"};
const QByteArray Watch = R"(?WATCH={"enable":true,"json":true};)";

// Everything one client receives, gathered as it arrives.
class Client {
public:
    Client()
    {
        QObject::connect(&Socket, &QTcpSocket::readyRead, &Socket,
                         [this] { Text += Socket.readAll().toStdString(); });
    }
    bool Connect(quint16 port)
    {
        Socket.connectToHost(QHostAddress::LocalHost, port);
        return Socket.waitForConnected(IoTimeout);
    }
    void Send(const QByteArray& bytes) { Socket.write(bytes); }

    // The complete lines so far.
    QStringList Classes() const { return ::Classes(Text); }
    QList<QJsonObject> Objects() const { return JsonLines(Text); }

    QTcpSocket Socket;
    std::string Text;
};

const std::string Garbled = "$GPGGA,garbled*00\r\n";

} // namespace

class TestGpsdServer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void watcherGetsOneTpvPerCycle();
    void sentencesAsReceivedToNmeaClients();
    void deviceGoneAndBack();
    void clientsBeyondTheLimitWaitForAPlace();
    void nonReaderIsDroppedOthersServed();

private:
    // Lines through the intake, each to the servers as the serial link hands it on; quiet: the
    // receiver falls silent afterwards, which ends its cycle.
    void Feed(std::initializer_list<std::string> lines, bool quiet = false);

    NavState Nav;
    std::unique_ptr<GpsdServer> Server;
    std::unique_ptr<NmeaTcpServer> NmeaOut;
    std::unique_ptr<NmeaInput> Input;
};

void TestGpsdServer::init()
{
    Nav = Received();
    Server = std::make_unique<GpsdServer>(Nav, 0, QHostAddress::LocalHost);
    NmeaOut = std::make_unique<NmeaTcpServer>(0, QHostAddress::LocalHost);
    NmeaOut->CheckListener();
    Server->SetDevice(Device);
    Input = std::make_unique<NmeaInput>(Nav);
    Input->OnEpoch([this](const FixEpoch& epoch) { Server->EpochEnded(epoch); });
    Server->CheckListener();
}

void TestGpsdServer::cleanup()
{
    Input.reset();
    Server.reset();
    NmeaOut.reset();
}

void TestGpsdServer::Feed(std::initializer_list<std::string> lines, bool quiet)
{
    for (const std::string& line : lines) {
        for (const char c : line) {
            if (const auto result = Input->Intake(c)) {
                Server->LineProcessed(*result, Input->ValidLine());
                NmeaOut->LineProcessed(*result, Input->ValidLine());
            }
        }
    }
    if (quiet)
        Input->EndOfCycle();
}

void TestGpsdServer::watcherGetsOneTpvPerCycle()
{
    Client watcher;
    QVERIFY(watcher.Connect(Server->Port()));
    watcher.Send(Watch);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), Watching, IoTimeout);
    QCOMPARE(watcher.Objects()[1].value("devices").toArray()[0].toObject().value("path").toString(), Device);

    // Two cycles of a receiver whose last sentence is ZDA: the first ends when the time changes,
    // the second at its ZDA; a garbled line changes nothing.
    Feed({Line(Rmc), Line(Gga), Line(Gsa), Line("GPGSV,2,1,05,04,40,083,46,05,17,308,41,09,07,344,39,12,22,228,45"),
          Line("GPGSV,2,2,05,24,61,120,50"), Line("GPZDA,123519,23,03,2024,00,00"), Garbled});
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), Watching + QStringList{"SKY"}, IoTimeout);
    Feed({Line("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W"),
          Line("GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), Line("GPZDA,123520,23,03,2024,00,00")});
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), (Watching + QStringList{"SKY", "TPV", "TPV"}), IoTimeout);
    const QJsonObject tpv = watcher.Objects().last();
    QCOMPARE(tpv.value("mode").toInt(), 3);
    QCOMPARE(tpv.value("time").toString(), "2024-03-23T12:35:20.000Z");
    QCOMPARE(tpv.value("device").toString(), Device);
}

void TestGpsdServer::sentencesAsReceivedToNmeaClients()
{
    Client watcher;
    Client plotter; // of the plain NMEA server
    QVERIFY(watcher.Connect(Server->Port()));
    QVERIFY(plotter.Connect(NmeaOut->TcpListener().Port()));
    watcher.Send(R"(?WATCH={"enable":true,"nmea":true})" "\n");
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().size(), 3, IoTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(NmeaOut->ClientCount(), 1, IoTimeout);
    plotter.Send("$GPGGA,what a plotter may send*00\r\n");
    // Only lines with a valid checksum go out, whether this program knows their type or not.
    const std::string unknownType = Line("PGRME,15.0,M,45.0,M,25.0,M");
    Feed({Line(Gga), Garbled, unknownType, Line(Rmc)}, true);
    const std::string expected = Line(Gga) + unknownType + Line(Rmc);
    QTRY_VERIFY_WITH_TIMEOUT(watcher.Text.ends_with(expected), IoTimeout);
    QCOMPARE(watcher.Classes(), (Watching + QStringList{"?", "?", "?"}));
    QTRY_COMPARE_WITH_TIMEOUT(plotter.Text, expected, IoTimeout);
}

void TestGpsdServer::deviceGoneAndBack()
{
    Client watcher;
    QVERIFY(watcher.Connect(Server->Port()));
    watcher.Send(Watch);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), Watching, IoTimeout);
    // The watchdog reopens a port that never went away: no news.
    Server->SetDevice(Device);
    Server->DeviceClosed();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), (Watching + QStringList{"DEVICE", "TPV"}), IoTimeout);
    QCOMPARE(watcher.Objects()[3].value("activated").toInt(-1), 0);
    QCOMPARE(watcher.Objects()[4].value("mode").toInt(), 1);
    // While nothing comes, the watchdog's ticks tell "no fix" once a second.
    QTest::qWait(1300);
    Server->CheckListener();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().count("TPV"), 2, IoTimeout);
    Server->SetDevice(Device);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().last(), "DEVICE", IoTimeout);
    QVERIFY(watcher.Objects().last().value("activated").isString());
}

// A place frees while a client is still leaving: the next one waits, connected, and is served the
// moment the place is free. No connection is ever reset or refused for want of a place.
void TestGpsdServer::clientsBeyondTheLimitWaitForAPlace()
{
    Server->SetMaxClients(2);
    Client json;
    Client letters;
    QVERIFY(json.Connect(Server->Port()));
    QVERIFY(letters.Connect(Server->Port()));
    json.Send(Watch);
    letters.Send("l");
    QTRY_COMPARE_WITH_TIMEOUT(json.Classes(), Watching, IoTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(letters.Text, std::string(GpsdLevelReply), IoTimeout);

    std::array<Client, 12> burst;
    QSignalSpy errors(&json.Socket, &QTcpSocket::errorOccurred);
    for (Client& client : burst) {
        QVERIFY(client.Connect(Server->Port()));
        QObject::connect(&client.Socket, &QTcpSocket::errorOccurred, &json.Socket, &QTcpSocket::errorOccurred);
        client.Send("l");
    }
    Server->CheckListener(); // a watchdog tick at the limit changes nothing
    QTest::qWait(300);
    QCOMPARE(Server->ClientCount(), 2);
    for (const Client& client : burst)
        QVERIFY(client.Text.empty());

    // The old plotter asks and leaves at once: its place goes to the first that waits.
    letters.Send("L");
    QVERIFY(letters.Socket.waitForBytesWritten(IoTimeout));
    ::shutdown(static_cast<int>(letters.Socket.socketDescriptor()), SHUT_WR);
    QTRY_COMPARE_WITH_TIMEOUT(letters.Text, std::string(GpsdLevelReply).append(GpsdLevelReply), IoTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(burst[0].Text, std::string(GpsdLevelReply), IoTimeout);
    Feed({Line(Rmc)}, true);
    QTRY_COMPARE_WITH_TIMEOUT(json.Classes().count("TPV"), 1, IoTimeout);
    // Each that leaves lets the next in.
    for (std::size_t n = 0; n + 1 < burst.size(); ++n) {
        burst[n].Socket.disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(burst[n + 1].Text, std::string(GpsdLevelReply), IoTimeout);
    }
    QCOMPARE(errors.count(), 0);
}

void TestGpsdServer::nonReaderIsDroppedOthersServed()
{
    Server->SetMaxClients(3);
    Client watcher;
    Client letters;
    QTcpSocket flooder;
    // Our side must not read for it either: stop taking data off the wire at 1 KiB.
    flooder.setReadBufferSize(1024);
    QVERIFY(watcher.Connect(Server->Port()));
    QVERIFY(letters.Connect(Server->Port()));
    flooder.connectToHost(QHostAddress::LocalHost, Server->Port());
    QVERIFY(flooder.waitForConnected(IoTimeout));
    QTRY_COMPARE_WITH_TIMEOUT(Server->ClientCount(), 3, IoTimeout);
    watcher.Send(Watch);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().size(), 3, IoTimeout);

    // Each ?POLL; asks for about a kilobyte: megabytes of answers that are never read.
    flooder.write(R"(?WATCH={"enable":true,"json":true,"nmea":true};)");
    QByteArray polls;
    for (int i = 0; i < 20000; ++i)
        polls += "?POLL;";
    flooder.write(polls);
    const bool dropped = QTest::qWaitFor([&] {
        Feed({Line(Rmc)}, true);
        return Server->ClientCount() == 2;
    }, 4 * IoTimeout);
    QVERIFY(dropped);

    // The others were served all along and still are. The same RMC again and again is one
    // cycle, reported once.
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().count("TPV"), 1, IoTimeout);
    letters.Send("o");
    QTRY_VERIFY_WITH_TIMEOUT(letters.Text.starts_with("GPSD,O=RMC ") && letters.Text.ends_with("\r\n"), IoTimeout);
}

QTEST_GUILESS_MAIN(TestGpsdServer)
#include "tst_gpsdserver.moc"
