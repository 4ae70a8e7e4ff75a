// The instrument windows of the main window under a real window manager (openbox, started around
// this test by tests/desktop/with-openbox.sh): where they appear, and where the window manager
// shows them through every change the main window makes, measured with the X tools.
#include "InstrumentWindow.h"
#include "MainWindow.h"
#include "NavState.h"
#include "RecordingHost.h"
#include "SettingsFolder.h"
#include "ShownWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {

const QRect Screen(0, 0, 1280, 1024);

// Lets closed windows go (they are deleted later, never inside their own close handler).
void FinishClosing()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the window system sees of a rectangle of the program's (logical) pixels, at a scale factor.
QRect InDevicePixels(const QRect& rect, qreal scale)
{
    return QRect(qRound(rect.x() * scale), qRound(rect.y() * scale), qRound(rect.width() * scale), qRound(rect.height() * scale));
}

// The window as the window manager shows it (in the X server's pixels) once the window manager and
// the program agree on where it is and the program is not waiting for a frame any more.
std::optional<ShownWindow> Settled(QWidget* window)
{
    std::optional<ShownWindow> shown;
    const auto* instrument = qobject_cast<InstrumentWindow*>(window);
    const qreal scale = window->devicePixelRatio();
    const bool agreed = QTest::qWaitFor([&] {
        shown = ShownWindow::Of(QString::number(window->windowHandle()->winId()));
        // The program knows the frame in its own pixels, rounded from the X server's.
        const QMargins off = shown ? shown->Frame - window->windowHandle()->frameMargins() * scale : QMargins();
        const int slack = scale == 1 ? 0 : 1;
        return shown && shown->Viewable && (instrument == nullptr || instrument->Frame().Settled())
               && shown->Client() == InDevicePixels(window->geometry(), scale)
               && std::max({std::abs(off.left()), std::abs(off.top()), std::abs(off.right()), std::abs(off.bottom())}) <= slack;
    }, 10000);
    if (!agreed)
        qWarning() << window->windowTitle() << "shown at" << (shown ? shown->Client() : QRect()) << "program has" << window->geometry();
    return agreed ? shown : std::nullopt;
}

// Every text of a digital window wholly inside it.
bool TextsInside(const QWidget* window)
{
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    return std::all_of(labels.begin(), labels.end(), [window](const QLabel* label) {
        const bool inside = window->rect().contains(label->geometry());
        if (!inside)
            qWarning() << label->objectName() << label->text() << label->geometry() << "in" << window->size();
        return inside;
    });
}

bool Above(const QWidget* window)
{
    return ShownWindow::Of(QString::number(window->windowHandle()->winId())).value_or(ShownWindow()).Above;
}

enum class Change { Freeze, AlwaysOnTop, Untick, Close };

} // namespace

class TestInstrumentWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstRunPlacesEveryWindowOnTheScreen();
    void storedGeometryIsShown_data();
    void storedGeometryIsShown();
    void cyclesLeaveWindowsWhereTheyWere_data();
    void cyclesLeaveWindowsWhereTheyWere();
    void shutdownRecordsAndStartUpReopens();
    void frozenAtAScaleFactor();
    void screenShrinks();

private:
    void Start();
    QCheckBox* Box(int number) const { return Main->findChild<QCheckBox*>(QStringLiteral("ActiveWindow%1").arg(number)); }
    QCheckBox* Control(const char* name) const { return Main->findChild<QCheckBox*>(name); }
    InstrumentWindow* Window(int number) const { return Main->Instruments().Window(number); }
    QRect StoredOuter(int number) const { return ::StoredOuter(*Settings, number); }

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<SettingsStore> Settings;
    std::unique_ptr<NavState> Nav;
    std::unique_ptr<MainWindow> Main;
};

void TestInstrumentWindows::initTestCase()
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || qEnvironmentVariableIsEmpty("DEVOZORA_TEST_WM_PID"))
        QSKIP("needs the desktop of tests/desktop/with-openbox.sh");
    // The places in the tables are those of the harness's own desktop; the runs on other desktops
    // run the tests that do not depend on them.
    if (qEnvironmentVariable("DEVOZORA_TEST_WM") == QStringLiteral("openbox") && qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), Screen);
}

void TestInstrumentWindows::init()
{
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    Settings = std::make_unique<SettingsStore>(SettingsIn(*Dir));
    QVERIFY(Settings->OpenSettingsKeys());
    Nav = std::make_unique<NavState>();
}

void TestInstrumentWindows::cleanup()
{
    Main.reset();
    FinishClosing();
    Nav.reset();
    Settings.reset();
    Dir.reset();
}

// As the program starts: the stored windows first, then the main window.
void TestInstrumentWindows::Start()
{
    Main = std::make_unique<MainWindow>(*Nav, *Settings, ServerPorts{0, 0, 0});
    Main->StartUp();
    Main->show();
}

// No geometry stored anywhere, all six windows and "Always on top" stored: the window manager
// places every window, the main window included, apart and with its title bar on the screen, and
// what is stored is what it shows. Every text fits its window there, the longest names of a
// date's weekday and month included, and again when the frames go.
void TestInstrumentWindows::firstRunPlacesEveryWindowOnTheScreen()
{
    for (int n = 1; n <= 6; ++n)
        Settings->WriteUserSetting("Views", QStringLiteral("Active%1").arg(n), "True");
    Settings->WriteUserSetting("Views", "AlwaysOnTop", "True");
    Nav->FixValid = true;
    Nav->UtcTimeText = "235959";
    Nav->UtcDateText = "300926"; // Wednesday, 30 September 2026
    Nav->Latitude = -33.515f;
    Nav->Longitude = -151.12f;
    Nav->Speed = 999.9f;
    Nav->Course = 359.9f;
    Start();
    QList<QPoint> corners;
    for (int n = 0; n <= 6; ++n) {
        const std::optional<ShownWindow> shown = Settled(n == 0 ? static_cast<QWidget*>(Main.get()) : Window(n));
        QVERIFY2(shown, qPrintable(QStringLiteral("window %1").arg(n)));
        QVERIFY(shown->Above);
        QVERIFY(!shown->Frame.isNull());
        QVERIFY(Screen.contains(shown->Outer));
        QVERIFY(!corners.contains(shown->Outer.topLeft()));
        corners << shown->Outer.topLeft();
        if (n > 0)
            QTRY_COMPARE(StoredOuter(n), shown->Outer);
    }
    const auto* date = Window(4)->findChild<QLabel*>("DateText");
    QTRY_VERIFY(date->text().startsWith("Wednesday"));
    for (const bool frozen : {false, true}) {
        Control("Freeze")->setChecked(frozen);
        for (int n = 3; n <= 6; ++n) {
            QVERIFY(Settled(Window(n)));
            QVERIFY2(TextsInside(Window(n)), qPrintable(QStringLiteral("window %1%2").arg(n).arg(frozen ? ", frozen" : "")));
        }
    }
}

void TestInstrumentWindows::storedGeometryIsShown_data()
{
    QTest::addColumn<QList<int>>("stored"); // Left, Top, Width, Height of the speed window, twips
    QTest::addColumn<QRect>("shown");       // outer; an empty position: where the window manager likes
    QTest::newRow("as stored") << QList<int>{3000, 2400, 4500, 1800} << QRect(200, 160, 300, 120);
    QTest::newRow("left 0: the top only") << QList<int>{0, 2400, 4500, 1800} << QRect(0, 160, 300, 120);
    QTest::newRow("nothing: the window's own size") << QList<int>{0, -5, 0, -1} << QRect(-1, -1, 207, 117);
    QTest::newRow("on a monitor that is gone") << QList<int>{60000, 300, 4500, 1800} << QRect(980, 20, 300, 120);
    // Beside the main window, which openbox centres: as large as the room there.
    QTest::newRow("larger than the screen") << QList<int>{1500, 1500, 1000000000, 1000000000} << QRect(0, 0, 410, 410);
}

void TestInstrumentWindows::storedGeometryIsShown()
{
    QFETCH(QList<int>, stored);
    QFETCH(QRect, shown);
    const char* names[] = {"Left5", "Top5", "Width5", "Height5"};
    for (int i = 0; i < 4; ++i)
        Settings->WriteUserSetting("Views", names[i], QString::number(stored[i]));
    Start();
    QVERIFY(Settled(Main.get()));
    Box(5)->setChecked(true);
    const std::optional<ShownWindow> speed = Settled(Window(5));
    QVERIFY(speed);
    QCOMPARE(speed->Outer.size(), shown.size());
    if (shown.x() >= 0)
        QCOMPARE(speed->Outer.topLeft(), shown.topLeft());
    QVERIFY(Screen.contains(speed->Outer));
    QVERIFY(!speed->Outer.intersects(Main->frameGeometry()));
}

void TestInstrumentWindows::cyclesLeaveWindowsWhereTheyWere_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("freeze and unfreeze") << Change::Freeze;
    QTest::newRow("always on top and back") << Change::AlwaysOnTop;
    QTest::newRow("untick and tick again") << Change::Untick;
    QTest::newRow("close and tick again") << Change::Close;
}

// Ten times each change, on a window at a stored place and one where the window manager put it:
// after every step the window manager shows both exactly where they were, and that is stored.
void TestInstrumentWindows::cyclesLeaveWindowsWhereTheyWere()
{
    QFETCH(Change, change);
    for (const auto& [name, value] : {std::pair{"Left6", "3000"}, {"Top6", "2400"}, {"Width6", "4500"}, {"Height6", "1800"}})
        Settings->WriteUserSetting("Views", name, value);
    Start();
    Box(6)->setChecked(true);
    Box(3)->setChecked(true);
    QMap<int, QRect> before;
    for (int n : {6, 3}) {
        const std::optional<ShownWindow> shown = Settled(Window(n));
        QVERIFY(shown);
        before[n] = shown->Outer;
    }
    QCOMPARE(before[6], QRect(200, 160, 300, 120));

    for (int cycle = 1; cycle <= 10; ++cycle) {
        for (const bool first : {true, false}) {
            for (int n : {6, 3}) {
                switch (change) {
                case Change::Freeze: Control("Freeze")->setChecked(first); break;
                case Change::AlwaysOnTop: Control("AlwaysOnTop")->setChecked(first); break;
                case Change::Untick: Box(n)->setChecked(!first); break;
                case Change::Close: first ? void(Window(n)->close()) : Box(n)->setChecked(true); break;
                }
            }
            FinishClosing();
            for (int n : {6, 3}) {
                if (!Window(n))
                    continue;
                const std::optional<ShownWindow> shown = Settled(Window(n));
                QVERIFY(shown);
                QVERIFY2(shown->Outer == before[n], qPrintable(QStringLiteral("cycle %1 window %2 %3: %4,%5 %6x%7").arg(cycle).arg(n).arg(
                    first ? "there" : "back").arg(shown->Outer.x()).arg(shown->Outer.y()).arg(shown->Outer.width()).arg(shown->Outer.height())));
                QCOMPARE(shown->Frame.isNull(), change == Change::Freeze && first);
                QCOMPARE(shown->OffTaskbar, change == Change::Freeze && first);
                // The band changes without touching the geometry: nothing to settle, so wait for it.
                QTRY_COMPARE(Above(Window(n)), change == Change::AlwaysOnTop && first);
            }
            QVERIFY(Box(6)->isChecked() != ((change == Change::Untick || change == Change::Close) && first));
        }
    }
    Main.reset();
    for (int n : {6, 3})
        QCOMPARE(StoredOuter(n), before[n]);
}

void TestInstrumentWindows::shutdownRecordsAndStartUpReopens()
{
    Start();
    Box(5)->setChecked(true);
    Box(6)->setChecked(true);
    Main->close();
    FinishClosing();
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(Settings->ReadUserSetting("Views", QStringLiteral("Active%1").arg(n)), QString(n >= 5 ? "True" : "False"));

    Settings->WriteUserSetting("Views", "Freeze", "True");
    Start();
    for (int n = 1; n <= 6; ++n)
        QCOMPARE(Main->Instruments().IsOpen(n), n >= 5);
    // Reopened frozen; a window opened while "Freeze position" and "Always on top" are ticked is
    // frozen and on top as it appears. The brightness, stepped with B in a window, reaches the
    // open windows and those opened later, every kind of them: at night in red, nothing but red at
    // a quarter.
    const std::optional<ShownWindow> frozen = Settled(Window(5));
    QVERIFY(frozen && frozen->Frame.isNull());
    Control("AlwaysOnTop")->setChecked(true);
    Control("NightRed")->setChecked(true);
    for (int step = 1; step <= 4; ++step) // Shade, Dusk, Night, and Night it stays
        QTest::keyClick(Window(5), Qt::Key_B);
    QCOMPARE(Main->findChild<QComboBox*>("BrightnessMode")->currentText(), QString("Night"));
    for (int n : {3, 2, 1})
        Box(n)->setChecked(true);
    const std::optional<ShownWindow> compass = Settled(Window(3));
    QVERIFY(compass && compass->Frame.isNull() && compass->Above);
    QTRY_VERIFY(Above(Window(5)));
    QTest::qWait(600); // a refresh tick draws the texts ("No reception", white at full brightness)
    for (int n : {5, 3, 2, 1})
        QCOMPARE(Brightest(Window(n)->grab().toImage()), QColor(64, 0, 0));
}

// At a scale factor (with-openbox.sh --scale 1.5 or 2), where a one-pixel border of the window
// manager is a fraction of the program's pixel: windows at stored places show there to the X
// server's pixel, framed and frozen alike, through freezing and unfreezing, and none of it changes
// a stored value.
void TestInstrumentWindows::frozenAtAScaleFactor()
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    if (scale <= 1)
        QSKIP("for the scaled desktop of with-openbox.sh --scale");
    const QMap<QString, QString> stored{{"Left6", "3000"}, {"Top6", "2400"}, {"Width6", "4500"}, {"Height6", "1800"},
                                        {"Left5", "4515"}, {"Top5", "4815"}, {"Width5", "3015"}, {"Height5", "1815"}};
    for (auto value = stored.begin(); value != stored.end(); ++value)
        Settings->WriteUserSetting("Views", value.key(), value.value());
    Start();
    Box(6)->setChecked(true);
    Box(5)->setChecked(true);
    const auto shown = [this](int n) {
        const std::optional<ShownWindow> window = ShownWindow::Of(QString::number(Window(n)->windowHandle()->winId()));
        return Window(n)->Frame().Settled() && window && window->Viewable ? window->Outer : QRect();
    };
    const QMap<int, QRect> asked{{6, InDevicePixels(QRect(200, 160, 300, 120), scale)}, {5, InDevicePixels(QRect(301, 321, 201, 121), scale)}};
    for (const bool frozen : {false, true, false, true}) {
        Control("Freeze")->setChecked(frozen);
        for (const int n : {6, 5}) {
            QTRY_COMPARE(shown(n), asked[n]);
        }
    }
    Main.reset();
    for (auto value = stored.begin(); value != stored.end(); ++value)
        QCOMPARE(Settings->ReadUserSetting("Views", value.key()), value.value());
}

// The screen's resolution lowered while the program runs (xrandr, as a display's settings do): a
// window that no longer fits is brought wholly onto the screen, clear of the main window; the
// resolution is given back at the end.
void TestInstrumentWindows::screenShrinks()
{
    if (qEnvironmentVariable("DEVOZORA_TEST_WM") != QStringLiteral("openbox") || !qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        QSKIP("for the harness's own desktop");
    const auto resolution = [](const char* mode) {
        return QProcess::execute("sh", {"-c", QStringLiteral("xrandr --newmode 800x600 40 800 840 968 1056 600 601 605 628 2>/dev/null;"
                                                             "xrandr --addmode screen 800x600; xrandr --output screen --mode %1")
                                                  .arg(mode)});
    };
    if (resolution("1280x1024") != 0)
        QSKIP("xrandr (x11-xserver-utils) cannot change this X server's resolution");
    for (const auto& [name, value] : {std::pair{"Left6", "13500"}, {"Top6", "12000"}, {"Width6", "4500"}, {"Height6", "1800"}})
        Settings->WriteUserSetting("Views", name, value);
    Start();
    Box(6)->setChecked(true);
    QVERIFY(Settled(Main.get()));
    std::optional<ShownWindow> shown = Settled(Window(6));
    QVERIFY(shown);
    QCOMPARE(shown->Outer, QRect(900, 800, 300, 120));
    const auto restore = qScopeGuard([&] { QCOMPARE(resolution("1280x1024"), 0); });
    QCOMPARE(resolution("800x600"), 0);
    const QRect screen(0, 0, 800, 600);
    QTRY_VERIFY(Settled(Window(6)) && screen.contains(Settled(Window(6))->Outer));
    shown = Settled(Window(6));
    QVERIFY(!shown->Outer.intersects(Main->frameGeometry()));
    QCOMPARE(shown->Outer.size(), QSize(300, 120));
    QTRY_COMPARE(StoredOuter(6), shown->Outer);
}

QTEST_MAIN(TestInstrumentWindows)
#include "tst_instrumentwindows.moc"
