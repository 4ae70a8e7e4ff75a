// The GPSD server through real sockets on 127.0.0.1.
#include "GpsdReply.h"
#include "GpsdServer.h"
#include "NavState.h"
#include "NavWithFix.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int IoTimeout = 10000;


bool Connect(QTcpSocket& client, quint16 port)
{
    client.connectToHost(QHostAddress::LocalHost, port);
    return client.waitForConnected(IoTimeout);
}

// Everything the client receives, gathered as it arrives.
class Received {
public:
    explicit Received(QTcpSocket& client)
    {
        QObject::connect(&client, &QTcpSocket::readyRead, &client,
                         [this, &client] { Text += client.readAll().toStdString(); });
    }
    std::string Text;
};

} // namespace

class TestGpsdServer : public QObject {
    Q_OBJECT

private slots:
    void repliesInCommandOrder_data();
    void repliesInCommandOrder();
    void secondClientWaitsForTheFirst();
    void takenPortIsRetriedOnEachCheck();
    void clientThatNeverReadsIsDropped();
};

void TestGpsdServer::repliesInCommandOrder_data()
{
    QTest::addColumn<bool>("fix");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("expected"); // "P" a position reply, "L" the level, "?" no fix
    QTest::newRow("O CR LF") << true << QByteArray("O\r\n") << "P";
    QTest::newRow("no fix") << false << QByteArray("o") << "?";
    QTest::newRow("many commands in one packet") << true << QByteArray("oLxlO") << "PLLP";
}

void TestGpsdServer::repliesInCommandOrder()
{
    QFETCH(bool, fix);
    QFETCH(QByteArray, sent);
    QFETCH(QString, expected);
    NavState nav = NavWithFix();
    nav.FixValid = fix;
    NavState replyNav = nav;
    std::string replies;
    for (QChar kind : expected) {
        replies += kind == u'P'   ? PositionReply(replyNav)
                   : kind == u'L' ? std::string(GpsdLevelReply)
                                  : std::string(GpsdNoFixReply);
    }

    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    server.CheckListener();
    QVERIFY(server.IsListening());
    QTcpSocket client;
    Received received(client);
    QVERIFY(Connect(client, server.Port()));
    // A trailing "l" shows that nothing else was sent before it.
    client.write(sent + "l");
    replies += GpsdLevelReply;
    QTRY_COMPARE_WITH_TIMEOUT(received.Text.size(), replies.size(), IoTimeout);
    QCOMPARE(received.Text, replies);
}

void TestGpsdServer::secondClientWaitsForTheFirst()
{
    NavState nav = NavWithFix();
    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    server.CheckListener();
    const quint16 port = server.Port();

    QTcpSocket first;
    QVERIFY(Connect(first, port));
    QTRY_VERIFY_WITH_TIMEOUT(server.HasClient(), IoTimeout);
    server.CheckListener(); // a watchdog tick while the client is there changes nothing
    QVERIFY(!server.IsListening());

    QTcpSocket second;
    QSignalSpy refused(&second, &QTcpSocket::errorOccurred);
    second.connectToHost(QHostAddress::LocalHost, port);
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, IoTimeout);
    QCOMPARE(second.error(), QAbstractSocket::ConnectionRefusedError);

    first.disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(!server.HasClient(), IoTimeout);
    server.CheckListener();
    QVERIFY(server.IsListening());
    QCOMPARE(server.Port(), port);

    QTcpSocket third;
    Received received(third);
    QVERIFY(Connect(third, port));
    third.write("l");
    QTRY_COMPARE_WITH_TIMEOUT(received.Text, std::string(GpsdLevelReply), IoTimeout);
}

void TestGpsdServer::takenPortIsRetriedOnEachCheck()
{
    QTcpServer otherProgram;
    QVERIFY(otherProgram.listen(QHostAddress::LocalHost, 0));
    NavState nav = NavWithFix();
    GpsdServer server(nav, otherProgram.serverPort(), QHostAddress::LocalHost);
    server.CheckListener();
    server.CheckListener();
    QVERIFY(!server.IsListening());

    otherProgram.close();
    server.CheckListener();
    QVERIFY(server.IsListening());
    QTcpSocket client;
    Received received(client);
    QVERIFY(Connect(client, server.Port()));
    client.write("L");
    QTRY_COMPARE_WITH_TIMEOUT(received.Text, std::string(GpsdLevelReply), IoTimeout);
}

void TestGpsdServer::clientThatNeverReadsIsDropped()
{
    NavState nav = NavWithFix();
    GpsdServer server(nav, 0, QHostAddress::LocalHost);
    server.CheckListener();

    QTcpSocket flooder;
    // Our side of the test must not read either: stop taking data off the wire at 1 KiB.
    flooder.setReadBufferSize(1024);
    QVERIFY(Connect(flooder, server.Port()));
    QTRY_VERIFY_WITH_TIMEOUT(server.HasClient(), IoTimeout);
    // 8 MiB of commands would be about 700 MiB of replies.
    flooder.write(QByteArray(8 * 1024 * 1024, 'o'));
    QTRY_VERIFY_WITH_TIMEOUT(!server.HasClient(), 4 * IoTimeout);

    // The next watchdog tick serves the next plotter.
    server.CheckListener();
    QTcpSocket next;
    Received received(next);
    QVERIFY(Connect(next, server.Port()));
    next.write("O");
    QTRY_COMPARE_WITH_TIMEOUT(received.Text, PositionReply(nav), IoTimeout);
}

QTEST_GUILESS_MAIN(TestGpsdServer)
#include "tst_gpsdserver.moc"
