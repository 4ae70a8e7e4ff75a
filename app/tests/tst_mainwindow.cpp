// Start-up and shutdown of the main window with a settings folder of its own and the simulator's
// receiver on a pseudo-terminal: what is restored, how often the port opens, what is written back,
// and how "Auto" follows the sun.
#include "FixDateTime.h"
#include "InstrumentWindow.h"
#include "MainWindow.h"
#include "NavState.h"
#include "PathLine.h"
#include "ReceptionIndicator.h"
#include "RecordingHost.h"
#include "SettingsFolder.h"
#include "Unprivileged.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int WaitMs = 10000;

QString Selected(MainWindow& mainWindow, const char* name)
{
    return mainWindow.findChild<QComboBox*>(QString::fromLatin1(name))->currentText();
}

// Every control has a size and stands inside its page or frame, clear of its left edge, below the
// frame's title and clear of every other (neighbours as designed may share a pixel).
void VerifyNothingOverlaps(const QWidget& parent)
{
    const QList<QWidget*> children = parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const int title = qobject_cast<const QGroupBox*>(&parent) ? parent.fontMetrics().height() : 0;
    for (qsizetype i = 0; i < children.size(); ++i) {
        const QRect r = children[i]->geometry();
        QVERIFY2(!r.isEmpty() && r.top() >= title && r.left() > 0 && parent.rect().contains(r), qPrintable(children[i]->objectName()));
        for (qsizetype j = 0; j < i; ++j)
            QVERIFY2(!r.adjusted(1, 1, -1, -1).intersects(children[j]->geometry()), qPrintable(children[i]->objectName() + " " + children[j]->objectName()));
        if (qobject_cast<const QGroupBox*>(children[i]))
            VerifyNothingOverlaps(*children[i]);
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startsFromDefaults_data();
    void startsFromDefaults();
    void storedSettingsComeBackAndAutoFollowsTheSun();
    void changesAndShutdownWriteEverySettingWhereItBelongs();
    void deviceLineKeepsItsAdvice();
    void unwritableSettingsOnTheBottomLine();

private:
    std::unique_ptr<QTemporaryDir> Dir;
};

void TestMainWindow::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
}

void TestMainWindow::startsFromDefaults_data()
{
    QTest::addColumn<QString>("stored"); // in every list, TimeDisplay and Base; nothing on a first run
    QTest::newRow("first run") << QString();
    QTest::newRow("no selection") << "-1";
    QTest::newRow("the first entry, below the display choices") << "0";
    QTest::newRow("far beyond the lists, in exponent form") << "1e9";
}

// A stored position outside its list (the "-1" of a list that had no selection, a hand-edited
// file) gives the entry of a first run: the serial lists as NMEA 0183 has it, the rate found by
// trying. A stored position keeps its meaning, 0 the first entry.
void TestMainWindow::startsFromDefaults()
{
    QFETCH(QString, stored);
    if (!stored.isEmpty()) {
        SettingsStore setup(SettingsIn(*Dir));
        QVERIFY(setup.OpenSettingsKeys());
        for (const char* name : {"COMport", "Baudrate", "Wordbits", "StopBits", "Parity", "HandShake"})
            setup.WriteMachineSetting("NMEA", name, stored);
        setup.WriteMachineSetting("Local", "UTChours", stored);
        setup.WriteMachineSetting("Local", "TimeDisplay", stored);
        setup.WriteUserSetting("Local", "BrightnessMode", stored);
        setup.WriteUserSetting("Views", "Base", stored);
    }
    NavState nav;
    SettingsStore store(SettingsIn(*Dir));
    QVERIFY(store.OpenSettingsKeys());
    MainWindow mainWindow(nav, store, {0, 0, 0});
    mainWindow.StartUp();
    const bool first = stored == QStringLiteral("0");
    for (const auto& [list, entry] : {std::pair{"PortNumber", "COM1"}, {"Baudrate", first ? "300" : "Auto"}, {"WordBits", first ? "6" : "8"}, {"StopBits", "1"},
                                      {"Parity", "none"}, {"HandShake", "none"}, {"UtcDifference", "AUTO"}, {"BrightnessMode", "Daylight"}})
        QCOMPARE(Selected(mainWindow, list), QString(entry));
    const auto* utc = mainWindow.findChild<QComboBox*>("UtcDifference"); // after "AUTO", from west to east
    QCOMPARE(utc->count(), 35);
    for (int i = 2; i < utc->count(); ++i)
        QVERIFY2(EntryUtcDifference(utc->itemText(i - 1)) < EntryUtcDifference(utc->itemText(i)), qPrintable(utc->itemText(i)));
    QVERIFY(mainWindow.findChild<QRadioButton*>("TimeDisplay2")->isChecked());
    QVERIFY(!mainWindow.findChild<QCheckBox*>("ActiveWindow7")->isEnabled());
    QCOMPARE(mainWindow.findChild<QTabWidget*>("Tabs")->currentIndex(), 0);
    QCOMPARE(mainWindow.windowState(), Qt::WindowNoState);
    QCOMPARE(nav.TimeError, 0.005f);
    QCOMPARE(nav.ClimbText, std::string("?"));
    QCOMPARE(mainWindow.Server().TcpListener().MaxClients(), 64);
    QCOMPARE(mainWindow.Server().TcpListener().KeepAlive(), std::chrono::seconds(180));
    mainWindow.show();
    auto* tabs = mainWindow.findChild<QTabWidget*>("Tabs");
    QSet<int> lefts; // of the frames and the text box, which line up a margin in on every page
    for (int tab = 0; tab < tabs->count(); ++tab) {
        VerifyNothingOverlaps(*tabs->widget(tab));
        for (const QWidget* child : tabs->widget(tab)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            lefts << child->x();
    }
    QVERIFY2(lefts.size() == 1 && *lefts.begin() > 0, qPrintable(QString::number(*lefts.begin())));
}

// The simulator's receiver at the equator on the evening of the March equinox, from 17:30 UTC (the
// sun 9 degrees up) to 18:45 (9 below), ten seconds an epoch at a hundredth of a second each. The
// stored settings come back, the port opens once, and "Auto" lights the open windows through every
// level, each once and in order, in red once it is dark. The GPSD port, held by another program
// at first, is taken as soon as it is free.
void TestMainWindow::storedSettingsComeBackAndAutoFollowsTheSun()
{
    const QString device = Dir->filePath(QStringLiteral("simulator"));
    QProcess simulator;
    simulator.start(QStringLiteral(SIMULATOR_PATH), {"--link", device, "--delay", "1", "--start", "2026-03-20T17:30:00Z",
                                                     "--lat", "0", "--lon", "0", "--rate", "0.1", "--speed", "1000", "--count", "450"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(device), WaitMs);
    QTcpServer otherProgram;
    QVERIFY(otherProgram.listen(QHostAddress::LocalHost, 0));
    const quint16 held = otherProgram.serverPort();
    {
        SettingsStore setup(SettingsIn(*Dir));
        QVERIFY(setup.OpenSettingsKeys());
        setup.WriteMachineSetting("NMEA", "Device1", device);
        setup.WriteMachineSetting("NMEA", "Baudrate", "4");
        setup.WriteMachineSetting("NMEA", "WordBits", "2");
        setup.WriteMachineSetting("Local", "UTChours", "24");
        setup.WriteMachineSetting("Local", "TimeDisplay", "1");
        setup.WriteMachineSetting("Local", "DaylightSaving", "TRUE");
        setup.WriteUserSetting("Local", "BrightnessMode", "4");
        setup.WriteUserSetting("Local", "NightRed", "true");
        setup.WriteUserSetting("Views", "Active6", "True");
        setup.WriteMachineSetting("GPSD", "Port", QString::number(held));
        setup.WriteMachineSetting("GPSD", "Listen", "localhost");
        setup.WriteMachineSetting("GPSD", "KeepAlive", "5");
    }
    NavState nav;
    SettingsStore store(SettingsIn(*Dir));
    QVERIFY(store.OpenSettingsKeys());
    MainWindow mainWindow(nav, store, {0, 0, 0});
    QSignalSpy opened(&mainWindow.Receiver().Link(), &SerialLink::PortOpened);
    QSignalSpy applied(&mainWindow, &MainWindow::BrightnessApplied);
    QSignalSpy told(&mainWindow.Server().TcpListener(), &PortListener::ProblemChanged);
    mainWindow.StartUp();
    mainWindow.show();
    QCOMPARE(opened.count(), 1);
    QCOMPARE(mainWindow.findChild<QLabel*>("PortDevice")->toolTip(), device);
    QCOMPARE(Selected(mainWindow, "Baudrate"), QString("4800"));
    QCOMPARE(Selected(mainWindow, "WordBits"), QString("8"));
    QCOMPARE(Selected(mainWindow, "UtcDifference"), QString("+5:45"));
    QCOMPARE(Selected(mainWindow, "BrightnessMode"), QString("Auto"));
    QCOMPARE(mainWindow.findChild<QLabel*>("AutoChoice")->text(), QString("Daylight until a fix with a date"));
    QVERIFY(mainWindow.findChild<QRadioButton*>("TimeDisplay1")->isChecked());
    QVERIFY(mainWindow.findChild<QCheckBox*>("DaylightSaving")->isChecked());
    QVERIFY(mainWindow.findChild<QCheckBox*>("NightRed")->isChecked());
    QVERIFY(mainWindow.Receiver().Link().IsOpen());
    QCOMPARE(mainWindow.Server().TcpListener().KeepAlive(), std::chrono::seconds(5));

    // The indicator goes green with the characters after a recognised line; the watchdog's tick
    // blinks it black.
    auto* indicator = mainWindow.findChild<ReceptionIndicator*>("ReceptionIndicator");
    QTRY_COMPARE_WITH_TIMEOUT(indicator->Colour(), IndicatorColour::Green, WaitMs);
    mainWindow.Receiver().Watchdog().Tick();
    QCOMPARE(indicator->Colour(), IndicatorColour::Black);
    // The received lines reach the text box only once its tab is shown.
    auto* screening = mainWindow.findChild<QPlainTextEdit*>("InputScreening");
    QCOMPARE(screening->toPlainText(), QString());
    mainWindow.findChild<QTabWidget*>("Tabs")->setCurrentIndex(1);
    const QString lines = screening->toPlainText(); // whole lines as far as they came, no CR, no empty last one
    QVERIFY2(QRegularExpression(R"(^(\$GP[A-Z]{3},[^\r\n]*\*[0-9A-F]{2}\n)*\$GP[A-Z]{3},[^\r\n]*\*[0-9A-F]{2}$)").match(lines).hasMatch(),
             qPrintable(lines));
    // The GPSD port is held by another program: the window says so, once, and every tick tries
    // again until the port is free.
    mainWindow.Receiver().Watchdog().Tick();
    auto* status = mainWindow.findChild<QLabel*>("StatusLine");
    QCOMPARE(status->text(), QString("GPSD port %1 is in use by another program; trying again").arg(held));
    QCOMPARE(told.count(), 1);
    otherProgram.close();
    mainWindow.Receiver().Watchdog().Tick();
    QVERIFY(status->text().startsWith("DevozOra "));
    QCOMPARE(told.count(), 2);
    QVERIFY(mainWindow.Server().IsListening());
    QCOMPARE(mainWindow.Server().Port(), held);
    QCOMPARE(mainWindow.Server().TcpListener().serverAddress(), QHostAddress(QHostAddress::LocalHost));
    // At a glance on the first tab: the simulator's 3D fix, and two plotters taking it.
    mainWindow.findChild<QTabWidget*>("Tabs")->setCurrentIndex(0);
    auto* glance = mainWindow.findChild<QLabel*>("AtAGlance");
    QTcpSocket plotters[2];
    for (QTcpSocket& plotter : plotters)
        plotter.connectToHost(QHostAddress::LocalHost, held);
    const QRegularExpression fix(QStringLiteral("^3D fix \u00B7 \\d+ of \\d+ satellites used \u00B7 fix \\d+(\\.\\d)? s old \u00B7 \\d+(\\.\\d)? sentences/s\n"
                                                "GPSD on port %1: 2 clients \u00B7 NMEA server off \u00B7 Web page off$").arg(held));
    QTRY_VERIFY2_WITH_TIMEOUT(fix.match(glance->text()).hasMatch(), qPrintable(glance->text()), WaitMs);
    // Any serial list change reopens the port once, with the whole selection.
    mainWindow.findChild<QComboBox*>("Baudrate")->setCurrentIndex(5);
    QCOMPARE(opened.count(), 2);
    QCOMPARE(QString::fromStdString(SettingsText(mainWindow.Receiver().Link().Settings(), mainWindow.Receiver().Link().BaudRate())),
             QString("9600,n,8,1"));

    QTRY_COMPARE_WITH_TIMEOUT(simulator.state(), QProcess::NotRunning, 60'000);
    QStringList modes;
    for (const QList<QVariant>& signal : applied)
        modes << signal.front().toString();
    QCOMPARE(modes, QStringList({"Shade", "Dusk", "Night"}));
    QVERIFY(mainWindow.findChild<QLabel*>("AutoChoice")->text().startsWith("Now Night, the sun at -"));
    QCOMPARE(Brightest(mainWindow.Instruments().Window(6)->grab().toImage()), QColor(64, 0, 0));
    // The main window is as dark and as red as the instruments, lists and their popups included.
    auto* brightness = mainWindow.findChild<QComboBox*>("BrightnessMode");
    brightness->showPopup();
    for (QWidget* shown : {static_cast<QWidget*>(&mainWindow), brightness->view()->window()}) {
        const QColor brightest = Brightest(shown->grab().toImage());
        QVERIFY2(brightest.green() + brightest.blue() == 0 && brightest.red() <= 64 && brightest.red() >= 48, qPrintable(brightest.name()));
    }
    brightness->hidePopup();
    // Lost with the simulator gone; the glance says when the last fix came.
    QTRY_VERIFY2_WITH_TIMEOUT(glance->text().startsWith(QStringLiteral("No fix \u00B7 ")) && glance->text().contains(" \u00B7 last fix "),
                              qPrintable(glance->text()), WaitMs);
    // B in a window dims from the level "Auto" shows: at night it stays at night; Shift+B brightens.
    QTest::keyClick(mainWindow.Instruments().Window(6), Qt::Key_B);
    QCOMPARE(brightness->currentText(), QString("Night"));
    QCOMPARE(Brightest(mainWindow.Instruments().Window(6)->grab().toImage()), QColor(64, 0, 0));
    QTest::keyClick(mainWindow.Instruments().Window(6), Qt::Key_B, Qt::ShiftModifier);
    QCOMPARE(brightness->currentText(), QString("Dusk"));
}

// A change reaches the file a moment after it is made, without waiting for the end; the end
// writes every setting, each to its own scope.
void TestMainWindow::changesAndShutdownWriteEverySettingWhereItBelongs()
{
    NavState nav;
    SettingsStore store(SettingsIn(*Dir));
    QVERIFY(store.OpenSettingsKeys());
    const auto inFile = [this](bool machine, const char* subkey, const char* name) {
        SettingsStore file(SettingsIn(*Dir));
        return !file.OpenSettingsKeys() ? QString() : machine ? file.ReadMachineSetting(subkey, name) : file.ReadUserSetting(subkey, name);
    };
    {
        MainWindow mainWindow(nav, store, {0, 0, 0});
        mainWindow.StartUp();
        mainWindow.findChild<QComboBox*>("Parity")->setCurrentIndex(4);
        mainWindow.findChild<QComboBox*>("BrightnessMode")->setCurrentIndex(2);
        QTRY_COMPARE(inFile(true, "NMEA", "Parity"), QString("4"));
        QCOMPARE(inFile(false, "Local", "BrightnessMode"), QString("2"));
        mainWindow.findChild<QComboBox*>("WordBits")->setCurrentIndex(2);
        mainWindow.findChild<QCheckBox*>("Freeze")->setChecked(true);
        mainWindow.close();
        QVERIFY(!mainWindow.Receiver().Link().IsOpen());
    }
    QCOMPARE(inFile(true, "NMEA", "Wordbits"), QString("2"));
    QCOMPARE(inFile(false, "Views", "Freeze"), QString("True"));
    QCOMPARE(store.ReadMachineSetting("NMEA", "COMport"), QString("0"));
    QCOMPARE(store.ReadMachineSetting("Local", "TimeDisplay"), QString("2"));
    QCOMPARE(store.ReadMachineSetting("Local", "DaylightSaving"), QString("False"));
    QCOMPARE(store.ReadMachineSetting("Local", "UTChours"), QString("0"));
    QCOMPARE(store.ReadUserSetting("Views", "AlwaysOnTop"), QString("False"));
    QCOMPARE(store.ReadUserSetting("Local", "NightRed"), QString("False"));
    QCOMPARE(store.ReadUserSetting("Views", "Base"), QString("0"));
    // Each value lives in its own scope only.
    QCOMPARE(store.ReadUserSetting("NMEA", "Parity"), QString());
    QCOMPARE(store.ReadMachineSetting("Local", "BrightnessMode"), QString());
}

// However long the device's path and the advice, the advice stands whole in the device line's two
// lines, and so does the path where there is room for it.
void TestMainWindow::deviceLineKeepsItsAdvice()
{
    NavState nav;
    SettingsStore store(SettingsIn(*Dir));
    QVERIFY(store.OpenSettingsKeys());
    MainWindow mainWindow(nav, store, {0, 0, 0});
    auto* line = mainWindow.findChild<QLabel*>("PortDevice");
    const QString byId = "/dev/serial/by-id/usb-u-blox_AG_-_www.u-blox.com_u-blox_7_-_GPS_GNSS_Receiver-if00";
    const std::pair<QString, QString> rows[] = {{"/dev/ttyUSB0", " \u2014 Permission denied: add yourself to the dialout group"},
                                                {byId, " \u2014 Permission denied: add yourself to the dialout group"},
                                                {byId, " \u2014 Not present"},
                                                {"/dev/ttyS0", " \u2014 U-Blox AG u-blox 7 - GPS/GNSS Receiver"}};
    for (const auto& [device, advice] : rows) {
        const QString text = PathLine(line->fontMetrics(), line->width(), {}, device, advice, true);
        line->setText(text);
        QVERIFY2(text.endsWith(advice) && line->heightForWidth(line->width()) <= line->height(), qPrintable(text));
        QVERIFY2(text.startsWith(device) == (device != byId), qPrintable(text));
    }
}

// A settings folder that cannot be written: the bottom line says so with the path, shortened where
// it must be, and the reason, the tooltip with all of it; and that it works again once it does.
void TestMainWindow::unwritableSettingsOnTheBottomLine()
{
    if (!ModeBitsBindUs())
        return RunAsUnprivilegedUser();
    const SettingsStore::Locations where = SettingsIn(*Dir);
    {
        SettingsStore setup(where);
        QVERIFY(setup.OpenSettingsKeys());
        setup.WriteUserSetting("Views", "Base", "0");
    }
    const QString folder = QFileInfo(where.UserFile).absolutePath();
    auto locked = std::make_unique<WriteProtected>(folder);
    NavState nav;
    SettingsStore store(where);
    QVERIFY(store.OpenSettingsKeys());
    MainWindow mainWindow(nav, store, {0, 0, 0});
    const auto* status = mainWindow.findChild<QLabel*>("StatusLine");
    QVERIFY2(status->text().startsWith("Settings not saved: ") && status->text().endsWith(QStringLiteral("DevozOra.conf (its folder: Permission denied)")),
             qPrintable(status->text()));
    QVERIFY(status->toolTip().contains(QStringLiteral("cannot be written to %1 (its folder %2: Permission denied)").arg(where.UserFile, folder)));
    locked.reset();
    store.WriteUserSetting("Views", "Base", "2");
    store.Flush();
    QCOMPARE(status->text(), QString("Settings saved again"));
    QCOMPARE(status->toolTip(), QStringLiteral("The settings are written to %1 again.").arg(where.UserFile));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
