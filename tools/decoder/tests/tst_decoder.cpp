// devozora-decode run as a program on a made-up log.
#include "NmeaChecksum.h"
#include "RecordedLog.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

namespace {

QByteArray Sentence(const char* body)
{
    return QByteArray::fromStdString(WithNmeaChecksum(body));
}

// Comments, LF-only and CR LF lines, a bad checksum and a fix-less RMC, the way recorded logs
// come; the last line has no line end at all. A ZDA with a two-digit year gives the GGA its
// date, and the corrupt ZDA after it is refused rather than sending the GGA to the year 9999.
QByteArray MadeUpLog()
{
    return "# Name: made-up receiver\n" + Sentence("GPZDA,105246.40,12,03,19,00,00") + "\n"
           + Sentence("GPZDA,105246.40,12,03,9999,00,00") + "\n"
           + Sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\n"
           + Sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\r\n"
           + "#" + Sentence("GPRMC,000000,A,0000.000,N,00000.000,E,0,0,010100,,") + "\r\n"
           + "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W*00\n"
           + Sentence("GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W") + "\n"
           + Sentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W");
}

const QByteArray ExpectedReplies =
    "GPSD,O=GGA 1552394119 0.005 48.117300 11.516667 545.40 ? ? 0 0 ? ? ? ? 0\r\n"
    "GPSD,O=RMC 1711197319 0.005 48.117300 11.516667 545.40 ? ? 84.4 22.4 ? ? ? ? 3\r\n";

} // namespace

class TestDecoder : public QObject {
    Q_OBJECT

private slots:
    void recordedLogGivesReceiverCharacters()
    {
        const struct {
            QByteArray Bytes;
            int SplitAt;   // where the first block read ends
            QByteArray Characters;
        } logs[] = {
            {"$A\r\n$B", 3, "$A\r\n$B"},   // CR LF kept, also when split between blocks
            {"\n\n", 0, "\r\n\r\n"},
            // A comment ends at its CR; the LF after it goes on, and the intake drops it as any other.
            {"# y $B\r\n$C\r\n", 0, "\n$C\r\n"},
            {"#abc\n$A\n", 2, "$A\r\n"},
            {"$A#\n", 0, "$A#\r\n"},   // a # inside a line is kept
        };
        for (const auto& [bytes, splitAt, characters] : logs) {
            RecordedLog log;
            QByteArray passed;
            const auto sink = [&passed](std::string_view run) { passed.append(run.data(), qsizetype(run.size())); };
            log.Feed(std::string_view(bytes.constData(), splitAt), sink);
            log.Feed(std::string_view(bytes.constData() + splitAt, bytes.size() - splitAt), sink);
            QCOMPARE(passed, characters);
        }
    }

    void decodesFileAndStandardInput()
    {
        QTemporaryFile log;
        QVERIFY(log.open());
        log.write(MadeUpLog());
        log.close();
        // From the file named, from standard input, and a file that is not there.
        for (const QString& file : {log.fileName(), QString(), QStringLiteral("/nonexistent/devozora.log")}) {
            QProcess decoder;
            if (file.isEmpty())
                decoder.setStandardInputFile(log.fileName());
            decoder.start(DECODER_PATH, file.isEmpty() ? QStringList{} : QStringList{file});
            QVERIFY(decoder.waitForFinished(30000));
            QCOMPARE(decoder.exitStatus(), QProcess::NormalExit);
            QCOMPARE(decoder.exitCode(), file.startsWith("/nonexistent") ? 1 : 0);
            QCOMPARE(decoder.readAllStandardOutput(), file.startsWith("/nonexistent") ? QByteArray() : ExpectedReplies);
        }
    }
};

QTEST_GUILESS_MAIN(TestDecoder)
#include "tst_decoder.moc"
