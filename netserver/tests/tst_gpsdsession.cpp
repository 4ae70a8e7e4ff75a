// One client's conversation without sockets: which protocol it speaks, the command framing, the
// JSON commands and what malformed or endless input gets, what its watch asks for; and the JSON
// text itself, written and parsed.
#include "GpsdReply.h"
#include "GpsdSession.h"
#include "JsonLines.h"
#include "JsonObjectParser.h"
#include "JsonWriter.h"
#include "Received.h"
#include "TpvEstimates.h"

#include <QJsonDocument>
#include <QTest>

#include <limits>

namespace {

const TpvReport NoFix;
const GpsdDevice Device{"/dev/gps", 0, true, {}, {}};

} // namespace

class TestGpsdSession : public QObject {
    Q_OBJECT

private slots:
    void letters_data();
    void letters();
    void jsonCommands_data();
    void jsonCommands();
    void watch_data();
    void watch();
    void writerEscapesStrings_data();
    void writerEscapesStrings();
    void numbers_data();
    void numbers();
    void parser_data();
    void parser();
};

void TestGpsdSession::letters_data()
{
    const QString level = QString::fromLatin1(GpsdLevelReply.data(), GpsdLevelReply.size());
    NavState nav = Received();
    const QString position = QString::fromStdString(PositionReply(nav));
    QTest::addColumn<bool>("fix");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("replies");
    QTest::newRow("O CR LF") << true << QByteArray("O\r\n") << position;
    QTest::newRow("blanks first") << true << QByteArray("\r\n  oL") << position + level;
    QTest::newRow("every o answered in order") << true << QByteArray("olo") << position + level + position;
    QTest::newRow("question mark later") << true << QByteArray("o?POLL;l") << position + position + level + level + level;
    QTest::newRow("no fix") << false << QByteArray("o") << "GPSD,O=?";
    QTest::newRow("level without fix") << false << QByteArray("Ll") << level + level;
    QTest::newRow("unknown characters") << true << QByteArray("xyz;{}\x01") << "";
}

void TestGpsdSession::letters()
{
    QFETCH(bool, fix);
    QFETCH(QByteArray, received);
    QFETCH(QString, replies);
    NavState nav = Received();
    nav.FixValid = fix;
    GpsdSession session(nav, Device, NoFix, "9.9");
    std::string out;
    session.Receive(received.toStdString(), 0, out);
    QCOMPARE(out, replies.toStdString());
    // The greeting after a silence never comes once a letter has been received.
    session.Greet(out);
    QCOMPARE(out, replies.toStdString());
    QCOMPARE(session.Speaks(), GpsdSession::Protocol::Letters);
}

void TestGpsdSession::jsonCommands_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QStringList>("classes");
    const QStringList v{"VERSION"};
    const QStringList error = v + QStringList{"ERROR"};
    const QStringList watching = v + QStringList{"DEVICES", "WATCH"};
    QTest::newRow("?VERSION;") << QByteArray("?VERSION;") << v + QStringList{"VERSION"};
    QTest::newRow("?DEVICES;") << QByteArray("?DEVICES;") << v + QStringList{"DEVICES"};
    QTest::newRow("?DEVICE;") << QByteArray("?DEVICE;") << v + QStringList{"DEVICE"};
    QTest::newRow("?WATCH;") << QByteArray("?WATCH;") << watching;
    QTest::newRow("?WATCH={...};") << QByteArray(R"(?WATCH={"enable":true,"json":true};)") << watching;
    QTest::newRow("without semicolon") << QByteArray(R"(?WATCH={"enable":true})") << watching;
    QTest::newRow("?POLL;") << QByteArray("?POLL;") << v + QStringList{"POLL"};
    QTest::newRow("several on one line") << QByteArray("?VERSION;?POLL;\r\n") << v + QStringList{"VERSION", "POLL"};
    QTest::newRow("line ends and blanks") << QByteArray("\r\n ?VERSION\r\n;; ?DEVICES\n") << v + QStringList{"VERSION", "DEVICES"};
    QTest::newRow("an argument ends the command")
        << QByteArray(R"(?WATCH={"a":{"b":1}}?POLL;)") << watching + QStringList{"POLL"};
    QTest::newRow("; and } inside a string") << QByteArray(R"(?WATCH={"device":"a;b}"};)") << error;
    QTest::newRow("escaped quote") << QByteArray(R"(?WATCH={"device":"a\";"};)") << error;
    QTest::newRow("not yet ended") << QByteArray("?POLL") << v;
    QTest::newRow("unfinished argument") << QByteArray("?WATCH={") << v;
    QTest::newRow("unfinished then ended") << QByteArray("?WATCH={\n") << error;
    QTest::newRow("misspelt true") << QByteArray(R"(?WATCH={"enable":tru};)") << error;
    QTest::newRow("wrong type") << QByteArray(R"(?WATCH={"json":1};)") << error;
    QTest::newRow("unknown command") << QByteArray("?NOSUCH;") << error;
    QTest::newRow("lower case") << QByteArray("?version;") << error;
    QTest::newRow("bad argument of POLL") << QByteArray("?POLL={x};") << error;
    QTest::newRow("letters in JSON mode") << QByteArray("?VERSION;o\n") << v + QStringList{"VERSION", "ERROR"};
    QTest::newRow("control characters") << QByteArray("?\x01\x02\xff;", 5) << error;
    QTest::newRow("?DEVICE= this device") << QByteArray(R"(?DEVICE={"class":"DEVICE","path":"/dev/gps"};)")
                                           << v + QStringList{"DEVICE"};
    QTest::newRow("?DEVICE= another device") << QByteArray(R"(?DEVICE={"path":"/dev/ttyS0"};)") << error;
    QTest::newRow("?DEVICE= a new speed") << QByteArray(R"(?DEVICE={"path":"/dev/gps","bps":9600};)") << error;
    QTest::newRow("?WATCH= this device") << QByteArray(R"(?WATCH={"device":"/dev/gps"};)") << watching;
    QTest::newRow("?WATCH= another device") << QByteArray(R"(?WATCH={"device":"/dev/ttyS0"};)") << error;
    QTest::newRow("invalid UTF-8") << QByteArray("?WATCH={\"device\":\"\xff\"};") << error;
    // One error for the whole endless command, however long it goes on, and then the next one.
    QTest::newRow("100 KiB of garbage") << QByteArray("?" + QByteArray(100 * 1024, 'g') + "\n?POLL;")
                                        << error + QStringList{"POLL"};
}

void TestGpsdSession::jsonCommands()
{
    QFETCH(QByteArray, received);
    QFETCH(QStringList, classes);
    NavState nav = Received();
    GpsdSession session(nav, Device, NoFix, "9.9");
    std::string out;
    // Greeted after a silence or not, a client gets one VERSION before its first answer.
    if (QTest::currentDataTag()[0] == '?')
        session.Greet(out);
    session.Receive(received.toStdString(), 0, out);
    QCOMPARE(Classes(out), classes);
    QVERIFY(out.ends_with("\r\n"));
    QCOMPARE(session.Speaks(), GpsdSession::Protocol::Json);
}

void TestGpsdSession::watch_data()
{
    QTest::addColumn<QByteArray>("commands");
    QTest::addColumn<bool>("reports");
    QTest::addColumn<bool>("sentences");
    QTest::newRow("json") << QByteArray(R"(?WATCH={"enable":true,"json":true};)") << true << false;
    QTest::newRow("nmea") << QByteArray(R"(?WATCH={"enable":true,"nmea":true};)") << false << true;
    QTest::newRow("raw") << QByteArray(R"(?WATCH={"enable":true,"raw":1};)") << false << true;
    QTest::newRow("enable alone means json") << QByteArray(R"(?WATCH={"enable":true};)") << true << false;
    QTest::newRow("enable is the default") << QByteArray(R"(?WATCH={"json":true,"nmea":true};)") << true << true;
    QTest::newRow("disable") << QByteArray(R"(?WATCH={"enable":false,"json":true};)") << false << false;
    QTest::newRow("unknown members ignored") << QByteArray(R"(?WATCH={"class":"WATCH","json":true,"x":[1]};)") << true << false;
    QTest::newRow("wrong type") << QByteArray(R"(?WATCH={"enable":"yes"};)") << false << false;
    QTest::newRow("raw out of range") << QByteArray(R"(?WATCH={"raw":1e99};)") << false << false;
    const QByteArray nmea = R"(?WATCH={"enable":true,"nmea":true};)";
    QTest::newRow("a refused change leaves it") << nmea + R"(?WATCH={"enable":false,"json":"x"};)" << false << true;
    QTest::newRow("then off") << nmea + R"(?WATCH={"enable":false};)" << false << false;
}

void TestGpsdSession::watch()
{
    QFETCH(QByteArray, commands);
    QFETCH(bool, reports);
    QFETCH(bool, sentences);
    NavState nav = Received();
    GpsdSession session(nav, Device, NoFix, "9.9");
    std::string out;
    session.Receive(commands.toStdString(), 0, out);
    QCOMPARE(session.Watch().WantsReports(), reports);
    QCOMPARE(session.Watch().WantsSentences(), sentences);
}

void TestGpsdSession::writerEscapesStrings_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("quote, backslash, controls") << QByteArray("a\"b\\c\nd\re\tf\x01\x1f/")
                                               << QByteArray(R"("a\"b\\c\nd\re\tf\u0001\u001f/")");
    QTest::newRow("UTF-8 kept") << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\xa2") << QByteArray("\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\xa2\"");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray(R"("a\u0000b")");
    QTest::newRow("bytes that are not UTF-8") << QByteArray("\xff\xfex") << QByteArray(R"("\ufffd\ufffdx")");
    QTest::newRow("cut short") << QByteArray("\xe2\x82") << QByteArray(R"("\ufffd\ufffd")");
    QTest::newRow("overlong slash") << QByteArray("\xe0\x80\xaf") << QByteArray(R"("\ufffd\ufffd\ufffd")");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QByteArray(R"("\ufffd\ufffd\ufffd")");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QByteArray(R"("\ufffd\ufffd\ufffd\ufffd")");
}

void TestGpsdSession::writerEscapesStrings()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, json);
    std::string out;
    AppendJsonString(out, text.toStdString());
    QCOMPARE(QByteArray::fromStdString(out), json);
    QJsonParseError error{};
    QJsonDocument::fromJson("[" + json + "]", &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
}

void TestGpsdSession::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected"); // empty: the field is left out
    QTest::newRow("trailing zeros go") << 48.1173 << 9 << "48.1173";
    QTest::newRow("whole") << 2.0 << 3 << "2";
    QTest::newRow("rounded") << 11.5166666667 << 6 << "11.516667";
    QTest::newRow("negative") << -122.25 << 4 << "-122.25";
    QTest::newRow("no minus on zero") << -0.0001 << 3 << "0";
    QTest::newRow("no decimals") << 12.6 << 0 << "13";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 3 << "";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 3 << "";
    QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity() << 3 << "";
}

void TestGpsdSession::numbers()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.NumberField("n", value, decimals);
    json.IntegerField("after", 1);
    json.EndObject();
    const std::string field = expected.isEmpty() ? "" : R"("n":)" + expected.toStdString() + ",";
    QCOMPARE(out, "{" + field + R"("after":1})");
}

void TestGpsdSession::parser_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("members"); // -1: rejected
    QTest::newRow("empty object") << QByteArray("{}") << 0;
    QTest::newRow("blanks around") << QByteArray(" \t{ \"a\" : true }\r\n") << 1;
    QTest::newRow("every scalar and escape") << QByteArray(R"({"s":"x\"\\\/\b\f\n\r\t\u0041","n":-1.5e2,"t":true,"f":false,"z":null})") << 5;
    QTest::newRow("nested skipped") << QByteArray(R"({"o":{"p":[1,{"q":[]}]},"a":1})") << 2;
    QTest::newRow("unfinished") << QByteArray("{") << -1;
    QTest::newRow("trailing comma") << QByteArray(R"({"a":1,})") << -1;
    QTest::newRow("text after") << QByteArray(R"({"a":1}x)") << -1;
    QTest::newRow("two objects") << QByteArray(R"({}{})") << -1;
    QTest::newRow("unquoted name") << QByteArray(R"({a:1})") << -1;
    QTest::newRow("bare word") << QByteArray(R"({"a":yes})") << -1;
    QTest::newRow("nan") << QByteArray(R"({"a":nan})") << -1;
    QTest::newRow("control in string") << QByteArray("{\"a\":\"x\ny\"}") << -1;
    QTest::newRow("bad escape") << QByteArray(R"({"a":"\q"})") << -1;
    QTest::newRow("short unicode escape") << QByteArray(R"({"a":"\u00"})") << -1;
    QTest::newRow("UTF-8 string") << QByteArray("{\"a\":\"\xc3\xa9\"}") << 1;
    QTest::newRow("string not UTF-8") << QByteArray("{\"a\":\"\xff\"}") << -1;
    QTest::newRow("escape just past ASCII") << QByteArray(R"({"a":"\u0080"})") << -1;
    QTest::newRow("lone surrogate escape") << QByteArray(R"({"a":"\ud800"})") << -1;
    QTest::newRow("NUL escape") << QByteArray(R"({"a":"\u0000"})") << -1;
    QTest::newRow("not an object") << QByteArray("[1]") << -1;
    QTest::newRow("arrays as deep as a command may go") << QByteArray(R"({"a":[[[[[[[[1]]]]]]]]})") << 1;
    QTest::newRow("an object as deep as a command may go") << QByteArray(R"({"a":[[[[[[[{"b":1}]]]]]]]})") << 1;
    QTest::newRow("too deep") << QByteArray(R"({"a":[[[[[[[[[[[[1]]]]]]]]]]]]})") << -1;
    QTest::newRow("deep and unfinished") << QByteArray("{\"a\":" + QByteArray(900, '[')) << -1;
}

void TestGpsdSession::parser()
{
    QFETCH(QByteArray, text);
    QFETCH(int, members);
    const auto parsed = ParseJsonObject(text.toStdString());
    QCOMPARE(parsed ? static_cast<int>(parsed->size()) : -1, members);
}

QTEST_GUILESS_MAIN(TestGpsdSession)
#include "tst_gpsdsession.moc"
