// The output queue: whole lines in order, bounded when the line cannot keep up.
#include "OutputPacer.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int IoTimeoutMs = 30'000;

std::vector<std::string> Lines(int count)
{
    std::vector<std::string> lines;
    for (int n = 0; n < count; ++n)
        lines.push_back("$GPTXT," + std::string(70, static_cast<char>('a' + n % 26)));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

class TestOutputPacer : public QObject {
    Q_OBJECT

private slots:
    void everythingArrivesInOrder_data();
    void everythingArrivesInOrder();
    void stalledLineDropsWholeLinesOnly();
    void lostOutputIsReported();
};

void TestOutputPacer::everythingArrivesInOrder_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("takesAtMost");
    QTest::newRow("unpaced, output takes all") << 0 << 1'000'000;
    QTest::newRow("unpaced, output takes 7 bytes at a time") << 0 << 7;
    QTest::newRow("paced at 115200 baud") << 115200 << 1'000'000;
}

void TestOutputPacer::everythingArrivesInOrder()
{
    QFETCH(int, baud);
    QFETCH(int, takesAtMost);
    std::string received;
    OutputPacer pacer([&](std::string_view bytes) {
        const std::size_t taken = std::min(bytes.size(), static_cast<std::size_t>(takesAtMost));
        received.append(bytes.substr(0, taken));
        return static_cast<std::ptrdiff_t>(taken);
    }, baud);
    QSignalSpy drained(&pacer, &OutputPacer::Drained);
    pacer.Send(Lines(5));
    pacer.Send(Lines(3));
    QTRY_VERIFY_WITH_TIMEOUT(pacer.Idle(), IoTimeoutMs);
    QCOMPARE(received, Joined(Lines(5)) + Joined(Lines(3)));
    QVERIFY(drained.count() >= 1);
    QCOMPARE(pacer.DroppedLines(), std::size_t{0});
}

void TestOutputPacer::stalledLineDropsWholeLinesOnly()
{
    bool open = false;
    std::string received;
    OutputPacer pacer([&](std::string_view bytes) {
        if (!open)
            return std::ptrdiff_t{0};
        received.append(bytes);
        return static_cast<std::ptrdiff_t>(bytes.size());
    }, 4800);
    QSignalSpy overrun(&pacer, &OutputPacer::Overrun);
    // At 4800 baud the queue holds at most 1024 characters: 12 lines of 82.
    for (int n = 0; n < 10; ++n)
        pacer.Send(Lines(3));
    QCOMPARE(pacer.DroppedLines(), std::size_t{30 - 12});
    QCOMPARE(overrun.count(), 1);
    open = true;
    QTRY_VERIFY_WITH_TIMEOUT(pacer.Idle(), IoTimeoutMs);
    QCOMPARE(received, Joined(Lines(3)) + Joined(Lines(3)) + Joined(Lines(3)) + Joined(Lines(3)));
}

void TestOutputPacer::lostOutputIsReported()
{
    OutputPacer pacer([](std::string_view) { return std::ptrdiff_t{-1}; }, 0);
    QSignalSpy lost(&pacer, &OutputPacer::OutputLost);
    pacer.Send(Lines(2));
    QCOMPARE(lost.count(), 1);
    QVERIFY(pacer.Idle());
}

QTEST_GUILESS_MAIN(TestOutputPacer)
#include "tst_outputpacer.moc"
