// The devozora program itself, on a desktop with a window manager (tests/desktop/with-openbox.sh):
// its windows come back where they were, start after start, and every way it can end keeps the
// settings: the announced endings through the normal shutdown, the others because a change is
// written a moment after it is made.
#include "SettingsFolder.h"
#include "ShownWindow.h"

#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <csignal>

namespace {

// Window 6 at a stored place, window 3 where the window manager puts it.
const char Position[] = "Digital Position";
const char Compass[] = "Digital Compass";

} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT

private slots:
    void init();
    void answersItsOptionsWithoutADesktop();
    void restartsShowWindowsWhereTheyWere();
    void largeLayoutOnASmallScreen();
    void waylandSession();
    void endingsKeepTheSettings_data();
    void endingsKeepTheSettings(); // last: one of its endings takes the X server with it

private:
    bool Start(const QStringList& unset = {});
    QRect Stored(int number) const;
    // What the window manager shows of the window with that title; nothing shown, nothing viewable.
    ShownWindow Shown(const char* title) const { return ShownWindow::Of(title, true).value_or(ShownWindow()); }

    std::unique_ptr<QTemporaryDir> Dir;
    SettingsStore::Locations Locations;
    std::unique_ptr<QProcess> Program;
};

void TestLifecycle::init()
{
    if (qEnvironmentVariableIntValue("DEVOZORA_TEST_XSERVER_PID") <= 0)
        QSKIP("needs the desktop of tests/desktop/with-openbox.sh");
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Locations = SettingsIn(*Dir);
    SettingsStore setup(Locations);
    QVERIFY(setup.OpenSettingsKeys());
    setup.WriteMachineSetting("NMEA", "Baudrate", "4");
    setup.WriteMachineSetting("NMEA", "Device1", Dir->filePath("no-receiver"));
    // The servers on ports nothing listens on now, let go before the program takes them: it needs
    // none of the usual ones, which a gpsd of the system may hold.
    QTcpServer gpsd, nmea;
    QVERIFY(gpsd.listen(QHostAddress::Any, 0) && nmea.listen(QHostAddress::Any, 0));
    setup.WriteMachineSetting("GPSD", "Port", QString::number(gpsd.serverPort()));
    setup.WriteMachineSetting("NMEA", "TcpPort", QString::number(nmea.serverPort()));
    setup.WriteMachineSetting("Web", "Port", "0");
    for (const auto& [name, value] : {std::pair{"Active3", "True"}, {"Active6", "True"}, {"Left6", "3000"},
                                      {"Top6", "2400"}, {"Width6", "4500"}, {"Height6", "1800"}})
        setup.WriteUserSetting("Views", name, value);
}

// The program on this desktop, without the environment variables named in unset.
bool TestLifecycle::Start(const QStringList& unset)
{
    Program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", Dir->filePath("home"));
    environment.insert("XDG_CONFIG_DIRS", Dir->filePath("etc"));
    for (const QString& name : unset)
        environment.remove(name);
    Program->setProcessEnvironment(environment);
    Program->start(QStringLiteral(DEVOZORA_PATH), {});
    return Program->waitForStarted(10000);
}

QRect TestLifecycle::Stored(int number) const
{
    SettingsStore settings(Locations);
    return settings.OpenSettingsKeys() ? StoredOuter(settings, number) : QRect();
}

void TestLifecycle::answersItsOptionsWithoutADesktop()
{
    for (const auto& [option, answer] : {std::pair{"--version", "devozora "}, {"-h", "Usage: devozora\n"}}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DEVOZORA_PATH), {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardOutput().startsWith(answer));
    }
}

// Three starts, the second while the window manager is too busy to frame anything for a while:
// each shows the windows exactly where the last one left them, which is what it stored.
void TestLifecycle::restartsShowWindowsWhereTheyWere()
{
    QRect compass;
    for (int run = 1; run <= 3; ++run) {
        if (run == 2)
            ::kill(qEnvironmentVariableIntValue("DEVOZORA_TEST_WM_PID"), SIGSTOP);
        QVERIFY(Start());
        if (run == 2) {
            QTest::qWait(1500);
            ::kill(qEnvironmentVariableIntValue("DEVOZORA_TEST_WM_PID"), SIGCONT);
        }
        QTRY_VERIFY_WITH_TIMEOUT(Shown(Compass).Viewable, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(Shown(Position).Outer, QRect(200, 160, 300, 120), 10000);
        if (run == 1)
            compass = Shown(Compass).Outer;
        QTRY_COMPARE_WITH_TIMEOUT(Shown(Compass).Outer, compass, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(Stored(3), compass, 10000);
        Program->terminate();
        QVERIFY(Program->waitForFinished(20000));
        QCOMPARE(Stored(3), compass);
        QCOMPARE(Stored(6), QRect(200, 160, 300, 120));
    }
}

// A layout made on a 1920 x 1080 monitor, the program started on a 7-inch display of 800 x 480
// (with-openbox.sh --screen 800x480): every window wholly on the screen, none over the main window
// or over another, and that is what is stored.
void TestLifecycle::largeLayoutOnASmallScreen()
{
    if (qEnvironmentVariable("DEVOZORA_TEST_SCREEN") != QStringLiteral("800x480"))
        QSKIP("for the 800 x 480 screen of with-openbox.sh --screen 800x480");
    const QRect large[] = {{1380, 40, 520, 540}, {480, 40, 880, 220}, {480, 280, 300, 150},
                           {800, 280, 560, 160}, {480, 460, 420, 200}, {920, 460, 440, 160}};
    {
        SettingsStore setup(Locations);
        QVERIFY(setup.OpenSettingsKeys());
        for (int n = 1; n <= 6; ++n) {
            const QRect& r = large[n - 1];
            const QString number = QString::number(n);
            setup.WriteUserSetting("Views", "Active" + number, "True");
            for (const auto& [name, pixels] : {std::pair{"Left", r.x()}, {"Top", r.y()}, {"Width", r.width()}, {"Height", r.height()}})
                setup.WriteUserSetting("Views", name + number, QString::number(pixels * 15));
        }
    }
    QVERIFY(Start());
    const char* titles[] = {"Quarvel Vexo Devozora", "Satelite View", "Analog Compass", "Digital Compass",
                            "Date and Time", "Digital Speed", "Digital Position"};
    const auto settled = [&] {
        for (int n = 0; n <= 6; ++n) {
            if (!Shown(titles[n]).Viewable || (n > 0 && Stored(n) != Shown(titles[n]).Outer))
                return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(settled(), 10000);
    QList<QRect> shown;
    for (const char* title : titles)
        shown << Shown(title).Outer;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QVERIFY2(QRect(0, 0, 800, 480).contains(shown[i]), titles[i]);
        for (qsizetype j = 0; j < i; ++j)
            QVERIFY2(!shown[i].intersects(shown[j]), qPrintable(QStringLiteral("%1 over %2").arg(titles[i], titles[j])));
    }
    Program->terminate();
    QVERIFY(Program->waitForFinished(20000));
}

// A Wayland session (with-openbox.sh --wm weston): with XWayland the program runs through it and
// shows a stored window where it was, start after start, to the pixel; without XWayland it runs
// on Wayland and says, once, what it cannot keep there.
void TestLifecycle::waylandSession()
{
    if (qEnvironmentVariable("DEVOZORA_TEST_WM") != QStringLiteral("weston"))
        QSKIP("for the Wayland session of with-openbox.sh --wm weston");
    // Where the window is once weston has framed and placed it and it stays put for a second.
    const auto steady = [this] {
        QRect before;
        for (int look = 0, same = 0; look < 60 && same < 4; ++look) {
            const ShownWindow now = Shown(Position);
            same = now.Viewable && now.Outer == before ? same + 1 : 0;
            before = now.Outer;
            QTest::qWait(250);
        }
        return before;
    };
    QRect shown;
    for (int run = 1; run <= 2; ++run) {
        QVERIFY(Start());
        if (run == 1)
            shown = steady();
        QCOMPARE(steady(), shown);
        Program->terminate();
        QVERIFY(Program->waitForFinished(20000));
        QCOMPARE(Stored(6), QRect(200, 160, 300, 120));
        QVERIFY(!Program->readAllStandardError().contains("Wayland"));
    }
    QVERIFY(Start({"DISPLAY"}));
    QByteArray said;
    const char notKept[] = "devozora: Wayland without XWayland: the compositor places the windows";
    QTRY_VERIFY_WITH_TIMEOUT((said += Program->readAllStandardError()).contains(notKept), 10000);
    QTest::qWait(1000);
    QCOMPARE(Program->state(), QProcess::Running);
    said += Program->readAllStandardError();
    QVERIFY2(said.count(notKept) == 1 && !said.contains("without a screen"), said.constData());
    Program->terminate();
    QVERIFY(Program->waitForFinished(20000));
    QCOMPARE(Program->exitCode(), 0);
}

void TestLifecycle::endingsKeepTheSettings_data()
{
    QTest::addColumn<int>("signal");      // to the program; 0: the X server is killed instead
    QTest::addColumn<bool>("normalExit"); // through the whole shutdown, exit code 0
    QTest::newRow("SIGTERM") << SIGTERM << true;
    QTest::newRow("SIGINT") << SIGINT << true;
    QTest::newRow("SIGHUP") << SIGHUP << true;
    QTest::newRow("SIGKILL") << SIGKILL << false;
    QTest::newRow("X server lost") << 0 << false;
}

// A window moved a few seconds before the end is stored where it was moved to.
void TestLifecycle::endingsKeepTheSettings()
{
    QFETCH(int, signal);
    QFETCH(bool, normalExit);
    QVERIFY(Start());
    QTRY_VERIFY_WITH_TIMEOUT(Shown(Position).Viewable, 10000);
    QProcess::execute("xdotool", {"search", "--name", QString("^%1$").arg(Position), "windowmove", "321", "234"});
    QTRY_VERIFY_WITH_TIMEOUT(Shown(Position).Outer.topLeft() != QPoint(200, 160), 10000);
    QTest::qWait(3000);
    const QRect moved = Shown(Position).Outer;

    const qint64 pid = signal != 0 ? Program->processId() : qEnvironmentVariableIntValue("DEVOZORA_TEST_XSERVER_PID");
    ::kill(static_cast<pid_t>(pid), signal != 0 ? signal : SIGTERM);
    QVERIFY(Program->waitForFinished(20000));
    if (normalExit) {
        QCOMPARE(Program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(Program->exitCode(), 0);
    }
    QCOMPARE(Stored(6), moved);
    SettingsStore after(Locations);
    QVERIFY(after.OpenSettingsKeys());
    QCOMPARE(after.ReadUserSetting("Views", "Active6"), QString("True"));
    QCOMPARE(after.ReadMachineSetting("Local", "TimeDisplay"), QString("2"));
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
