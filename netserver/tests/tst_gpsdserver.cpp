// The GPSD server and the plain NMEA server through real sockets on 127.0.0.1, both GPSD protocols
// and several clients, fed by a real character intake the way the program's link feeds them; who
// makes room when every place is taken; what a web page is sent, and what one that stops reading
// is sent.
#include "GpsdReply.h"
#include "GpsdServer.h"
#include "MakingRoom.h"
#include "JsonLines.h"
#include "NmeaTcpServer.h"
#include "PageMessages.h"
#include "Received.h"
#include "WebPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocketServer>


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
    void newcomersTakeThePlacesOfTheIdle();
    void nonReaderIsDroppedOthersServed();
    void whoMakesRoom_data();
    void whoMakesRoom();
    void queueThatStopsIsStalled();
    void pageThatStopsReadingGetsTheNewest();
    void fixAgeText_data();
    void fixAgeText();
    void pageIsRedOnlyWhereTheWindowsAre();

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
    // the second at its ZDA; a garbled line changes nothing. The sky waits for its cycle's TPV
    // and goes in the same write, just before it.
    Feed({Line(Rmc), Line(Gga), Line(Gsa), Line("GPGSV,2,1,05,04,40,083,46,05,17,308,41,09,07,344,39,12,22,228,45"),
          Line("GPGSV,2,2,05,24,61,120,50"), Line("GPZDA,123519,23,03,2024,00,00"), Garbled});
    QTest::qWait(100);
    QCOMPARE(watcher.Classes(), Watching);
    Feed({Line("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W"),
          Line("GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), Line("GPZDA,123520,23,03,2024,00,00")});
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), (Watching + QStringList{"SKY", "TPV", "TPV"}), IoTimeout);
    QCOMPARE(watcher.Objects()[3].value("satellites").toArray().size(), 5);
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
    // Only lines with a valid checksum go out, whether this program knows their type or not, and
    // only as far as the checksum: line noise after it stays here.
    const std::string unknownType = Line("PGRME,15.0,M,45.0,M,25.0,M");
    const std::string noisy = WithNmeaChecksum(std::string(Rmc)) + "\xff\x80 noise\r\n";
    Feed({Line(Gga), Garbled, unknownType, noisy}, true);
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
    // Its sky has gone with it.
    Server->DeviceClosed();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), (Watching + QStringList{"DEVICE", "SKY", "TPV"}), IoTimeout);
    QCOMPARE(watcher.Objects()[3].value("activated").toInt(-1), 0);
    QCOMPARE(watcher.Objects()[4].value("uSat").toInt(-1), 0);
    QVERIFY(watcher.Objects()[4].value("satellites").toArray().isEmpty());
    QCOMPARE(watcher.Objects()[5].value("mode").toInt(), 1);
    // While nothing comes, the watchdog's ticks tell "no fix" once a second.
    QTest::qWait(1300);
    Server->CheckListener();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().count("TPV"), 2, IoTimeout);
    // The sky comes back with the satellites, on its own when no cycle follows it.
    QVERIFY(!SerialLineOf("tcp://gateway:10110", SerialSettings{}, 4800)); // on the network: no line
    Server->SetDevice(Device, SerialLineOf(Device, SerialSettings{0, 4, 1, 2, 0, 0}, 9600));
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().last(), "DEVICE", IoTimeout);
    QVERIFY(watcher.Objects().last().value("activated").isString());
    Feed({Line("GPGSV,1,1,01,04,40,083,46")});
    QTest::qWait(static_cast<int>(GpsdServer::ReceiverQuiet.count()) + 100);
    Server->CheckListener();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().last(), "SKY", IoTimeout);
    QCOMPARE(watcher.Objects().last().value("nSat").toInt(), 1);
    // A serial device tells its line with its cycle, once two cycles have shown it.
    QVERIFY(!watcher.Objects()[watcher.Objects().size() - 2].contains("bps"));
    Feed({Line(Rmc), Line("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W")}, true);
    watcher.Send("?DEVICES;");
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().last(), "DEVICES", IoTimeout);
    const QJsonObject device = watcher.Objects().last().value("devices").toArray()[0].toObject();
    QCOMPARE(QStringList({device.value("bps").toVariant().toString(), device.value("parity").toString(),
                          device.value("cycle").toVariant().toString()}),
             QStringList({"9600", "E", "1"}));
}

// Nobody locks the door: a newcomer takes the place of the client that watches nothing and has
// been silent longest; a watcher keeps its place, and when watchers hold every place the newcomer
// waits, connected, until one leaves. No connection is ever refused.
void TestGpsdServer::newcomersTakeThePlacesOfTheIdle()
{
    Server->SetMaxClients(3);
    Client watcher;
    std::array<Client, 2> idle;
    QVERIFY(watcher.Connect(Server->Port()));
    watcher.Send(Watch);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), Watching, IoTimeout);
    for (Client& client : idle) {
        QVERIFY(client.Connect(Server->Port()));
        QTRY_VERIFY_WITH_TIMEOUT(!client.Text.empty(), IoTimeout); // greeted
    }
    // Each newcomer is served at once in the place of the idle client that has been silent longest.
    std::array<Client, 3> pollers;
    for (std::size_t n = 0; n < pollers.size(); ++n) {
        QVERIFY(pollers[n].Connect(Server->Port()));
        pollers[n].Send("l");
        QTRY_COMPARE_WITH_TIMEOUT(pollers[n].Text, std::string(GpsdLevelReply), IoTimeout);
        Client& leaver = n < idle.size() ? idle[n] : pollers[0];
        QTRY_COMPARE_WITH_TIMEOUT(leaver.Socket.state(), QAbstractSocket::UnconnectedState, IoTimeout);
        QCOMPARE(Server->ClientCount(), 3);
    }
    // Watchers everywhere: the next one waits until a place is free.
    std::array<Client, 2> watchers;
    for (Client& newcomer : watchers) {
        QVERIFY(newcomer.Connect(Server->Port()));
        newcomer.Send(Watch);
        QTRY_COMPARE_WITH_TIMEOUT(newcomer.Classes(), Watching, IoTimeout);
    }
    Client waiting;
    QVERIFY(waiting.Connect(Server->Port()));
    waiting.Send("l");
    Server->CheckListener(); // a watchdog tick at the limit changes nothing
    QTest::qWait(300);
    QVERIFY(waiting.Text.empty());
    Feed({Line(Rmc)}, true);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().count("TPV"), 1, IoTimeout);
    watchers[0].Socket.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(waiting.Text, std::string(GpsdLevelReply), IoTimeout);
    QCOMPARE(watcher.Socket.state(), QAbstractSocket::ConnectedState);

    // The plain NMEA port, where nobody speaks: the client connected longest makes room.
    NmeaOut->TcpListener().SetMaxClients(2);
    std::array<Client, 3> plotters;
    for (Client& plotter : plotters) {
        QVERIFY(plotter.Connect(NmeaOut->TcpListener().Port()));
        QTest::qWait(20);
    }
    QTRY_COMPARE_WITH_TIMEOUT(plotters[0].Socket.state(), QAbstractSocket::UnconnectedState, IoTimeout);
    Feed({Line(Rmc)}, true);
    QTRY_COMPARE_WITH_TIMEOUT(plotters[2].Text, Line(Rmc), IoTimeout);
    QCOMPARE(plotters[1].Text, Line(Rmc));
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

void TestGpsdServer::whoMakesRoom_data()
{
    QTest::addColumn<QList<ClientStanding>>("clients");
    QTest::addColumn<int>("leaver"); // -1: nobody
    const std::int64_t stalled = StallLimit.count();
    QTest::newRow("the silent longest") << QList<ClientStanding>{{false, 10, 0}, {false, 30, 0}, {false, 20, 0}} << 1;
    QTest::newRow("never a watcher that reads") << QList<ClientStanding>{{true, 90, 0}, {false, 5, 0}} << 1;
    QTest::newRow("only watchers that read") << QList<ClientStanding>{{true, 90, 0}, {true, 5, stalled - 1}} << -1;
    QTest::newRow("a stalled queue first, a watcher's too")
        << QList<ClientStanding>{{false, 90, 0}, {true, 5, stalled}, {true, 5, stalled + 1}} << 2;
    QTest::newRow("nobody there") << QList<ClientStanding>{} << -1;
}

void TestGpsdServer::whoMakesRoom()
{
    QFETCH(QList<ClientStanding>, clients);
    QFETCH(int, leaver);
    const auto chosen = ClientToMakeRoom(std::span<const ClientStanding>(clients.data(), clients.size()));
    QCOMPARE(chosen ? static_cast<int>(*chosen) : -1, leaver);
}

// What is queued for a client that stopped reading stops moving, and its standing says so from
// the second look on; a reader's queue always moves.
void TestGpsdServer::queueThatStopsIsStalled()
{
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost));
    QTcpSocket reader;
    QTcpSocket stopped;
    stopped.setReadBufferSize(1024);
    std::array<std::unique_ptr<ClientConnection>, 2> connections;
    for (std::size_t n = 0; n < connections.size(); ++n) {
        (n == 0 ? reader : stopped).connectToHost(QHostAddress::LocalHost, listener.serverPort());
        QVERIFY(listener.waitForNewConnection(IoTimeout));
        connections[n] = std::make_unique<ClientConnection>(listener.nextPendingConnection(), 0, std::chrono::seconds(180));
    }
    stopped.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    // Until the system holds no more for it, well short of the limit that drops it.
    const std::string line = Line(Rmc);
    while (connections[1]->Socket()->bytesToWrite() < ClientConnection::UnsentLimit / 4) {
        QVERIFY(connections[0]->Send(line) && connections[1]->Send(line));
        QCoreApplication::processEvents();
        reader.readAll();
    }
    QTest::qWait(200);
    reader.readAll();
    for (const auto& connection : connections)
        connection->NoteDrain(0);
    QTest::qWait(100);
    reader.readAll();
    for (const auto& connection : connections)
        connection->NoteDrain(StallLimit.count());
    QCOMPARE(connections[0]->Standing(StallLimit.count()).StalledForMs, 0);
    QCOMPARE(connections[1]->Standing(StallLimit.count() + 1).StalledForMs, StallLimit.count() + 1);
    for (const auto& connection : connections)
        connection->Release();
}

// A page that stops reading (a phone put to sleep) is not sent more and more: once what it was
// sent stops going out, newer values replace those held back, and when it reads again the newest
// comes last, without the stale ones between.
void TestGpsdServer::pageThatStopsReadingGetsTheNewest()
{
    // Small buffers on both sides: what the systems hold for a sleeping phone is soon full.
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost));
    QTcpSocket phone;
    phone.setReadBufferSize(1024);
    phone.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    QVERIFY(listener.waitForNewConnection(IoTimeout));
    QTcpSocket* accepted = listener.nextPendingConnection();
    accepted->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
    phone.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    QWebSocketServer server(QStringLiteral("test"), QWebSocketServer::NonSecureMode);
    server.handleConnection(accepted);
    phone.write("GET /live HTTP/1.1\r\nHost: boat\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    QVERIFY(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, IoTimeout));
    WebPage page{std::unique_ptr<QWebSocket>(server.nextPendingConnection())};

    const QString filler(4000, QLatin1Char('x'));
    int sent = 0;
    const auto send = [&] { page.SendValues(QStringLiteral("%1 %2").arg(++sent).arg(filler), 0); };
    while (page.Standing(1).StalledForMs == 0 && sent < 10000) {
        send();
        QCoreApplication::processEvents();
    }
    QVERIFY(page.Standing(1).StalledForMs > 0);
    for (int more = 0; more < 1000; ++more)
        send();

    // Reading again: frames from the server are unmasked, their length in 7, 16 or 64 bits.
    phone.setReadBufferSize(0);
    QByteArray received;
    bool answered = false;
    QString last;
    int frames = 0;
    const auto readFrames = [&] {
        received += phone.readAll();
        if (!answered && received.contains("\r\n\r\n")) {
            received.remove(0, received.indexOf("\r\n\r\n") + 4);
            answered = true;
        }
        while (answered && received.size() >= 2) {
            const auto length7 = static_cast<quint8>(received[1]) & 0x7F;
            const int header = length7 == 126 ? 4 : length7 == 127 ? 10 : 2;
            if (received.size() < header)
                break;
            qsizetype length = length7 < 126 ? length7 : 0;
            for (int byte = 2; byte < header; ++byte)
                length = (length << 8) | static_cast<quint8>(received[byte]);
            if (header + length > received.size())
                break;
            last = QString::fromUtf8(received.mid(header, length)).section(QLatin1Char(' '), 0, 0);
            ++frames;
            received.remove(0, header + length);
        }
        return last == QString::number(sent);
    };
    QVERIFY(QTest::qWaitFor(readFrames, IoTimeout));
    QVERIFY2(frames < sent / 2, qPrintable(QStringLiteral("%1 of %2 sent").arg(frames).arg(sent)));
}

void TestGpsdServer::fixAgeText_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("seconds") << qint64{119} << "Last fix 119 s ago";
    QTest::newRow("minutes") << qint64{120} << "Last fix 2 min ago";
    QTest::newRow("last minute") << qint64{7199} << "Last fix 119 min ago";
    QTest::newRow("hours") << qint64{7200} << "Last fix 2 h ago";
}

void TestGpsdServer::fixAgeText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(FixAgeText(seconds), text);
}

// A device may pick any level, so the page is sent every level's colours: with "Red at dusk and
// night" those of Dusk and Night have no green or blue, and the brighter levels keep theirs.
void TestGpsdServer::pageIsRedOnlyWhereTheWindowsAre()
{
    const auto look = [](bool nightRed) {
        return QJsonDocument::fromJson(LookMessage("Dusk", nightRed).toUtf8()).object();
    };
    QCOMPARE(look(true).value(QStringLiteral("look")).toString(), QStringLiteral("Dusk"));
    const auto redOnly = [](const QJsonObject& palette) {
        QStringList colours;
        for (const QJsonValue& value : palette)
            if (value.isArray())
                for (const QJsonValue& signal : value.toArray())
                    colours << signal.toString();
            else
                colours << value.toString();
        return std::all_of(colours.begin(), colours.end(),
                           [](const QString& colour) { return colour.mid(3) == QStringLiteral("0000"); });
    };
    const QJsonObject red = look(true).value(QStringLiteral("levels")).toObject();
    const QJsonObject white = look(false).value(QStringLiteral("levels")).toObject();
    for (const char* mode : {"Daylight", "Shade", "Dusk", "Night"}) {
        const bool dark = QByteArray(mode) == "Dusk" || QByteArray(mode) == "Night";
        QCOMPARE(redOnly(red.value(QLatin1String(mode)).toObject()), dark);
        QVERIFY(!redOnly(white.value(QLatin1String(mode)).toObject()));
    }
}

QTEST_GUILESS_MAIN(TestGpsdServer)
#include "tst_gpsdserver.moc"
