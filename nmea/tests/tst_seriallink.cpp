// The link through a real pseudo-terminal and the real QSerialPort path, and to receivers on the
// network over real sockets; the reception watchdog on top of it, its tick driven by hand; the
// devices the port entries name.
#include "NavState.h"
#include "NetworkSource.h"
#include "NmeaChecksum.h"
#include "NmeaReceiver.h"
#include "PortDescription.h"
#include "PortDevices.h"
#include "Unprivileged.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr char Rmc[] = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
constexpr char Sky[] = "GPGSV,1,1,02,07,10,010,40,12,20,020,41";
constexpr int WaitMs = 5000;
// Long enough that the watchdog's timer never fires by itself during a test: the tests tick.
constexpr std::chrono::hours NoTimer{1};

// 4800,n,8,1 without handshake on COM1: what an NMEA 0183 receiver speaks.
constexpr SerialSettings Nmea4800{0, 4, 0, 2, 0, 0};

// A pseudo-terminal standing in for a GPS receiver. The serial link opens the slave side through
// a link path that stays the same when the receiver is unplugged and plugged in again; the test
// writes NMEA text into the master side.
class FakeReceiver {
public:
    explicit FakeReceiver(const QString& linkPath) : LinkPath(linkPath)
    {
        if (::openpty(&Master, &Slave, nullptr, nullptr, nullptr) != 0)
            return;
        // Raw from the start: the port restores these settings when it closes, and a line
        // discipline in canonical mode would echo and translate what we write meanwhile.
        termios raw{};
        ::tcgetattr(Slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(Slave, TCSANOW, &raw);
        // Never block this thread: it is also the one that reads the other side.
        ::fcntl(Master, F_SETFL, ::fcntl(Master, F_GETFL) | O_NONBLOCK);
        QFile::remove(LinkPath);
        QFile::link(QString::fromLocal8Bit(::ptsname(Master)), LinkPath);
    }
    FakeReceiver(const FakeReceiver&) = delete;
    FakeReceiver& operator=(const FakeReceiver&) = delete;
    ~FakeReceiver() { Unplug(); }

    bool IsValid() const { return Master >= 0 && QFile::exists(LinkPath); }

    bool Send(std::string_view bytes) const
    {
        return Master >= 0 && ::write(Master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // The line settings the port put on the device.
    termios LineSettings() const
    {
        termios settings{};
        ::tcgetattr(Slave, &settings);
        return settings;
    }

    // Both sides go away and so does the link, as when a USB receiver is pulled out.
    void Unplug()
    {
        if (Master < 0)
            return;
        ::close(Master);
        ::close(Slave);
        Master = Slave = -1;
        QFile::remove(LinkPath);
    }

private:
    QString LinkPath;
    int Master = -1;
    int Slave = -1;
};

// A Wi-Fi gateway on loopback: a TCP server, or datagrams to the loopback's broadcast address.
struct Gateway {
    explicit Gateway(bool tcp) : Tcp(tcp)
    {
        Server.listen(QHostAddress::LocalHost, 0); // a free port, for UDP as well
        Port = Server.serverPort();
        if (!Tcp)
            Server.close();
    }
    bool Send(const std::string& bytes)
    {
        if (!Tcp)
            return Udp.writeDatagram(bytes.data(), qint64(bytes.size()), QHostAddress("127.255.255.255"), Port) > 0;
        if (!Client && Server.waitForNewConnection(WaitMs))
            Client = Server.nextPendingConnection();
        return Client && Client->write(bytes.data(), qint64(bytes.size())) > 0 && Client->flush();
    }
    bool Tcp;
    QTcpServer Server;
    QTcpSocket* Client = nullptr;
    QUdpSocket Udp;
    quint16 Port = 0;
};

} // namespace

Q_DECLARE_METATYPE(IndicatorColour)

class TestSerialLink : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        QVERIFY(Dir->isValid());
        Receiver = std::make_unique<FakeReceiver>(DevicePath());
        QVERIFY(Receiver->IsValid());
        Nav = std::make_unique<NavState>();
        Input = std::make_unique<NmeaReceiver>(*Nav, NoTimer);
        Link().Devices().SetOverride(1, DevicePath());
        // Restoring the stored selections must not open the port yet; the start does.
        Link().ChangeSettings(Nmea4800);
        QVERIFY(!Link().IsOpen());
        Input->Start();
        QVERIFY(Link().IsOpen());
        QCOMPARE(Link().ReceptionColour(), IndicatorColour::Black);
    }

    void cleanup()
    {
        Input.reset();
        Receiver.reset();
        Dir.reset();
    }

    void settingsReachTheDevice()
    {
        // What the open port must show on the device. A pty always carries eight bits without
        // parity, so of the line settings only speed, stop bits and flow control are visible.
        const struct {
            SerialSettings Settings;
            bool Opens;
            speed_t Speed;
            tcflag_t ControlFlags, InputFlags;
        } rows[] = {
            {{0, 5, 0, 2, 0, 0}, true, B9600, 0, 0},
            {{0, 9, 1, 1, 2, 2}, true, B115200, CSTOPB | CRTSCTS, 0},   // 115200,e,7,2 hardware
            {{0, 0, 2, 0, 0, 1}, true, B300, 0, IXON | IXOFF},          // 300,o,6,1 Xon/Xoff
            {{0, 5, 4, 2, 0, 3}, true, B9600, CRTSCTS, 0},              // 9600,s,8,1 both
            {{0, 4, 0, 3, 0, 0}, false, 0, 0, 0},                       // 9 data bits
            {{0, 4, 0, 2, 1, 0}, false, 0, 0, 0},                       // 1.5 stop bits
            {{0, 11, 0, 2, 0, 0}, false, 0, 0, 0},                      // baud beyond the list
            {{0, 4, -1, 2, 0, 0}, false, 0, 0, 0},                      // parity before it
        };
        // A line half received when the settings change is completed by what follows.
        const std::string sentence = WithNmeaChecksum(Rmc) + "\r\n";
        QVERIFY(Receiver->Send(sentence.substr(0, 20)));
        QTRY_COMPARE_WITH_TIMEOUT(Link().Input().SentenceBuffer().size(), 20u, WaitMs);
        for (const auto& row : rows) {
            const QString shown = Link().InputScreeningText();
            Link().ChangeSettings(row.Settings);
            QCOMPARE(Link().ReceptionColour(), row.Opens ? IndicatorColour::Black : IndicatorColour::Red);
            QCOMPARE(Link().IsOpen(), row.Opens);
            // Refused settings keep what was on screen: it may show why.
            QCOMPARE(Link().InputScreeningText(), shown);
            if (row.Opens) {
                const termios line = Receiver->LineSettings();
                QCOMPARE(::cfgetispeed(&line), row.Speed);
                QCOMPARE(line.c_cflag & (CSTOPB | CRTSCTS), row.ControlFlags);
                QCOMPARE(line.c_iflag & (IXON | IXOFF), row.InputFlags);
            }
            if (&row == rows) {
                QVERIFY(Receiver->Send(sentence.substr(20)));
                QTRY_VERIFY_WITH_TIMEOUT(Nav->FixValid, WaitMs);
                QCOMPARE(Nav->Latitude, 48.07038f);
            }
        }
    }

    void lineOutcomePaintsTheNextBatch()
    {
        const std::pair<std::string, IndicatorColour> lines[] = {
            {WithNmeaChecksum(Rmc), IndicatorColour::Green},
            {"$GPTXT,01,01,02,ANTSTATUS=OK*3C", IndicatorColour::Blue},   // checksum error
            {WithNmeaChecksum("GPXYZ,1,2"), IndicatorColour::Blue},   // unknown type
            {"\x01\xfe#!", IndicatorColour::Blue},                      // noise
        };
        for (const auto& [line, colour] : lines) {
            Link().SetReceptionColour(IndicatorColour::Black);
            QSignalSpy received(&Link(), &SerialLink::LineReceived);
            QVERIFY(Receiver->Send(line + "\r"));
            QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, WaitMs);
            // A lone LF changes nothing in the intake, but it is a batch: it shows the last line's colour.
            QVERIFY(Receiver->Send("\n"));
            QTRY_COMPARE_WITH_TIMEOUT(Link().ReceptionColour(), colour, WaitMs);
            QCOMPARE(Link().Input().SentenceRecognised(), colour == IndicatorColour::Green);
        }
    }

    void portThatDoesNotOpenSaysWhy_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<IndicatorColour>("colour");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("awaits"); // no retry can open it: only the device appearing or new settings
        const auto red = IndicatorColour::Red;
        QTest::newRow("missing device") << "missing" << red << "Not present" << true;
        QTest::newRow("device in use") << "busy" << red << "In use by another program" << false;
        // A device of a group that may read it, and we are not in the group.
        QTest::newRow("no read permission") << "permission" << red << "Permission denied: add yourself to the %1 group" << false;
        QTest::newRow("no permission at all") << "no permission" << red << "Permission denied" << false;
        const auto magenta = IndicatorColour::Magenta;
        QTest::newRow("port number beyond COM32") << "COM33" << magenta << "No device for this port number" << true;
        QTest::newRow("network address not of this machine")
            << "udp://192.0.2.1:10110" << red << "The address is not available" << false;
        QTest::newRow("network entry without port")
            << "tcp://gateway" << magenta << "Not a receiver on the network: write tcp://HOST:PORT or udp://:PORT" << true;
    }

    void portThatDoesNotOpenSaysWhy()
    {
        QFETCH(QString, obstacle);
        QFETCH(IndicatorColour, colour);
        QFETCH(QString, problem);
        QFETCH(bool, awaits);
        if (obstacle.endsWith("permission") && !ModeBitsBindUs())
            return RunAsUnprivilegedUser();

        DeliverLine("hello");
        QSerialPort otherProgram(DevicePath());
        SerialSettings settings = Nmea4800;
        Link().Close();
        if (obstacle == "busy")
            QVERIFY(otherProgram.open(QIODevice::ReadOnly));
        else if (obstacle == "missing")
            Link().Devices().SetOverride(1, Dir->filePath(QStringLiteral("no-such-device")));
        else if (obstacle.endsWith("permission"))
            QVERIFY(QFile::setPermissions(QFileInfo(DevicePath()).symLinkTarget(),
                                          obstacle == "permission" ? QFile::ReadGroup : QFile::Permissions()));
        else if (obstacle == "COM33")
            settings.PortIndex = 32;
        else
            Link().Devices().SetOverride(1, obstacle);
        QSignalSpy told(&Link(), &SerialLink::PortProblemChanged);
        Link().ChangeSettings(settings);

        QCOMPARE(Link().ReceptionColour(), colour);
        QVERIFY(!Link().IsOpen());
        QCOMPARE(Link().PortProblem(), problem.replace("%1", QFileInfo(DevicePath()).group()));
        QCOMPARE(Link().AwaitsChange(), awaits);
        // A port that did not open empties the text; one that has no device keeps what it showed.
        QCOMPARE(Link().InputScreeningText(), colour == IndicatorColour::Red ? QString() : QStringLiteral("hello\r\n"));
        // Told once, not again on every retry.
        Link().COMopenen();
        QCOMPARE(told.count(), 1);
    }

    void everyCharacterArrivesOnceInOrder()
    {
        // Sentences of changing length and content, sent in bursts of different sizes: a lost,
        // doubled or swapped character breaks a checksum or the order of the latitudes.
        std::vector<float> latitudes;
        connect(&Link(), &SerialLink::LineReceived, this, [&](const LineResult& line) {
            QVERIFY(line.FixAccepted);
            latitudes.push_back(Nav->Latitude);
        });
        int sent = 0;
        for (int burst = 1; burst <= 12; ++burst) {
            std::string text;
            for (int i = 0; i < burst; ++i, ++sent)
                text += WithNmeaChecksum("GPGLL," + std::to_string(1000 + sent * 100) + ".5,N,00412.25,E,120000,A") + "\r\n";
            QVERIFY(Receiver->Send(text));
            QTRY_COMPARE_WITH_TIMEOUT(int(latitudes.size()), sent, WaitMs);
        }
        for (int i = 0; i < sent; ++i)
            QCOMPARE(latitudes[i], (1000 + i * 100 + 0.5f) / 100);
    }

    void networkReceiverGoesAndComesBack_data()
    {
        QTest::addColumn<bool>("tcp");
        QTest::newRow("TCP") << true;
        QTest::newRow("UDP broadcast") << false;
    }

    void networkReceiverGoesAndComesBack()
    {
        QFETCH(bool, tcp);
        Gateway gateway(tcp);
        Link().Devices().SetOverride(1, QString(tcp ? "tcp://127.0.0.1:%1" : "udp://:%1").arg(gateway.Port));
        QString events; // O opened, C closed
        connect(&Link(), &SerialLink::PortOpened, this, [&events] { events += 'O'; });
        connect(&Link(), &SerialLink::PortClosed, this, [&events] { events += 'C'; });
        Link().ChangeSettings(Nmea4800);
        QVERIFY(gateway.Send(WithNmeaChecksum(Rmc) + "\r\n$GPRMC,1235"));
        QTRY_VERIFY_WITH_TIMEOUT(Nav->FixValid, WaitMs);
        // The watchdog's reopening keeps a receiver that talks: no new connection.
        Link().COMopenen();
        QCOMPARE(events, "O");
        QVERIFY(!gateway.Server.hasPendingConnections());

        // The gateway is switched off: TCP connections end, datagrams stop.
        gateway.Server.close();
        delete std::exchange(gateway.Client, nullptr);
        if (tcp) {
            QTRY_COMPARE_WITH_TIMEOUT(events, "OC", WaitMs);
            QCOMPARE(Link().ReceptionColour(), IndicatorColour::Red);
            QCOMPARE(Link().PortProblem(), "The receiver closed the connection");
            QVERIFY(Link().Input().SentenceBuffer().empty());
            Link().COMopenen();
            QTRY_COMPARE_WITH_TIMEOUT(Link().PortProblem(), "Connection refused", WaitMs);
        }
        QVERIFY(!tcp || gateway.Server.listen(QHostAddress::LocalHost, gateway.Port));
        Nav->FixValid = false;
        Link().COMopenen();
        // A datagram stream goes on where it stopped: the line cut short ends at the first CR.
        QVERIFY(gateway.Send("\r\n" + WithNmeaChecksum(Rmc) + "\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(Nav->FixValid, WaitMs);
        QCOMPARE(events, tcp ? "OCO" : "O");
        QCOMPARE(Link().PortProblem(), QString());
    }

    void sixthTickWithoutFixDeclaresLossAndEveryTickReopens()
    {
        Deliver(Rmc);
        Deliver(Sky);
        // Five ticks, up to 2.5 seconds after the fix: still valid.
        Ticks(5);
        QVERIFY(Nav->FixValid);
        QCOMPARE(Nav->SkyPrn[1], 12);
        QCOMPARE(Input->Watchdog().Misses(), 5);

        Ticks(1);
        QVERIFY(!Nav->FixValid);
        QCOMPARE(Nav->SkyPrn, decltype(Nav->SkyPrn){});
        QCOMPARE(Input->Watchdog().Misses(), 5);
        for (int tick = 0; tick < 3; ++tick) {
            // Lost, every tick reopens the port; a satellite group completed between two ticks is
            // published, and emptied again.
            Deliver(Sky);
            QCOMPARE(Nav->SkyPrn[0], 7);
            // The noise turns the indicator blue; only a reopen paints it black again.
            DeliverLine("noise");
            QVERIFY(Receiver->Send("\n"));
            QTRY_COMPARE_WITH_TIMEOUT(Link().ReceptionColour(), IndicatorColour::Blue, WaitMs);
            Ticks(1);
            QCOMPARE(Nav->SkyPrn[0], 0);
            QCOMPARE(Link().ReceptionColour(), IndicatorColour::Black);
            QVERIFY(Link().IsOpen());
        }

        // A fix brings it back and starts the count again.
        Deliver(Rmc);
        QVERIFY(Nav->FixValid);
        QCOMPARE(Input->Watchdog().Misses(), 0);
        // Stopped, it never opens the port again.
        Input->Stop();
        QVERIFY(!Input->Watchdog().IsEnabled() && !Link().IsOpen());
        Link().COMopenen();
        Ticks(7);
        QVERIFY(!Link().IsOpen());
    }

    // On a real timer, the watchdog coasting whenever it may, as a service without a screen
    // lets it: no tick while fixes flow, the loss at the same tick as ever once they stop, and a
    // wake on the way (a client connecting) keeps the count of the ticks left out.
    void coastingCountsAsEveryTickWould()
    {
        constexpr std::chrono::milliseconds interval{250};
        Input.reset();
        Input = std::make_unique<NmeaReceiver>(*Nav, interval);
        Link().Devices().SetOverride(1, DevicePath());
        Link().ChangeSettings(Nmea4800);
        ReceptionWatchdog& dog = Input->Watchdog();
        int ticks = 0;
        connect(&dog, &ReceptionWatchdog::ListenerCheckDue, this, [&] {
            ++ticks;
            dog.Coast();
        });
        Input->Start();
        // Timed from before each fix is sent: the loss comes at the sixth tick after it, more
        // than five intervals on, never sooner.
        QElapsedTimer sinceFix;
        for (int i = 0; i < 12; ++i) {
            sinceFix.start();
            Deliver(Rmc);
            QTest::qWait(100);
        }
        QVERIFY(Nav->FixValid);
        QVERIFY2(ticks <= 2, qPrintable(QString::number(ticks)));
        QTRY_VERIFY_WITH_TIMEOUT(!Nav->FixValid, WaitMs);
        QVERIFY2(sinceFix.elapsed() >= 5 * interval.count(), qPrintable(QString::number(sinceFix.elapsed())));

        // Lost, it ticks again. A fix just after a tick, the next tick coasts; a second fix three
        // intervals on, while it coasts, and a wake one interval after that: the ticks left out
        // count from the second fix, one or two of them.
        QSignalSpy tick(&dog, &ReceptionWatchdog::ListenerCheckDue);
        QVERIFY(tick.wait(WaitMs));
        Deliver(Rmc);
        QTRY_VERIFY_WITH_TIMEOUT(!dog.IsTicking(), WaitMs);
        QTest::qWait(interval.count() * 5 / 2);
        sinceFix.start();
        Deliver(Rmc);
        QTest::qWait(interval.count());
        dog.Wake();
        QVERIFY2(dog.Misses() >= 1 && dog.Misses() <= 2, qPrintable(QString::number(dog.Misses())));
        QVERIFY(Nav->FixValid);
        QTRY_VERIFY_WITH_TIMEOUT(!Nav->FixValid, WaitMs);
        QVERIFY2(sinceFix.elapsed() >= 5 * interval.count(), qPrintable(QString::number(sinceFix.elapsed())));
    }

    void receiverUnpluggedMidLineComesBack_data()
    {
        QTest::addColumn<int>("ticksAway");
        QTest::newRow("back before the loss") << 1;
        QTest::newRow("back after the loss") << 9;
    }

    void receiverUnpluggedMidLineComesBack()
    {
        QFETCH(int, ticksAway);
        QString events; // O opened, C closed, E a receiver cycle ended
        connect(&Link(), &SerialLink::PortOpened, this, [&events] { events += 'O'; });
        connect(&Link(), &SerialLink::PortClosed, this, [&events] { events += 'C'; });
        connect(&Link(), &SerialLink::EpochEnded, this, [&events] { events += 'E'; });
        Link().COMopenen(); // the watchdog reopens a port that never went away: opened, never closed
        QVERIFY(Receiver->Send(WithNmeaChecksum(Rmc) + "\r\n$GPGGA,1235"));
        QTRY_COMPARE_WITH_TIMEOUT(Link().Input().SentenceBuffer(), std::string_view("$GPGGA,1235"), WaitMs);

        Receiver->Unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!Link().IsOpen(), WaitMs);
        // The half line of the vanished device is gone: it must not be joined to the new stream.
        QVERIFY(Link().Input().SentenceBuffer().empty());
        Ticks(ticksAway);
        QVERIFY(!Link().IsOpen());
        QCOMPARE(Link().ReceptionColour(), IndicatorColour::Red);
        QCOMPARE(Nav->FixValid, ticksAway <= ReceptionWatchdog::TicksBeforeLoss);
        // Its last cycle is complete before the news that it went, which is told once.
        QCOMPARE(events, "OEC");

        // Its folder is watched: it opens as it appears, without waiting for a tick.
        Receiver = std::make_unique<FakeReceiver>(DevicePath());
        QTRY_VERIFY_WITH_TIMEOUT(Link().IsOpen(), WaitMs);
        QCOMPARE(Link().ReceptionColour(), IndicatorColour::Black);
        Deliver("GPGLL,4807.038,N,01131.000,E,123521,A");
        QVERIFY(Nav->FixValid);
        QCOMPARE(Input->Watchdog().Misses(), 0);
        // The receiver falls quiet after its cycle, which ends it.
        QTRY_COMPARE_WITH_TIMEOUT(events, "OECOE", WaitMs);
    }

    // "Auto": a turn of noise moves on, a sentence earns a second turn, two keep the rate; many
    // broken lines in a row give it up, silence does not; after the last rate the first again.
    void baudSearch()
    {
        const struct { const char* Events; int Rate; bool Found; } steps[] = {
            // v a sentence with a valid checksum, x a broken line, t the end of a turn
            {"", 4800, false},   {"xxt", 9600, false}, {"vt", 9600, false}, {"t", 38400, false},
            {"vxv", 38400, true}, {"ttt", 38400, true}, {"xxxxxxxxxxxxxxxxxxxv", 38400, true},
            {"xxxxxxxxxxxxxxxxxxx", 38400, true}, {"x", 4800, false}, {"tttt", 19200, false}, {"tt", 4800, false},
        };
        BaudSearch search;
        QString done;
        for (const auto& [events, rate, found] : steps) {
            for (const char event : std::string_view(events))
                event == 't' ? search.TurnOver() : search.TakeLine(event == 'v');
            done += events;
            QVERIFY2(search.Rate() == rate && search.Found() == found, qPrintable(done));
        }
    }

    void autoBaudFindsTheSimulator_data()
    {
        QTest::addColumn<int>("rate");
        QTest::newRow("9600") << 9600;
        QTest::newRow("38400, the third tried") << 38400;
    }

    // The simulator's receiver talks at one rate; at any other its pseudo-terminal gives noise. "Auto"
    // listens at 4800 first, and finds the rate without ever taking noise for a sentence.
    void autoBaudFindsTheSimulator()
    {
        QFETCH(int, rate);
        const QString device = Dir->filePath(QStringLiteral("simulator"));
        QProcess simulator;
        simulator.start(QStringLiteral(SIMULATOR_PATH), {"--link", device, "--baud", QString::number(rate), "--count", "30"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(device), WaitMs);
        Link().Devices().SetOverride(1, device);
        int broken = 0;
        QList<int> validAt;
        connect(&Link(), &SerialLink::LineReceived, this, [&](const LineResult& line) {
            if (line.ChecksumValid)
                validAt << Link().BaudRate();
            else
                ++broken;
        });
        QSignalSpy found(&Link(), &SerialLink::FoundBaudRateChanged);
        Link().ChangeSettings(SerialSettings{}); // a first run's: "Auto", 8 data bits, no parity, 1 stop bit
        QCOMPARE(Link().BaudRate(), 4800);
        QVERIFY(!Link().FoundBaudRate());
        QTRY_COMPARE_WITH_TIMEOUT(Link().FoundBaudRate().value_or(0), rate, 6 * BaudSearch::Turn.count() * 2);
        QTRY_VERIFY_WITH_TIMEOUT(Nav->FixValid, WaitMs);
        QVERIFY(broken > 0);
        QVERIFY(!validAt.isEmpty() && std::all_of(validAt.begin(), validAt.end(), [rate](int at) { return at == rate; }));
        // The device reports the rate the port set.
        const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        termios line{};
        QVERIFY(fd >= 0 && ::tcgetattr(fd, &line) == 0);
        ::close(fd);
        QCOMPARE(::cfgetispeed(&line), rate == 9600 ? speed_t(B9600) : speed_t(B38400));
        // Kept through a reopen, as the watchdog makes them.
        Link().COMopenen();
        QCOMPARE(Link().FoundBaudRate().value_or(0), rate);
        simulator.kill();
        simulator.waitForFinished();
    }

    void devices()
    {
        PortDevices devices;
        const std::pair<int, const char*> defaults[] = {
            {1, "/dev/ttyUSB0"}, {8, "/dev/ttyUSB7"}, {9, "/dev/ttyACM0"}, {16, "/dev/ttyACM7"},
            {17, "/dev/ttyS0"},  {32, "/dev/ttyS15"}, {0, ""},              {33, ""},
        };
        for (const auto& [portNumber, device] : defaults)
            QCOMPARE(devices.Device(portNumber), QString(device));
        // An override replaces only its own port.
        devices.SetOverride(9, "/dev/serial/by-id/usb-gps");
        devices.SetOverride(33, "/dev/nowhere");
        QCOMPARE(devices.Device(9), QStringLiteral("/dev/serial/by-id/usb-gps"));
        QCOMPARE(devices.Device(10), QStringLiteral("/dev/ttyACM1"));
        QCOMPARE(devices.Device(33), QString());
        devices.SetOverride(9, QString());
        QCOMPARE(devices.Device(9), QStringLiteral("/dev/ttyACM0"));
    }

    void deviceEntries()
    {
        // The network receiver an entry names, "malformed", or "device" for a path; and what the
        // device line says of it before it is opened.
        const struct {
            QString Entry, Parsed, Line;
        } entries[] = {
            {"tcp://192.168.4.1:10110", "tcp 192.168.4.1:10110", "tcp://192.168.4.1:10110"},
            {"UDP://:10110", "udp :10110", "UDP://:10110"},
            {"udp://127.0.0.1:2000", "udp 127.0.0.1:2000", "udp://127.0.0.1:2000"},
            {"tcp://gateway", "malformed", "tcp://gateway"},
            {"tcp://:10110", "malformed", "tcp://:10110"},
            {"udp://:0", "malformed", "udp://:0"},
            {"tcp://h:10/x", "malformed", "tcp://h:10/x"},
            {"/nonexistent/gps", "device", "/nonexistent/gps \u2014 Not present"},
        };
        for (const auto& [entry, parsed, line] : entries) {
            const auto source = ParseNetworkSource(entry);
            const QString kind = source && source->Kind == NetworkSource::Transport::Udp ? "udp " : "tcp ";
            const QString where = source ? source->Host + ':' + QString::number(source->Port) : QString();
            QCOMPARE(!IsNetworkEntry(entry) ? "device" : !source ? "malformed" : kind + where, parsed);
            QCOMPARE(DeviceLine(entry, {}), line);
            QCOMPARE(DeviceLine(entry, "Connection refused"), entry + " \u2014 Connection refused");
        }
    }

private:
    SerialLink& Link() { return Input->Link(); }
    QString DevicePath() const { return Dir->filePath(QStringLiteral("gps")); }
    // Sends one line and waits until the intake has processed it.
    void DeliverLine(const std::string& line)
    {
        QSignalSpy lines(&Link(), &SerialLink::LineReceived);
        QVERIFY(Receiver->Send(line + "\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 1, WaitMs);
    }
    void Deliver(std::string_view body) { DeliverLine(WithNmeaChecksum(body)); }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            Input->Watchdog().Tick();
    }

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<FakeReceiver> Receiver;
    std::unique_ptr<NavState> Nav;
    std::unique_ptr<NmeaReceiver> Input;
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
