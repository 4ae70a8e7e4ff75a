// Framing, checksum and the InputScreening text, through the character intake.
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QTest>

namespace {

std::optional<LineResult> Feed(NmeaInput& input, std::string_view text)
{
    std::optional<LineResult> last;
    for (char c : text) {
        if (auto result = input.Intake(c))
            last = result;
    }
    return last;
}

} // namespace

class TestFraming : public QObject {
    Q_OBJECT

private slots:
    void checksum_data();
    void checksum();
    void lineFeedsAreDroppedCarriageReturnsEndLines();
    void overlongLineIsDroppedAndTheNextSentenceWorks();
    void screeningTrimsAtTheSixthLineFeedThenCuts();
    void recognisedFollowsTheLastLine();
};

void TestFraming::checksum_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("remaining");
    QTest::newRow("valid") << "$GPTXT,01,01,02,ANTSTATUS=OK*3B" << false
                           << "$GPTXT,01,01,02,ANTSTATUS=OK";
    QTest::newRow("lower-case digits") << "$GPTXT,01,01,02,ANTSTATUS=OK*3b" << true
                                       << "$GPTXT,01,01,02,ANTSTATUS=OK";
    QTest::newRow("wrong digits") << "$GPTXT,01,01,02,ANTSTATUS=OK*3C" << true
                                  << "$GPTXT,01,01,02,ANTSTATUS=OK";
    QTest::newRow("trailing characters ignored") << "$GPTXT,01,01,02,ANTSTATUS=OK*3Bxyz" << false
                                                 << "$GPTXT,01,01,02,ANTSTATUS=OK";
    QTest::newRow("one digit") << "$GPTXT,01,01,02,ANTSTATUS=OK*3" << true
                               << "$GPTXT,01,01,02,ANTSTATUS=OK";
    QTest::newRow("no star stays whole") << "$GPGLL,4916.45,N,12311.12,W,225444,A" << true
                                         << "$GPGLL,4916.45,N,12311.12,W,225444,A";
    QTest::newRow("no dollar stays whole") << "GPTXT,01*3B" << true << "GPTXT,01*3B";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("empty body") << "$*00" << false << "$";
    QTest::newRow("single-digit sum keeps its zero") << "$A*41" << false << "$A";
}

void TestFraming::checksum()
{
    QFETCH(QString, line);
    QFETCH(bool, error);
    QFETCH(QString, remaining);
    const std::string text = line.toStdString();
    std::string_view sentence = text;
    QCOMPARE(NMEAChecksumError(sentence), error);
    QCOMPARE(QString::fromStdString(std::string(sentence)), remaining);
}

void TestFraming::lineFeedsAreDroppedCarriageReturnsEndLines()
{
    NavState nav;
    NmeaInput input(nav);
    QVERIFY(!input.Intake('$'));
    QVERIFY(!input.Intake('\n'));
    QCOMPARE(input.SentenceBuffer(), std::string_view("$"));
    const auto result = input.Intake('\r');
    QVERIFY(result && !result->ChecksumValid);
    QCOMPARE(input.Screening().Text(), std::string("$\r\n"));
    // An empty line is shown too, and fails (no "$").
    const auto empty = input.Intake('\r');
    QVERIFY(empty && !empty->ChecksumValid);
    QCOMPARE(input.Screening().Text(), std::string("$\r\n\r\n"));
}

void TestFraming::overlongLineIsDroppedAndTheNextSentenceWorks()
{
    NavState nav;
    NmeaInput input(nav);
    // A valid sentence padded past the limit: it must not be interpreted, and memory stays put.
    const std::string padded = WithNmeaChecksum("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"
                                                + std::string(2 * NmeaInput::SentenceBufferLimit, ','));
    QVERIFY(!Feed(input, padded));
    QCOMPARE(input.SentenceBuffer().size(), NmeaInput::SentenceBufferLimit);
    const auto dropped = input.Intake('\r');
    QVERIFY(dropped && !dropped->ChecksumValid && !dropped->Recognised);
    QVERIFY(!nav.FixValid);
    QCOMPARE(input.Screening().Text().size(), InputScreening::MaxChars);

    const auto good = Feed(input, "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
    QVERIFY(good && good->FixAccepted);
    QVERIFY(nav.FixValid);
}

void TestFraming::screeningTrimsAtTheSixthLineFeedThenCuts()
{
    // Long lines push the older ones out before the size limit cuts anything.
    InputScreening screen;
    for (char c : std::string("abcde"))
        screen.Show(std::string(300, c));
    QCOMPARE(screen.Text(), std::string(300, 'c') + "\r\n" + std::string(300, 'd') + "\r\n"
                                + std::string(300, 'e') + "\r\n");
    // A line cut short by the limit is ended before the next one, which is then shown: the box
    // never stops showing what arrives.
    screen.Show(std::string(1100, 'x'));
    QCOMPARE(screen.Text(), std::string(1024, 'x'));
    screen.Show("$GPTXT,01,01,02,ANTSTATUS=OK*3B");
    QCOMPARE(screen.Text(), std::string("$GPTXT,01,01,02,ANTSTATUS=OK*3B\r\n"));
    // Short lines that fit are kept as five, the sixth line feed from the end cutting the text.
    for (int i = 0; i < 6; ++i)
        screen.Show("$GPGSV");
    QCOMPARE(screen.Text(), std::string("$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n$GPGSV\r\n"));
}

void TestFraming::recognisedFollowsTheLastLine()
{
    NavState nav;
    NmeaInput input(nav);
    Feed(input, "$GPTXT,01,01,02,ANTSTATUS=OK*3B\r\n");
    QVERIFY(input.SentenceRecognised());
    Feed(input, "$GPTXT,01,01,02,ANTSTATUS=OK*3b\r\n");
    QVERIFY(!input.SentenceRecognised());
    Feed(input, WithNmeaChecksum("GPXTE,A,A,0.67,L,N") + "\r\n");
    QVERIFY(!input.SentenceRecognised());
    Feed(input, WithNmeaChecksum("IIGSV,1,1,00") + "\r\n");
    QVERIFY(!input.SentenceRecognised());
    Feed(input, WithNmeaChecksum("GPRMC,,V,,,,,,,,,,N") + "\r\n");
    QVERIFY(input.SentenceRecognised());
    QVERIFY(!nav.FixValid);
}

QTEST_APPLESS_MAIN(TestFraming)
#include "tst_framing.moc"
