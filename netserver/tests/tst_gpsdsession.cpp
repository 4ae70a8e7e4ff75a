// One client's conversation without sockets: which protocol it speaks, the JSON commands, and
// what malformed or endless input gets.
#include "FixEpoch.h"
#include "GpsdReply.h"
#include "GpsdSession.h"
#include "NavState.h"
#include "NavWithFix.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// The classes of the JSON lines in text, in order; "?" for a line that is not one JSON object
// ending in CR LF.
QStringList Classes(const std::string& text)
{
    QStringList classes;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            classes << "?";
            break;
        }
        const QJsonDocument line = QJsonDocument::fromJson(QByteArray::fromStdString(text.substr(start, end - start)));
        classes << (line.isObject() ? line.object().value("class").toString() : QString("?"));
        start = end + 2;
    }
    return classes;
}

const FixEpoch NoFix;

} // namespace

class TestGpsdSession : public QObject {
    Q_OBJECT

private slots:
    void lettersAnsweredAsBefore_data();
    void lettersAnsweredAsBefore();
    void jsonCommands_data();
    void jsonCommands();
    void watchIsPerSession();
    void endlessCommandKeepsMemoryBounded();
};

void TestGpsdSession::lettersAnsweredAsBefore_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::newRow("O CR LF") << QByteArray("O\r\n");
    QTest::newRow("blanks first") << QByteArray("\r\n  oL");
    QTest::newRow("question mark later") << QByteArray("o?POLL;l");
    QTest::newRow("unknown characters") << QByteArray("xyz;{}");
}

void TestGpsdSession::lettersAnsweredAsBefore()
{
    QFETCH(QByteArray, received);
    NavState nav = NavWithFix();
    NavState expectedNav = nav;
    std::string expected;
    for (const char c : received)
        expected += GpsdAnswer(c, expectedNav);
    GpsdDevice device{"/dev/gps", 0, true};
    GpsdSession session(nav, device, NoFix, "9.9");
    std::string out;
    session.Receive(received.toStdString(), 0, out);
    QCOMPARE(out, expected);
    // The greeting after a silence never comes once a letter has been answered.
    session.Greet(out);
    const bool silent = received.trimmed().isEmpty();
    QCOMPARE(Classes(out.substr(expected.size())), silent ? QStringList{"VERSION"} : QStringList{});
    QCOMPARE(session.Speaks(), silent ? GpsdSession::Protocol::Undecided : GpsdSession::Protocol::Letters);
}

void TestGpsdSession::jsonCommands_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QStringList>("classes");
    const QStringList v{"VERSION"};
    const QStringList error = v + QStringList{"ERROR"};
    QTest::newRow("?VERSION;") << QByteArray("?VERSION;") << v + QStringList{"VERSION"};
    QTest::newRow("?DEVICES;") << QByteArray("?DEVICES;") << v + QStringList{"DEVICES"};
    QTest::newRow("?DEVICE;") << QByteArray("?DEVICE;") << v + QStringList{"DEVICE"};
    QTest::newRow("?WATCH;") << QByteArray("?WATCH;") << v + QStringList{"WATCH"};
    QTest::newRow("?WATCH={...};") << QByteArray(R"(?WATCH={"enable":true,"json":true};)")
                                   << v + QStringList{"DEVICES", "WATCH"};
    QTest::newRow("without semicolon") << QByteArray(R"(?WATCH={"enable":true})")
                                       << v + QStringList{"DEVICES", "WATCH"};
    QTest::newRow("?POLL;") << QByteArray("?POLL;") << v + QStringList{"POLL"};
    QTest::newRow("several on one line") << QByteArray("?VERSION;?POLL;\r\n") << v + QStringList{"VERSION", "POLL"};
    QTest::newRow("unfinished argument") << QByteArray("?WATCH={") << v;
    QTest::newRow("unfinished then ended") << QByteArray("?WATCH={\n") << v + QStringList{"ERROR"};
    QTest::newRow("misspelt true") << QByteArray(R"(?WATCH={"enable":tru};)") << v + QStringList{"ERROR"};
    QTest::newRow("wrong type") << QByteArray(R"(?WATCH={"json":1};)") << v + QStringList{"ERROR"};
    QTest::newRow("unknown command") << QByteArray("?NOSUCH;") << v + QStringList{"ERROR"};
    QTest::newRow("lower case") << QByteArray("?version;") << v + QStringList{"ERROR"};
    QTest::newRow("bad argument of POLL") << QByteArray("?POLL={x};") << v + QStringList{"ERROR"};
    QTest::newRow("letters in JSON mode") << QByteArray("?VERSION;o\n") << v + QStringList{"VERSION", "ERROR"};
    QTest::newRow("control characters") << QByteArray("?\x01\x02\xff;", 5) << v + QStringList{"ERROR"};
    QTest::newRow("?DEVICE= this device") << QByteArray(R"(?DEVICE={"class":"DEVICE","path":"/dev/gps"};)")
                                           << v + QStringList{"DEVICE"};
    QTest::newRow("?DEVICE= another device") << QByteArray(R"(?DEVICE={"path":"/dev/ttyS0"};)") << error;
    QTest::newRow("?DEVICE= a new speed") << QByteArray(R"(?DEVICE={"path":"/dev/gps","bps":9600};)") << error;
    QTest::newRow("?WATCH= this device") << QByteArray(R"(?WATCH={"device":"/dev/gps"};)")
                                          << v + QStringList{"DEVICES", "WATCH"};
    QTest::newRow("?WATCH= another device") << QByteArray(R"(?WATCH={"device":"/dev/ttyS0"};)") << error;
    QTest::newRow("invalid UTF-8") << QByteArray("?WATCH={\"device\":\"\xff\"};") << error;
    QTest::newRow("100 KiB of garbage") << QByteArray("?" + QByteArray(100 * 1024, 'g') + "\n?POLL;")
                                        << v + QStringList{"ERROR", "POLL"};
}

void TestGpsdSession::jsonCommands()
{
    QFETCH(QByteArray, received);
    QFETCH(QStringList, classes);
    NavState nav = NavWithFix();
    GpsdDevice device{"/dev/gps", 0, true};
    GpsdSession session(nav, device, NoFix, "9.9");
    std::string out;
    // Greeted after a silence or not, a client gets one VERSION before its first answer.
    if (QTest::currentDataTag()[0] == '?')
        session.Greet(out);
    session.Receive(received.toStdString(), 0, out);
    QCOMPARE(Classes(out), classes);
    QCOMPARE(session.Speaks(), GpsdSession::Protocol::Json);
}

void TestGpsdSession::watchIsPerSession()
{
    NavState nav = NavWithFix();
    GpsdDevice device;
    GpsdSession watching(nav, device, NoFix, "9.9");
    GpsdSession other(nav, device, NoFix, "9.9");
    std::string out;
    watching.Receive(R"(?WATCH={"enable":true,"nmea":true};)", 0, out);
    other.Receive("?VERSION;", 0, out);
    QVERIFY(watching.Watch().WantsSentences());
    QVERIFY(!watching.Watch().WantsReports());
    QVERIFY(!other.Watch().Enable);
    // A refused change leaves the watch as it was.
    watching.Receive(R"(?WATCH={"enable":false,"json":"x"};)", 0, out);
    QVERIFY(watching.Watch().WantsSentences());
    watching.Receive(R"(?WATCH={"enable":false};)", 0, out);
    QVERIFY(!watching.Watch().WantsSentences());
}

void TestGpsdSession::endlessCommandKeepsMemoryBounded()
{
    NavState nav = NavWithFix();
    GpsdDevice device;
    GpsdSession session(nav, device, NoFix, "9.9");
    std::string out;
    session.Receive("?WATCH={\"device\":\"", 0, out);
    const std::string megabyte(1024 * 1024, 'a');
    session.Receive(megabyte, 0, out);
    session.Receive(megabyte, 0, out);
    // One error for the whole endless command, nothing more, however long it goes on.
    QCOMPARE(Classes(out), (QStringList{"VERSION", "ERROR"}));
    out.clear();
    session.Receive("\n?VERSION;", 0, out);
    QCOMPARE(Classes(out), QStringList{"VERSION"});
}

QTEST_GUILESS_MAIN(TestGpsdSession)
#include "tst_gpsdsession.moc"
