// The reception watchdog, its tick driven by hand, on the real serial path through a pty.
#include "FakeReceiver.h"
#include "NavState.h"
#include "NmeaReceiver.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr char Rmc[] = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
constexpr char Sky[] = "GPGSV,1,1,02,07,10,010,40,12,20,020,41";
constexpr int WaitMs = 5000;
// Long enough that the timer never fires by itself during a test: the tests tick.
constexpr std::chrono::hours NoTimer{1};

} // namespace

class TestReceptionWatchdog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sixthTickWithoutFixDeclaresLoss();
    void lostReceptionReopensAndEmptiesSkyEveryTick();
    void stoppedWatchdogNeverOpens();
    void receiverUnpluggedMidLineComesBack_data();
    void receiverUnpluggedMidLineComesBack();

private:
    QString DevicePath() const { return Dir->filePath(QStringLiteral("gps")); }
    // Sends one line and waits until the intake has processed it.
    void DeliverLine(const std::string& line);
    void Deliver(std::string_view body) { DeliverLine(WithNmeaChecksum(body)); }
    void Ticks(int count);

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<FakeReceiver> Receiver;
    std::unique_ptr<NavState> Nav;
    std::unique_ptr<NmeaReceiver> Input;
};

void TestReceptionWatchdog::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Receiver = std::make_unique<FakeReceiver>(DevicePath());
    QVERIFY(Receiver->IsValid());
    Nav = std::make_unique<NavState>();
    Input = std::make_unique<NmeaReceiver>(*Nav, NoTimer);
    SerialLink& link = Input->Link();
    link.Devices().SetOverride(1, DevicePath());
    // Restoring the stored selections must not open the port yet.
    link.ChangeSettings({0, 4, 0, 2, 0, 0});
    QVERIFY(!link.IsOpen());
    Input->Start();
    QVERIFY(link.IsOpen());
    QCOMPARE(link.OntvangstLED(), IndicatorColour::Black);
}

void TestReceptionWatchdog::cleanup()
{
    Input.reset();
    Receiver.reset();
    Dir.reset();
}

void TestReceptionWatchdog::DeliverLine(const std::string& line)
{
    QSignalSpy lines(&Input->Link(), &SerialLink::LineReceived);
    QVERIFY(Receiver->Send(line + "\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 1, WaitMs);
}

void TestReceptionWatchdog::Ticks(int count)
{
    for (int i = 0; i < count; ++i)
        Input->Watchdog().Tick();
}

void TestReceptionWatchdog::sixthTickWithoutFixDeclaresLoss()
{
    Deliver(Rmc);
    Deliver(Sky);
    QCOMPARE(Nav->SkyPrn[1], 12);
    // Five ticks, up to 2.5 seconds after the fix: still valid.
    Ticks(5);
    QVERIFY(Nav->FixValid);
    QCOMPARE(Nav->SkyPrn[1], 12);
    QCOMPARE(Input->Watchdog().Misses(), 5);

    Ticks(1);
    QVERIFY(!Nav->FixValid);
    QCOMPARE(Nav->SkyPrn, decltype(Nav->SkyPrn){});
    QCOMPARE(Input->Watchdog().Misses(), 5);

    // A fix brings it back and starts the count again.
    Deliver(Rmc);
    QVERIFY(Nav->FixValid);
    QCOMPARE(Input->Watchdog().Misses(), 0);
}

void TestReceptionWatchdog::lostReceptionReopensAndEmptiesSkyEveryTick()
{
    SerialLink& link = Input->Link();
    Ticks(6);
    QVERIFY(link.IsOpen());
    for (int tick = 0; tick < 3; ++tick) {
        // A satellite group completed between two ticks is published, and emptied again.
        Deliver(Sky);
        QCOMPARE(Nav->SkyPrn[0], 7);
        // The noise turns the indicator blue; only a reopen paints it black again.
        DeliverLine("noise");
        QVERIFY(Receiver->Send("\n"));
        QTRY_COMPARE_WITH_TIMEOUT(link.OntvangstLED(), IndicatorColour::Blue, WaitMs);
        Ticks(1);
        QCOMPARE(Nav->SkyPrn[0], 0);
        QCOMPARE(link.OntvangstLED(), IndicatorColour::Black);
        QVERIFY(link.IsOpen());
    }
}

void TestReceptionWatchdog::stoppedWatchdogNeverOpens()
{
    Input->Stop();
    QVERIFY(!Input->Watchdog().IsEnabled());
    QVERIFY(!Input->Link().IsOpen());
    Input->Link().COMopenen();
    Ticks(7);
    QVERIFY(!Input->Link().IsOpen());
}

void TestReceptionWatchdog::receiverUnpluggedMidLineComesBack_data()
{
    QTest::addColumn<int>("ticksAway");
    QTest::newRow("back before the loss") << 1;
    QTest::newRow("back after the loss") << 9;
}

void TestReceptionWatchdog::receiverUnpluggedMidLineComesBack()
{
    QFETCH(int, ticksAway);
    SerialLink& link = Input->Link();
    Deliver(Rmc);
    QVERIFY(Receiver->Send("$GPGGA,1235"));
    QTRY_VERIFY_WITH_TIMEOUT(!link.Input().SentenceBuffer().empty(), WaitMs);

    Receiver->Unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!link.IsOpen(), WaitMs);
    Ticks(ticksAway);
    QVERIFY(!link.IsOpen());
    QCOMPARE(link.OntvangstLED(), IndicatorColour::Red);
    QCOMPARE(Nav->FixValid, ticksAway <= ReceptionWatchdog::TicksBeforeLoss);

    Receiver = std::make_unique<FakeReceiver>(DevicePath());
    Ticks(1);
    QVERIFY(link.IsOpen());
    QCOMPARE(link.OntvangstLED(), IndicatorColour::Black);
    // The line cut off by the unplugging ends at the new stream's first CR and goes as noise.
    Deliver("GPXYZ");
    Deliver(Rmc);
    QVERIFY(Nav->FixValid);
    QCOMPARE(Input->Watchdog().Misses(), 0);
}

QTEST_GUILESS_MAIN(TestReceptionWatchdog)
#include "tst_receptionwatchdog.moc"
