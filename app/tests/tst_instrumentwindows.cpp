// Opening, closing, restoring and walking the instrument windows from the main window, under the
// offscreen platform with a settings folder of its own.
#include "Basis.h"
#include "InstrumentWindow.h"
#include "NavState.h"
#include "Registry.h"
#include "RecordingHost.h"
#include "ScreenPlacement.h"
#include "WindowFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

QCheckBox* Box(Basis& basis, int number)
{
    return basis.findChild<QCheckBox*>(QStringLiteral("ActiveWindow%1").arg(number));
}

// Lets closed windows go (they are deleted later, never inside their own close handler).
void FinishClosing()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestInstrumentWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void boxOpensAndClosesItsWindow();
    void windowsOwnCloseUnticksItsBox();
    void geometryComesBackWhereItWasLeft();
    void zeroOrNegativeGeometryKeepsTheWindowsOwn();
    void windowLostOffScreenIsBroughtBack();
    void shutdownRecordsAndStartUpReopens();
    void brightnessReachesOpenAndLaterWindows();
    void freezeKeepsTheOuterRectangle();
    void alwaysOnTopActsOnWindowsOpenNow();
    void analogSpeedHasNoWindow();
    void bringOntoScreen_data();
    void bringOntoScreen();

private:
    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<Registry> Settings;
    std::unique_ptr<NavState> Nav;
    std::unique_ptr<Basis> Main;
};

void TestInstrumentWindows::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Settings = std::make_unique<Registry>(Registry::Locations{Dir->filePath("u.conf"), Dir->filePath("m/m.conf"),
                                                              Dir->filePath("u-m.conf")});
    QVERIFY(Settings->OpenSettingsKeys());
    Nav = std::make_unique<NavState>();
    Main = std::make_unique<Basis>(*Nav, *Settings, 0);
    Main->StartUp();
}

void TestInstrumentWindows::cleanup()
{
    Main.reset();
    FinishClosing();
    Nav.reset();
    Settings.reset();
    Dir.reset();
}

void TestInstrumentWindows::boxOpensAndClosesItsWindow()
{
    Box(*Main, 5)->setChecked(true);
    InstrumentWindow* speed = Main->Instruments().Window(5);
    QVERIFY(speed != nullptr);
    QVERIFY(speed->isVisible());
    QCOMPARE(speed->windowTitle(), QString("Digital Speed"));
    Box(*Main, 5)->setChecked(false);
    QVERIFY(!Main->Instruments().IsOpen(5));
    FinishClosing();
    QVERIFY(!Settings->ReadUserSetting("Views", "Width5").isEmpty());
}

void TestInstrumentWindows::windowsOwnCloseUnticksItsBox()
{
    Box(*Main, 3)->setChecked(true);
    QVERIFY(Main->Instruments().Window(3)->close());
    QVERIFY(!Box(*Main, 3)->isChecked());
    QVERIFY(!Main->Instruments().IsOpen(3));
    FinishClosing();
    QVERIFY(!Settings->ReadUserSetting("Views", "Left3").isEmpty());
    // It opens again from its box.
    Box(*Main, 3)->setChecked(true);
    QVERIFY(Main->Instruments().IsOpen(3));
}

void TestInstrumentWindows::geometryComesBackWhereItWasLeft()
{
    Box(*Main, 6)->setChecked(true);
    InstrumentWindow* position = Main->Instruments().Window(6);
    position->setGeometry(210, 160, 400, 170);
    const QRect outer = OuterGeometry(position);
    Box(*Main, 6)->setChecked(false);
    FinishClosing();
    Box(*Main, 6)->setChecked(true);
    QCOMPARE(OuterGeometry(Main->Instruments().Window(6)), outer);
}

void TestInstrumentWindows::zeroOrNegativeGeometryKeepsTheWindowsOwn()
{
    Settings->WriteUserSetting("Views", "Left4", "0");
    Settings->WriteUserSetting("Views", "Top4", "1800");
    Settings->WriteUserSetting("Views", "Width4", "-5");
    Settings->WriteUserSetting("Views", "Height4", "3000");
    Box(*Main, 4)->setChecked(true);
    const InstrumentWindow* dateTime = Main->Instruments().Window(4);
    const QRect outer = OuterGeometry(dateTime);
    QCOMPARE(outer.top(), 120);
    QCOMPARE(outer.height(), 200);
    QCOMPARE(outer.width(), qRound(3315 / dateTime->TwipsPerPixelX()) + FrameMargins(dateTime).left()
                                + FrameMargins(dateTime).right());
}

void TestInstrumentWindows::windowLostOffScreenIsBroughtBack()
{
    // Left on a second monitor that is gone now.
    Settings->WriteUserSetting("Views", "Left1", "60000");
    Settings->WriteUserSetting("Views", "Top1", "300");
    Box(*Main, 1)->setChecked(true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.intersects(OuterGeometry(Main->Instruments().Window(1))));
}

void TestInstrumentWindows::shutdownRecordsAndStartUpReopens()
{
    Box(*Main, 5)->setChecked(true);
    Box(*Main, 6)->setChecked(true);
    Settings->WriteUserSetting("Views", "Freeze", "True");
    Main->close();
    FinishClosing();
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(Settings->ReadUserSetting("Views", QStringLiteral("Active%1").arg(n)),
                 QString(n >= 5 ? "True" : "False"));
    QVERIFY(!Settings->ReadUserSetting("Views", "Height5").isEmpty());

    Settings->WriteUserSetting("Views", "Freeze", "True");
    Main = std::make_unique<Basis>(*Nav, *Settings, 0);
    Main->StartUp();
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(Main->Instruments().IsOpen(n), n >= 5);
    // Reopened first, then frozen.
    QVERIFY(Main->Instruments().Window(5)->windowFlags().testFlag(Qt::FramelessWindowHint));
    // A window opened while "Freeze position" is ticked keeps its frame until the box changes.
    Box(*Main, 3)->setChecked(true);
    QVERIFY(!Main->Instruments().Window(3)->windowFlags().testFlag(Qt::FramelessWindowHint));
}

void TestInstrumentWindows::brightnessReachesOpenAndLaterWindows()
{
    Nav->FixValid = true;
    Nav->Speed = 8.8f;
    Box(*Main, 5)->setChecked(true);
    InstrumentWindow* speed = Main->Instruments().Window(5);
    QTest::qWait(600); // one refresh tick shows the speed
    QCOMPARE(BrightestChannel(speed->grab().toImage()), 255);
    Main->findChild<QComboBox*>("BrightnessMode")->setCurrentText("Night");
    QVERIFY(BrightestChannel(speed->grab().toImage()) <= 64);
    Box(*Main, 6)->setChecked(true);
    QTest::qWait(600);
    QVERIFY(BrightestChannel(Main->Instruments().Window(6)->grab().toImage()) <= 64);
}

void TestInstrumentWindows::freezeKeepsTheOuterRectangle()
{
    Box(*Main, 3)->setChecked(true);
    InstrumentWindow* compass = Main->Instruments().Window(3);
    const QRect outer = OuterGeometry(compass);
    Main->findChild<QCheckBox*>("Freeze")->setChecked(true);
    QVERIFY(compass->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(compass->windowTitle().isEmpty());
    QCOMPARE(OuterGeometry(compass), outer);
    Main->findChild<QCheckBox*>("Freeze")->setChecked(false);
    QVERIFY(!compass->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(compass->windowTitle(), QString("Digital Compass"));
    QCOMPARE(OuterGeometry(compass), outer);
}

void TestInstrumentWindows::alwaysOnTopActsOnWindowsOpenNow()
{
    Box(*Main, 2)->setChecked(true);
    Main->findChild<QCheckBox*>("AlwaysOnTop")->setChecked(true);
    QVERIFY(Main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(Main->Instruments().Window(2)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    Box(*Main, 4)->setChecked(true);
    QVERIFY(!Main->Instruments().Window(4)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestInstrumentWindows::analogSpeedHasNoWindow()
{
    QVERIFY(!Box(*Main, 7)->isEnabled());
    Box(*Main, 7)->click();
    QVERIFY(!Box(*Main, 7)->isChecked());
}

void TestInstrumentWindows::bringOntoScreen_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("expected");
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("on screen") << QRect(100, 100, 300, 200) << QRect(100, 100, 300, 200);
    QTest::newRow("mostly off, corner reachable") << QRect(1800, 1000, 300, 200) << QRect(1800, 1000, 300, 200);
    QTest::newRow("a sliver only") << QRect(1900, 100, 300, 200) << QRect(810, 440, 300, 200);
    QTest::newRow("on a monitor that is gone") << QRect(4000, 100, 300, 200) << QRect(810, 440, 300, 200);
    QTest::newRow("above the screen") << QRect(100, -500, 300, 200) << QRect(810, 440, 300, 200);
    QTest::newRow("too large is shrunk") << QRect(5000, 0, 3000, 2000) << QRect(0, 0, 1920, 1080);
}

void TestInstrumentWindows::bringOntoScreen()
{
    QFETCH(QRect, window);
    QFETCH(QRect, expected);
    QCOMPARE(BringOntoScreen(window, {QRect(0, 0, 1920, 1080)}), expected);
}

QTEST_MAIN(TestInstrumentWindows)
#include "tst_instrumentwindows.moc"
