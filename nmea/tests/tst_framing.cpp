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
    void checksum()
    {
        const struct {
            const char* Line;
            bool Error;
            const char* Remaining;
        } lines[] = {
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3B", false, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3b", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},   // lower-case digits
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3C", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*2B", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3Bxyz", false, "$GPTXT,01,01,02,ANTSTATUS=OK"}, // the rest ignored
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3", true, "$GPTXT,01,01,02,ANTSTATUS=OK"},      // one digit
            {"$GPGLL,4916.45,N,12311.12,W,225444,A", true, "$GPGLL,4916.45,N,12311.12,W,225444,A"}, // no star
            {"GPTXT,01*3B", true, "GPTXT,01*3B"},
            {"", true, ""},
            {"$*00", false, "$"},
            {"$A*41", false, "$A"},   // a single-digit sum keeps its zero
        };
        for (const auto& line : lines) {
            std::string_view sentence = line.Line;
            QCOMPARE(NMEAChecksumError(sentence), line.Error);
            QCOMPARE(sentence, std::string_view(line.Remaining));
        }
    }

    void lineFeedsAreDroppedCarriageReturnsEndLines()
    {
        NavState nav;
        NmeaInput input(nav);
        QVERIFY(!input.Intake('$'));
        QVERIFY(!input.Intake('\n'));
        QCOMPARE(input.SentenceBuffer(), std::string_view("$"));
        const auto result = input.Intake('\r');
        QVERIFY(result && !result->ChecksumValid);
        // An empty line is shown too, and fails (no "$").
        const auto empty = input.Intake('\r');
        QVERIFY(empty && !empty->ChecksumValid);
        QCOMPARE(input.Screening().Text(), std::string("$\r\n\r\n"));
    }

    void overlongLineIsDroppedAndTheNextSentenceWorks()
    {
        NavState nav;
        NmeaInput input(nav);
        // A valid sentence padded past the limit: it must not be interpreted, and memory stays put.
        const std::string rmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
        const std::string padded = WithNmeaChecksum(rmc + std::string(2 * NmeaInput::SentenceBufferLimit, ','));
        QVERIFY(!Feed(input, padded));
        QCOMPARE(input.SentenceBuffer().size(), NmeaInput::SentenceBufferLimit);
        const auto dropped = input.Intake('\r');
        QVERIFY(dropped && !dropped->ChecksumValid && !dropped->Recognised);
        QVERIFY(!nav.FixValid);
        QCOMPARE(input.Screening().Text().size(), InputScreening::MaxChars);

        const auto good = Feed(input, WithNmeaChecksum(rmc) + "\r\n");
        QVERIFY(good && good->FixAccepted);
        QVERIFY(nav.FixValid);
    }

    void screeningKeepsFiveLinesAndAtMostItsLimit()
    {
        // Long lines push the older ones out before the size limit cuts anything: exactly at the
        // limit both lines stay, one character more and the older one goes.
        InputScreening screen;
        screen.Show(std::string(500, 'a'));
        screen.Show(std::string(520, 'b'));
        QCOMPARE(screen.Text(), std::string(500, 'a') + "\r\n" + std::string(520, 'b') + "\r\n");
        screen.Show("");
        QCOMPARE(screen.Text(), std::string(520, 'b') + "\r\n\r\n");
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

    void recognisedFollowsTheLastLine()
    {
        NavState nav;
        NmeaInput input(nav);
        const struct {
            std::string Line;
            bool Valid, Recognised;
        } lines[] = {{WithNmeaChecksum("GPTXT,01,01,02,ANTSTATUS=OK"), true, true},
                     {"$GPTXT,01,01,02,ANTSTATUS=OK*3b", false, false},
                     {WithNmeaChecksum("GPXTE,A,A,0.67,L,N"), true, false},
                     {WithNmeaChecksum("IIGSV,1,1,00"), true, false},
                     {WithNmeaChecksum("GPRMC,,V,,,,,,,,,,N"), true, true}};
        for (const auto& line : lines) {
            Feed(input, line.Line + "\r\n");
            QCOMPARE(input.SentenceRecognised(), line.Recognised);
            QCOMPARE(input.ValidLine(), line.Valid ? std::string_view(line.Line) : std::string_view());
        }
        QVERIFY(!nav.FixValid);
    }
};

QTEST_APPLESS_MAIN(TestFraming)
#include "tst_framing.moc"
