#include "DDateTime.h"
#include "Dcompass.h"
#include "Dposition.h"
#include "Dspeed.h"
#include "InstrumentTexts.h"
#include "LabelLayout.h"
#include "NavState.h"
#include "RecordingHost.h"
#include "Twips.h"

#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Makes a window's tick callable, as its timer would call it.
template <typename Window>
class Driven : public Window {
public:
    using Window::Window;
    using Window::Tick;
};

struct Opened {
    std::unique_ptr<DigitalWindow> Window;
    std::function<void()> Tick;
};

template <typename Window>
Opened Make(const NavState& nav, InstrumentHost& host)
{
    auto window = std::make_unique<Driven<Window>>(nav, host);
    auto* raw = window.get();
    return {std::move(window), [raw] { raw->Tick(); }};
}

Opened Open(int number, const NavState& nav, InstrumentHost& host)
{
    switch (number) {
    case 3: return Make<Dcompass>(nav, host);
    case 4: return Make<DDateTime>(nav, host);
    case 5: return Make<Dspeed>(nav, host);
    default: return Make<Dposition>(nav, host);
    }
}

NavState FixedNav()
{
    NavState nav;
    nav.Latitude = 52.134f;
    nav.Longitude = 4.5321f;
    nav.Speed = 5.34f;
    nav.Course = 123.7f;
    nav.UtcTimeText = "123456";
    nav.UtcDateText = "051226";
    nav.FixValid = true;
    return nav;
}

QLabel* LabelOf(const QWidget& window, const QString& name)
{
    return window.findChild<QLabel*>(name);
}

void ShowAtTwips(DigitalWindow& window, int widthTwips, int heightTwips)
{
    window.resize(TwipsToPixels(widthTwips, window.TwipsPerPixelX()),
                  TwipsToPixels(heightTwips, window.TwipsPerPixelY()));
    window.show();
}

} // namespace

class TestDigitalWindows : public QObject {
    Q_OBJECT

private slots:
    void valueFollowsFix_data();
    void valueFollowsFix();
    void speedWindowSizes();
    void unchangedTextRunsNoLayout();
    void nightColours();
    void closingStoresGeometryOnce_data();
    void closingStoresGeometryOnce();

private:
    RecordingHost Host;
};

void TestDigitalWindows::valueFollowsFix_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("valueLabel");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<int>("heightDivisor");
    QTest::addColumn<int>("widthDivisor");
    const QChar separator = TimeSeparator(QLocale::system().timeFormat(QLocale::ShortFormat));
    QTest::newRow("position") << 6 << "Positie" << "52º13.400' N\n004º53.210' E" << 70 << 150;
    QTest::newRow("speed") << 5 << "SpeedText" << "5.3" << 30 << 45;
    QTest::newRow("compass") << 3 << "CourseText" << "123º" << 30 << 50;
    QTest::newRow("date and time") << 4 << "TimeText" << QStringLiteral("12") + separator + QStringLiteral("34") + separator + QStringLiteral("56")
                                   << 50 << 100;
}

// Losing or regaining the fix changes the text, and the layout for the new font rule follows in
// that same tick.
void TestDigitalWindows::valueFollowsFix()
{
    QFETCH(int, number);
    QFETCH(QString, valueLabel);
    QFETCH(QString, valueText);
    QFETCH(int, heightDivisor);
    QFETCH(int, widthDivisor);
    NavState nav = FixedNav();
    nav.FixValid = false;
    Opened opened = Open(number, nav, Host);
    ShowAtTwips(*opened.Window, 6000, 3000);
    const double sw = opened.Window->width() * opened.Window->TwipsPerPixelX();
    const double sh = opened.Window->height() * opened.Window->TwipsPerPixelY();
    QLabel* value = LabelOf(*opened.Window, valueLabel);
    QVERIFY(value != nullptr);

    opened.Tick();
    QCOMPARE(value->text(), QStringLiteral("No\nreception"));
    QCOMPARE(value->font().pointSize(), NoFixFontSize(sh));

    nav.FixValid = true;
    opened.Tick();
    QCOMPARE(value->text(), valueText);
    QCOMPARE(value->font().pointSize(), FontSize(sw, sh, heightDivisor, widthDivisor));

    nav.FixValid = false;
    opened.Tick();
    QCOMPARE(value->text(), QStringLiteral("No\nreception"));
    QCOMPARE(value->font().pointSize(), NoFixFontSize(sh));
    if (number == 4) {
        QCOMPARE(LabelOf(*opened.Window, "DateText")->text(), QString());
        QCOMPARE(LabelOf(*opened.Window, "TimeSort")->text(), QStringLiteral("UTC"));
    }
}

void TestDigitalWindows::speedWindowSizes()
{
    NavState nav = FixedNav();
    Opened opened = Open(5, nav, Host);
    if (opened.Window->TwipsPerPixelX() != 15 || opened.Window->TwipsPerPixelY() != 15)
        QSKIP("the worked sizes are for a 96 DPI screen");
    ShowAtTwips(*opened.Window, 3000, 1500);
    opened.Tick();
    QLabel* heading = LabelOf(*opened.Window, "SpeedSort");
    QLabel* value = LabelOf(*opened.Window, "SpeedText");
    QCOMPARE(heading->font().pointSize(), 7);
    QCOMPARE(heading->font().bold(), true);
    // Margin 4 twips, centred across, stacked a Margin apart (in whole pixels of 15 twips).
    const double headingLeft = 4 + static_cast<double>(DivRounded(3000 - heading->width() * 15.0, 2));
    QCOMPARE(heading->x(), TwipsToPixels(headingLeft, 15));
    QCOMPARE(heading->y(), TwipsToPixels(4, 15));
    QCOMPARE(value->y(), TwipsToPixels(4 + heading->height() * 15.0 + 4, 15));
}

// The layout runs only when a text changes a label's size; moving a label by hand shows whether
// a tick laid the window out again.
void TestDigitalWindows::unchangedTextRunsNoLayout()
{
    NavState nav = FixedNav();
    Opened opened = Open(5, nav, Host);
    ShowAtTwips(*opened.Window, 3075, 1380);
    opened.Tick();
    QLabel* value = LabelOf(*opened.Window, "SpeedText");
    const QPoint laidOut = value->pos();
    value->move(0, 0);
    opened.Tick();
    opened.Tick();
    QCOMPARE(value->pos(), QPoint(0, 0));

    nav.Speed = 9.96f; // "10.0": one digit wider
    opened.Tick();
    QCOMPARE(value->text(), QStringLiteral("10.0"));
    QVERIFY(value->pos() != QPoint(0, 0));
    QVERIFY(value->x() < laidOut.x());
}

void TestDigitalWindows::nightColours()
{
    NavState nav = FixedNav();
    Opened opened = Open(4, nav, Host);
    opened.Window->AdjustColors({QStringLiteral("Night")});
    const auto colour = [&](const char* name) {
        return LabelOf(*opened.Window, name)->palette().color(QPalette::WindowText);
    };
    QCOMPARE(colour("TimeText"), QColor(64, 64, 64));
    QCOMPARE(colour("TimeSort"), QColor(32, 32, 32));
    QCOMPARE(colour("DateText"), QColor(56, 56, 56));
    QCOMPARE(opened.Window->palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(opened.Window->autoFillBackground());
    QVERIFY(!LabelOf(*opened.Window, "TimeText")->autoFillBackground());

    opened.Window->AdjustColors({});
    QCOMPARE(colour("TimeText"), QColor(255, 255, 255));
}

void TestDigitalWindows::closingStoresGeometryOnce_data()
{
    QTest::addColumn<bool>("hostClosesAgain");
    QTest::newRow("closed by the user") << true;
    QTest::newRow("closed from the main window") << false;
}

// Closed by either path, a window stops its timer, stores its geometry and tells the main window
// once, however often it is closed; where it is stored is measured under a window manager.
void TestDigitalWindows::closingStoresGeometryOnce()
{
    QFETCH(bool, hostClosesAgain);
    NavState nav = FixedNav();
    RecordingHost host;
    Opened opened = Open(3, nav, host);
    opened.Window->show();
    host.CloseAgain = hostClosesAgain ? opened.Window.get() : nullptr;
    host.Written.clear();
    opened.Window->close();
    const QStringList written = host.Written;
    opened.Window->close();
    QCOMPARE(host.Written, written);
    QCOMPARE(written.size(), 4);
    QCOMPARE(host.Closed, QList<int>{3});
    QVERIFY(!opened.Window->findChild<QTimer*>()->isActive());
}

QTEST_MAIN(TestDigitalWindows)
#include "tst_digitalwindows.moc"
