// The JSON text of the protocol: the writer, the command argument parser and the command framing.
#include "GpsdCommand.h"
#include "JsonObjectParser.h"
#include "JsonWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <limits>

class TestJsonText : public QObject {
    Q_OBJECT

private slots:
    void writerEscapesStrings_data();
    void writerEscapesStrings();
    void numbers_data();
    void numbers();
    void parser_data();
    void parser();
    void watchArgument_data();
    void watchArgument();
    void framing_data();
    void framing();
};

void TestJsonText::writerEscapesStrings_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("quote, backslash, controls") << QByteArray("a\"b\\c\nd\re\tf\x01\x1f/")
                                               << QByteArray(R"("a\"b\\c\nd\re\tf\u0001\u001f/")");
    QTest::newRow("UTF-8 kept") << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\xa2") << QByteArray("\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\xa2\"");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray(R"("a\u0000b")");
    QTest::newRow("bytes that are not UTF-8") << QByteArray("\xff\xfex") << QByteArray(R"("\ufffd\ufffdx")");
    QTest::newRow("cut short") << QByteArray("\xe2\x82") << QByteArray(R"("\ufffd\ufffd")");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QByteArray(R"("\ufffd\ufffd")");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QByteArray(R"("\ufffd\ufffd\ufffd")");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QByteArray(R"("\ufffd\ufffd\ufffd\ufffd")");
}

void TestJsonText::writerEscapesStrings()
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

void TestJsonText::numbers_data()
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

void TestJsonText::numbers()
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

void TestJsonText::parser_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("members"); // -1: rejected
    QTest::newRow("empty object") << QByteArray("{}") << 0;
    QTest::newRow("blanks around") << QByteArray(" \t{ \"a\" : true }\r\n") << 1;
    QTest::newRow("every scalar") << QByteArray(R"({"s":"x\"\u0041","n":-1.5e2,"t":true,"f":false,"z":null})") << 5;
    QTest::newRow("nested skipped") << QByteArray(R"({"o":{"p":[1,{"q":[]}]},"a":1})") << 2;
    QTest::newRow("unfinished") << QByteArray("{") << -1;
    QTest::newRow("misspelt true") << QByteArray(R"({"enable":tru})") << -1;
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
    QTest::newRow("lone surrogate escape") << QByteArray(R"({"a":"\ud800"})") << -1;
    QTest::newRow("NUL escape") << QByteArray(R"({"a":"\u0000"})") << -1;
    QTest::newRow("not an object") << QByteArray("[1]") << -1;
    QTest::newRow("too deep") << QByteArray(R"({"a":[[[[[[[[[[[[1]]]]]]]]]]]]})") << -1;
    QTest::newRow("deep and unfinished") << QByteArray("{\"a\":" + QByteArray(900, '[')) << -1;
}

void TestJsonText::parser()
{
    QFETCH(QByteArray, text);
    QFETCH(int, members);
    const auto parsed = ParseJsonObject(text.toStdString());
    QCOMPARE(parsed ? static_cast<int>(parsed->size()) : -1, members);
}

void TestJsonText::watchArgument_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("reports");
    QTest::addColumn<bool>("sentences");
    QTest::newRow("json") << QByteArray(R"({"enable":true,"json":true})") << true << true << false;
    QTest::newRow("nmea") << QByteArray(R"({"enable":true,"nmea":true})") << true << false << true;
    QTest::newRow("raw") << QByteArray(R"({"enable":true,"raw":1})") << true << false << true;
    QTest::newRow("enable alone means json") << QByteArray(R"({"enable":true})") << true << true << false;
    QTest::newRow("enable is the default") << QByteArray(R"({"json":true,"nmea":true})") << true << true << true;
    QTest::newRow("disable") << QByteArray(R"({"enable":false,"json":true})") << true << false << false;
    QTest::newRow("unknown members ignored") << QByteArray(R"({"class":"WATCH","json":true,"x":[1]})") << true << true << false;
    QTest::newRow("wrong type") << QByteArray(R"({"enable":"yes"})") << false << false << false;
    QTest::newRow("raw out of range") << QByteArray(R"({"raw":1e99})") << false << false << false;
    QTest::newRow("malformed") << QByteArray(R"({"enable":tru})") << false << false << false;
}

void TestJsonText::watchArgument()
{
    QFETCH(QByteArray, argument);
    QFETCH(bool, accepted);
    QFETCH(bool, reports);
    QFETCH(bool, sentences);
    WatchPolicy watch;
    const auto error = ApplyWatch(argument.toStdString(), watch);
    QCOMPARE(!error.has_value(), accepted);
    QCOMPARE(watch.WantsReports(), reports);
    QCOMPARE(watch.WantsSentences(), sentences);
}

void TestJsonText::framing_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("two commands") << QByteArray("?VERSION;?POLL;") << QStringList{"?VERSION", "?POLL"};
    QTest::newRow("line ends and blanks") << QByteArray("\r\n ?VERSION\r\n;; ?DEVICES\n")
                                          << QStringList{"?VERSION", "?DEVICES"};
    QTest::newRow("argument ends the command") << QByteArray(R"(?WATCH={"a":{"b":1}}?POLL;)")
                                               << QStringList{R"(?WATCH={"a":{"b":1}})", "?POLL"};
    QTest::newRow("semicolon inside a string") << QByteArray(R"(?WATCH={"device":"a;b}"};)")
                                               << QStringList{R"(?WATCH={"device":"a;b}"})"};
    QTest::newRow("escaped quote") << QByteArray(R"(?WATCH={"device":"a\";"};)")
                                   << QStringList{R"(?WATCH={"device":"a\";"})"};
    QTest::newRow("unfinished argument") << QByteArray("?WATCH={;") << QStringList{"?WATCH={"};
    QTest::newRow("not yet ended") << QByteArray("?POLL") << QStringList{};
}

void TestJsonText::framing()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, commands);
    CommandFraming framing;
    QStringList found;
    for (const char c : input) {
        if (framing.Take(c) == CommandFraming::Step::Command)
            found << QString::fromStdString(std::string(framing.Command()));
    }
    QCOMPARE(found, commands);
}

QTEST_GUILESS_MAIN(TestJsonText)
#include "tst_jsontext.moc"
