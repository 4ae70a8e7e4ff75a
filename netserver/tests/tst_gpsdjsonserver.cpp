// The JSON protocol and several clients through real sockets on 127.0.0.1, fed by a real
// character intake the way the program's serial link feeds the server.
#include "GpsdServer.h"
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int IoTimeout = 10000;
const QString Device = QStringLiteral("/dev/ttyUSB0");

const std::string_view Gga = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string_view Gsa = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
const std::string_view Rmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W";
const std::string_view Gsv1 = "GPGSV,2,1,05,04,40,083,46,05,17,308,41,09,07,344,39,12,22,228,45";
const std::string_view Gsv2 = "GPGSV,2,2,05,24,61,120,50";

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

    // The classes of the complete JSON lines so far; "?" for a line that is no JSON object.
    QStringList Classes() const
    {
        QStringList classes;
        for (const QByteArray& line : Lines()) {
            const QJsonDocument document = QJsonDocument::fromJson(line);
            classes << (document.isObject() ? document.object().value("class").toString() : QString("?"));
        }
        return classes;
    }
    QList<QByteArray> Lines() const
    {
        QList<QByteArray> lines = QByteArray::fromStdString(Text).split('\n');
        lines.removeLast(); // the unfinished rest
        for (QByteArray& line : lines)
            line.chop(1); // CR
        return lines;
    }

    QTcpSocket Socket;
    std::string Text;
};

// Feeds sentences through a real intake and hands each line to the server as the serial link
// does; returns what the lines came to.
QList<LineResult> Feed(NmeaInput& input, GpsdServer& server, std::initializer_list<std::string> lines)
{
    QList<LineResult> results;
    for (const std::string& line : lines) {
        for (const char c : line + "\r\n") {
            if (const auto result = input.Intake(c)) {
                server.LineProcessed(*result, input.ValidLine());
                results << *result;
            }
        }
    }
    return results;
}

std::string Sentence(std::string_view body)
{
    return WithNmeaChecksum(body);
}

} // namespace

class TestGpsdJsonServer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void watcherGetsReportsAfterFixesAndSky();
    void nmeaWatcherGetsSentencesAsReceived();
    void pollAnswersInJson();
    void jsonAndLetterClientsSideBySide();
    void nonReaderIsDroppedOthersServed();

private:
    NavState Nav;
    std::unique_ptr<GpsdServer> Server;
    std::unique_ptr<NmeaInput> Input;
};

void TestGpsdJsonServer::init()
{
    Nav = NavState{};
    Nav.SetGpsdPlaceholders();
    Server = std::make_unique<GpsdServer>(Nav, 0, QHostAddress::LocalHost);
    Server->SetDevice(Device);
    Input = std::make_unique<NmeaInput>(Nav);
}

void TestGpsdJsonServer::cleanup()
{
    Input.reset();
    Server.reset();
}

void TestGpsdJsonServer::watcherGetsReportsAfterFixesAndSky()
{
    Server->CheckListener();
    Client watcher;
    QVERIFY(watcher.Connect(Server->Port()));
    watcher.Send(R"(?WATCH={"enable":true,"json":true};)");
    const QStringList greeting{"VERSION", "DEVICES", "WATCH"};
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), greeting, IoTimeout);
    const QJsonObject devices = QJsonDocument::fromJson(watcher.Lines()[1]).object();
    QCOMPARE(devices.value("devices").toArray()[0].toObject().value("path").toString(), Device);

    const auto results = Feed(*Input, *Server, {Sentence(Gga), Sentence(Gsa), Sentence(Gsv1), Sentence(Gsv2),
                                                Sentence(Rmc), "$GPGGA,garbled*00"});
    QStringList expected = greeting;
    for (const LineResult& result : results) {
        if (result.FixAccepted)
            expected << "TPV";
        if (result.SkyPublished)
            expected << "SKY";
    }
    QVERIFY(expected.count("TPV") == 2 && expected.count("SKY") >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes(), expected, IoTimeout);

    const QJsonObject tpv = QJsonDocument::fromJson(watcher.Lines().last()).object();
    QCOMPARE(tpv.value("class").toString(), "TPV");
    QCOMPARE(tpv.value("mode").toInt(), 3);
    QVERIFY(std::abs(tpv.value("lat").toDouble() - 48.1173) < 1e-5); // NavState keeps single precision
    QVERIFY(tpv.contains("speed") && !tpv.contains("eph") && !tpv.contains("climb"));
}

void TestGpsdJsonServer::nmeaWatcherGetsSentencesAsReceived()
{
    Server->CheckListener();
    Client watcher;
    QVERIFY(watcher.Connect(Server->Port()));
    watcher.Send(R"(?WATCH={"enable":true,"nmea":true})" "\n");
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().size(), 3, IoTimeout);
    // Only lines with a valid checksum go out, whether this program knows their type or not.
    const std::string unknownType = Sentence("PGRME,15.0,M,45.0,M,25.0,M");
    Feed(*Input, *Server, {Sentence(Gga), "$GPGGA,garbled*00", unknownType, Sentence(Rmc)});
    const std::string expected = Sentence(Gga) + "\r\n" + unknownType + "\r\n" + Sentence(Rmc) + "\r\n";
    QTRY_VERIFY_WITH_TIMEOUT(watcher.Text.size() >= expected.size() && watcher.Text.ends_with(expected), IoTimeout);
    QCOMPARE(watcher.Classes(), (QStringList{"VERSION", "DEVICES", "WATCH", "?", "?", "?"}));
}

void TestGpsdJsonServer::pollAnswersInJson()
{
    Feed(*Input, *Server, {Sentence(Gga), Sentence(Gsa), Sentence(Rmc)});
    Server->CheckListener();
    Client poller;
    QVERIFY(poller.Connect(Server->Port()));
    poller.Send("?POLL;");
    QTRY_COMPARE_WITH_TIMEOUT(poller.Classes(), (QStringList{"VERSION", "POLL"}), IoTimeout);
    const QJsonObject poll = QJsonDocument::fromJson(poller.Lines()[1]).object();
    QCOMPARE(poll.value("active").toInt(), 1);
    QCOMPARE(poll.value("tpv").toArray()[0].toObject().value("mode").toInt(), 3);
    QCOMPARE(poll.value("tpv").toArray()[0].toObject().value("time").toString(), "2024-03-23T12:35:19.000Z");
}

void TestGpsdJsonServer::jsonAndLetterClientsSideBySide()
{
    Feed(*Input, *Server, {Sentence(Rmc)});
    Server->SetMaxClients(2);
    Server->CheckListener();
    Client json;
    QVERIFY(json.Connect(Server->Port()));
    QTRY_COMPARE_WITH_TIMEOUT(Server->ClientCount(), 1, IoTimeout);
    QVERIFY(Server->IsListening()); // room for one more
    Client letters;
    QVERIFY(letters.Connect(Server->Port()));
    QTRY_COMPARE_WITH_TIMEOUT(Server->ClientCount(), 2, IoTimeout);
    QVERIFY(!Server->IsListening());

    QTcpSocket third;
    QSignalSpy refused(&third, &QTcpSocket::errorOccurred);
    third.connectToHost(QHostAddress::LocalHost, Server->Port());
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, IoTimeout);

    json.Send(R"(?WATCH={"enable":true,"json":true};)");
    letters.Send("l");
    QTRY_COMPARE_WITH_TIMEOUT(json.Classes(), (QStringList{"VERSION", "DEVICES", "WATCH"}), IoTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(letters.Text, std::string("GPSD,L=2 2 LO"), IoTimeout);
    Feed(*Input, *Server, {Sentence(Rmc)});
    QTRY_COMPARE_WITH_TIMEOUT(json.Classes().size(), 4, IoTimeout);
    letters.Send("L");
    QTRY_COMPARE_WITH_TIMEOUT(letters.Text, std::string("GPSD,L=2 2 LOGPSD,L=2 2 LO"), IoTimeout);

    // One leaves: the next watchdog tick makes room for another.
    letters.Socket.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(Server->ClientCount(), 1, IoTimeout);
    Server->CheckListener();
    QVERIFY(Server->IsListening());
}

void TestGpsdJsonServer::nonReaderIsDroppedOthersServed()
{
    Feed(*Input, *Server, {Sentence(Gga), Sentence(Gsa), Sentence(Rmc)});
    Server->SetMaxClients(3);
    Server->CheckListener();
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
    watcher.Send(R"(?WATCH={"enable":true,"json":true};)");
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().size(), 3, IoTimeout);

    // Each ?POLL; asks for about a kilobyte: megabytes of answers that are never read.
    flooder.write(R"(?WATCH={"enable":true,"json":true,"nmea":true};)");
    QByteArray polls;
    for (int i = 0; i < 20000; ++i)
        polls += "?POLL;";
    flooder.write(polls);
    int fixes = 0;
    const bool dropped = QTest::qWaitFor([&] {
        Feed(*Input, *Server, {Sentence(Rmc)});
        ++fixes;
        return Server->ClientCount() == 2;
    }, 4 * IoTimeout);
    QVERIFY(dropped);

    // The others were served all along and still are.
    QTRY_COMPARE_WITH_TIMEOUT(watcher.Classes().count("TPV"), fixes, IoTimeout);
    letters.Send("o");
    QTRY_VERIFY_WITH_TIMEOUT(letters.Text.starts_with("GPSD,O=RMC ") && letters.Text.ends_with("\r\n"), IoTimeout);
}

QTEST_GUILESS_MAIN(TestGpsdJsonServer)
#include "tst_gpsdjsonserver.moc"
