// The devozora program itself: a kill or Ctrl+C ends it through the same shutdown as closing the
// main window, so its settings are written.
#include "Registry.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestLifecycle : public QObject {
    Q_OBJECT

private slots:
    void signalEndsWithTheNormalShutdown_data();
    void signalEndsWithTheNormalShutdown();
};

void TestLifecycle::signalEndsWithTheNormalShutdown_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestLifecycle::signalEndsWithTheNormalShutdown()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Registry::Locations locations{dir.filePath("home/Quarvel/DevozOra.conf"),
                                        dir.filePath("etc/Quarvel/DevozOra.conf"),
                                        dir.filePath("home/Quarvel/DevozOra-machine.conf")};
    {
        Registry setup(locations);
        QVERIFY(setup.OpenSettingsKeys());
        setup.WriteMachineSetting("NMEA", "Baudrate", "4");
        setup.WriteMachineSetting("NMEA", "Device1", dir.filePath("no-receiver"));
    }

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", dir.filePath("home"));
    environment.insert("XDG_CONFIG_DIRS", dir.filePath("etc"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(DEVOZORA_PATH), {});
    QVERIFY(program.waitForStarted(10000));
    // Running once the GPSD listener answers (the first watchdog tick opens it).
    QVERIFY(QTest::qWaitFor([] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, 2947);
        return probe.waitForConnected(200);
    }, 20000));

    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    Registry after(locations);
    QVERIFY(after.OpenSettingsKeys());
    QCOMPARE(after.ReadUserSetting("Views", "Base"), QString("0"));
    QCOMPARE(after.ReadUserSetting("Local", "BrightnessMode"), QString("0"));
    QCOMPARE(after.ReadMachineSetting("NMEA", "Baudrate"), QString("4"));
    QCOMPARE(after.ReadMachineSetting("Local", "TimeDisplay"), QString("2"));
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
