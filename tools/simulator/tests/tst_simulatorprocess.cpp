// The devozora-simulator program itself: its pseudo-terminal, its link, --replay and its options.
#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Waits for I/O only; none of these is a timing assertion.
constexpr int IoTimeoutMs = 30'000;

struct Started {
    std::unique_ptr<QProcess> Process;
    QString Device;
};

Started StartSimulator(const QStringList& arguments)
{
    Started started{std::make_unique<QProcess>(), {}};
    started.Process->start(QStringLiteral(SIMULATOR_PATH), arguments);
    while (!started.Process->canReadLine() && started.Process->waitForReadyRead(IoTimeoutMs)) {
    }
    started.Device = QString::fromLocal8Bit(started.Process->readLine()).trimmed();
    return started;
}

// Reads from the device until stop says so, the line hangs up or nothing comes for a long while.
template <typename Stop> void ReadDevice(const QString& path, std::string& received, Stop stop)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    QVERIFY2(fd >= 0, qPrintable(path));
    char buffer[1024];
    while (!stop(received)) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, IoTimeoutMs) <= 0)
            break;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EAGAIN)
            continue;
        if (got <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
}

int Occurrences(const std::string& text, const std::string& what)
{
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace

class TestSimulatorProcess : public QObject {
    Q_OBJECT

private slots:
    void streamGoesOnWhileReadersComeAndGo();
    void replayAddsCarriageReturnsAndLoops();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
};

// The link names the pseudo-terminal while the simulator runs; readers come and go.
void TestSimulatorProcess::streamGoesOnWhileReadersComeAndGo()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("gps0");
    Started sim = StartSimulator({"--link", link, "--rate", "5", "--count", "25", "--seed", "3", "--start",
                                  "2026-12-06T12:00:00Z"});
    QVERIFY(sim.Device.startsWith("/dev/"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.Device);

    std::string received;
    ReadDevice(link, received, [](const std::string& text) { return Occurrences(text, "$GPZDA") >= 5; });
    // The first reader went away; the simulator must not, and a new reader picks up the stream.
    ReadDevice(sim.Device, received, [](const std::string&) { return false; });
    QVERIFY(sim.Process->waitForFinished(IoTimeoutMs));
    QCOMPARE(sim.Process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.Process->exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    NavState nav;
    NmeaInput input(nav);
    int valid = 0;
    int invalid = 0;
    for (char c : received) {
        if (const auto result = input.Intake(c))
            (result->ChecksumValid && result->Recognised ? valid : invalid) += 1;
    }
    const int epochs = Occurrences(received, "$GPRMC");
    QVERIFY2(epochs >= 10 && epochs <= 25, qPrintable(QString::number(epochs)));
    // Lines are only ever cut where nobody read for a while and the stale backlog was dropped.
    QVERIFY2(invalid <= epochs / 5, qPrintable(QString::number(invalid)));
    QVERIFY(valid >= epochs * 9);
    QVERIFY(received.find("$GPRMC,120000.00,A,") != std::string::npos);
    QVERIFY(nav.FixValid);
    QCOMPARE(nav.UtcDateText, std::string("061226"));
}

void TestSimulatorProcess::replayAddsCarriageReturnsAndLoops()
{
    const std::string first = WithNmeaChecksum("GPRMC,120000.00,A,5206.0000,N,00406.0000,E,6.5,12.3,061226,,,A");
    const std::string second = WithNmeaChecksum("GPGGA,120000.00,5206.0000,N,00406.0000,E,1,08,1.0,3.5,M,47.0,M,,");
    const std::string third = WithNmeaChecksum("GPRMC,120000.20,A,5206.0010,N,00406.0010,E,6.5,12.3,061226,,,A");
    QTemporaryDir dir;
    QFile log(dir.filePath("recorded.nmea"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(("# recorded on deck, line ends lost\n" + first + "\n" + second + "\r\n\n" + third + "\n")
                  .c_str());
    log.close();

    QProcess sim;
    sim.start(QStringLiteral(SIMULATOR_PATH),
              {"--replay", log.fileName(), "--stdout", "--count", "3", "--rate", "20"});
    QVERIFY(sim.waitForFinished(IoTimeoutMs));
    QCOMPARE(sim.exitCode(), 0);
    const std::string expected = first + "\r\n" + second + "\r\n" + third + "\r\n" + first + "\r\n"
                                 + second + "\r\n";
    QCOMPARE(sim.readAllStandardOutput().toStdString(), expected);
}

void TestSimulatorProcess::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("rate zero") << QStringList{"--rate", "0"};
    QTest::newRow("baud not a number") << QStringList{"--baud", "fast"};
    QTest::newRow("latitude beyond the pole") << QStringList{"--lat", "95"};
    QTest::newRow("noise over 100 percent") << QStringList{"--noise", "150"};
    QTest::newRow("unplug without return") << QStringList{"--unplug-after", "10"};
    QTest::newRow("start not a time") << QStringList{"--start", "yesterday"};
    QTest::newRow("replay file missing") << QStringList{"--replay", "/nonexistent/log.nmea"};
    QTest::newRow("stray argument") << QStringList{"/dev/ttyUSB0"};
}

void TestSimulatorProcess::badOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(QStringLiteral(SIMULATOR_PATH), arguments);
    QVERIFY(sim.waitForFinished(IoTimeoutMs));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(sim.readAllStandardError().startsWith("devozora-simulator: "));
}

QTEST_GUILESS_MAIN(TestSimulatorProcess)
#include "tst_simulatorprocess.moc"
