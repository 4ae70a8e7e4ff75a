// Splitting a recorded log into epochs and pacing it by its own times.
#include "ReplayLog.h"

#include <QTest>

namespace {

ReplayEpoch At(std::optional<std::int64_t> ms)
{
    return {{}, ms};
}

QList<int> EpochSizes(const std::vector<ReplayEpoch>& epochs)
{
    QList<int> sizes;
    for (const ReplayEpoch& epoch : epochs)
        sizes.append(static_cast<int>(epoch.Lines.size()));
    return sizes;
}

} // namespace

class TestReplayLog : public QObject {
    Q_OBJECT

private slots:
    void sentenceTime_data();
    void sentenceTime();
    void linesAndEpochs_data();
    void linesAndEpochs();
    void delays_data();
    void delays();
};

void TestReplayLog::sentenceTime_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qlonglong>("ms"); // -1: no time
    QTest::newRow("RMC whole seconds") << "$GPRMC,123519,A,4807.038,N" << 45'319'000LL;
    QTest::newRow("GGA of another talker, hundredths") << "$GNGGA,123519.25,4807" << 45'319'250LL;
    QTest::newRow("one decimal") << "$GPGGA,000001.5,," << 1'500LL;
    QTest::newRow("empty time") << "$GPRMC,,V,,,," << -1LL;
    QTest::newRow("address alone") << "$GPRMC" << -1LL;
    QTest::newRow("cut short") << "$GPRMC,1235" << -1LL;
    QTest::newRow("hour out of range") << "$GPRMC,253519,A" << -1LL;
    QTest::newRow("other sentence") << "$GPZDA,123519.00,06,12,2026" << -1LL;
    QTest::newRow("not a sentence") << "RMC,123519" << -1LL;
}

void TestReplayLog::sentenceTime()
{
    QFETCH(QString, line);
    QFETCH(qlonglong, ms);
    const std::string text = line.toStdString();
    QCOMPARE(SentenceTimeOfDayMs(text).value_or(-1), ms);
}

void TestReplayLog::linesAndEpochs_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("empty") << "" << QList<int>{};
    QTest::newRow("only comments") << "# made on deck\n#\n" << QList<int>{};
    QTest::newRow("times split epochs")
        << "$GPGGA,120000,x\n$GPGSA,A\n$GPRMC,120000,A\n$GPGGA,120001,x\n$GPRMC,120001,A\n"
        << QList<int>{3, 2};
    QTest::newRow("lines before the first time join the first epoch")
        << "$GPGSV,1,1\n$GPTXT,x\n$GPRMC,120000,A\n$GPRMC,120000.50,A\n" << QList<int>{3, 1};
    QTest::newRow("no times: cut where the first type comes round")
        << "$GPGSA,A\n$GPGSV,1\n$GPGSA,A\n$GPGSV,1\n$GPGSA,A\n" << QList<int>{2, 2, 1};
    QTest::newRow("no sentences at all: one epoch") << "hello\nworld\n" << QList<int>{2};
    QTest::newRow("line ends, blank lines and comments")
        << "# comment\n$GPRMC,120000,A*00\r\n\n$GPGSA,A\n#another\r\n$GPTXT,last" << QList<int>{3};
}

void TestReplayLog::linesAndEpochs()
{
    QFETCH(QString, log);
    QFETCH(QList<int>, sizes);
    const std::string text = log.toStdString();
    QCOMPARE(EpochSizes(ParseReplayLog(text)), sizes);
}

void TestReplayLog::delays_data()
{
    QTest::addColumn<qlonglong>("from"); // -1: no time
    QTest::addColumn<qlonglong>("to");
    QTest::addColumn<qlonglong>("delay");
    QTest::newRow("one second") << 1'000LL << 2'000LL << 1'000LL;
    QTest::newRow("5 Hz") << 1'000LL << 1'200LL << 200LL;
    QTest::newRow("long gap clamped") << 1'000LL << 60'000LL << qlonglong{MaxReplayGapMs};
    QTest::newRow("over midnight") << 86'399'000LL << 0LL << 1'000LL;
    QTest::newRow("time went back") << 5'000LL << 4'000LL << 250LL;
    QTest::newRow("same time") << 5'000LL << 5'000LL << 250LL;
    QTest::newRow("from has no time") << -1LL << 4'000LL << 250LL;
    QTest::newRow("to has no time") << 4'000LL << -1LL << 250LL;
}

void TestReplayLog::delays()
{
    QFETCH(qlonglong, from);
    QFETCH(qlonglong, to);
    QFETCH(qlonglong, delay);
    auto time = [](qlonglong ms) { return ms < 0 ? std::nullopt : std::optional<std::int64_t>(ms); };
    QCOMPARE(ReplayDelayMs(At(time(from)), At(time(to)), 250), delay);
}

QTEST_APPLESS_MAIN(TestReplayLog)
#include "tst_replaylog.moc"
