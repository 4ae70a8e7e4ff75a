// The four digital windows as they open on a 96 DPI screen: their size, the fonts that follow it,
// where the labels stand, their colours, and what losing the fix changes.
#include "DDateTime.h"
#include "Dcompass.h"
#include "Dposition.h"
#include "Dspeed.h"
#include "InstrumentTexts.h"
#include "NavState.h"
#include "RecordingHost.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>

namespace {

std::unique_ptr<DigitalWindow> Open(int number, const NavState& nav, InstrumentHost& host)
{
    switch (number) {
    case 3: return std::make_unique<Dcompass>(nav, host);
    case 4: return std::make_unique<DDateTime>(nav, host);
    case 5: return std::make_unique<Dspeed>(nav, host);
    default: return std::make_unique<Dposition>(nav, host);
    }
}

// Drives the timer's tick the way the window's timer does.
void Tick(DigitalWindow& window)
{
    QMetaObject::invokeMethod(window.findChild<QTimer*>(), "timeout", Qt::DirectConnection);
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

// Every label stands inside the window, centred across it, below the one before it; with a
// single label, centred down the window as well.
void VerifyLaidOut(const QWidget& window)
{
    const QList<QLabel*> labels = window.findChildren<QLabel*>();
    int below = 0;
    for (const QLabel* label : labels) {
        const QRect r = label->geometry();
        const QString where = label->objectName() + QStringLiteral(" at %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        QVERIFY2(r.top() >= below && r.bottom() < window.height(), qPrintable(where));
        QVERIFY2(std::abs(r.left() - (window.width() - 1 - r.right())) <= 2, qPrintable(where));
        if (labels.size() == 1)
            QVERIFY2(std::abs(r.top() - (window.height() - 1 - r.bottom())) <= 2, qPrintable(where));
        below = r.bottom() + 1;
    }
}

} // namespace

class TestDigitalWindows : public QObject {
    Q_OBJECT

private slots:
    void opened_data();
    void opened();
    void unchangedTextRunsNoLayout();
};

void TestDigitalWindows::opened_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("value");     // the label of the value
    QTest::addColumn<QString>("text");      // with the fix of FixedNav
    QTest::addColumn<QList<int>>("points"); // the value's font with a fix, without; the heading's
    QTest::addColumn<QString>("heading");   // grey above the value, white
    QTest::newRow("compass") << 3 << QSize(205, 83) << "CourseText" << "123º" << QList<int>{42, 13, 9} << "CourseSort";
    QTest::newRow("date and time") << 4 << QSize(221, 110) << "TimeText" << "12:34:56" << QList<int>{34, 17, 12} << "TimeSort";
    QTest::newRow("speed") << 5 << QSize(205, 92) << "SpeedText" << "5.3" << QList<int>{47, 14, 6} << "SpeedSort";
    QTest::newRow("position") << 6 << QSize(239, 100) << "Positie" << "52º13.400' N\n004º53.210' E" << QList<int>{22, 16} << "";
}

// Opened with the fix lost, regained and lost again; then dimmed for the night.
void TestDigitalWindows::opened()
{
    QFETCH(int, number);
    QFETCH(QSize, size);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QList<int>, points);
    QFETCH(QString, heading);
    NavState nav = FixedNav();
    nav.FixValid = false;
    RecordingHost host;
    const std::unique_ptr<DigitalWindow> window = Open(number, nav, host);
    if (window->TwipsPerPixelX() != 15 || window->TwipsPerPixelY() != 15)
        QSKIP("the worked sizes are for a 96 DPI screen");
    QCOMPARE(window->size(), size);
    if (number == 4) // the clock's separator is the one of the time format of the system's language
        text.replace(u':', TimeSeparator(QLocale::system().timeFormat(QLocale::ShortFormat)));
    window->show();
    auto* shown = window->findChild<QLabel*>(value);
    auto* title = heading.isEmpty() ? nullptr : window->findChild<QLabel*>(heading);
    QVERIFY(shown && (heading.isEmpty() || title));
    for (const bool fix : {false, true, false}) {
        nav.FixValid = fix;
        Tick(*window);
        QCOMPARE(shown->text(), fix ? text : QStringLiteral("No\nreception"));
        QCOMPARE(shown->font().pointSize(), points[fix ? 0 : 1]);
        if (title)
            QCOMPARE(title->font().pointSize(), points[2]);
        VerifyLaidOut(*window);
    }
    if (number == 4) {
        QCOMPARE(window->findChild<QLabel*>("DateText")->text(), QString());
        QCOMPARE(title->text(), QStringLiteral("UTC"));
    }
    const auto colour = [](const QLabel* label) { return label->palette().color(QPalette::WindowText); };
    for (const QString mode : {"Daylight", "Night"}) {
        window->AdjustColors({mode});
        const bool night = mode == QStringLiteral("Night");
        QCOMPARE(colour(shown), night ? QColor(64, 64, 64) : QColor(Qt::white));
        if (title)
            QCOMPARE(colour(title), night ? QColor(32, 32, 32) : QColor(128, 128, 128));
    }
    QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::black));
    // B steps the main window's brightness list; no other key does, nor B held down.
    QKeyEvent held(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"), true);
    QCoreApplication::sendEvent(window.get(), &held);
    QTest::keyClick(window.get(), Qt::Key_A);
    QTest::keyClick(window.get(), Qt::Key_B);
    QCOMPARE(host.Steps, 1);
}

// The layout runs only when a text changes a label's size; moving a label by hand shows whether
// a tick laid the window out again.
void TestDigitalWindows::unchangedTextRunsNoLayout()
{
    NavState nav = FixedNav();
    RecordingHost host;
    const std::unique_ptr<DigitalWindow> window = Open(5, nav, host);
    window->show();
    Tick(*window);
    auto* value = window->findChild<QLabel*>("SpeedText");
    const QPoint laidOut = value->pos();
    value->move(0, 0);
    Tick(*window);
    Tick(*window);
    QCOMPARE(value->pos(), QPoint(0, 0));
    nav.Speed = 9.96f; // "10.0": one digit wider
    Tick(*window);
    QCOMPARE(value->text(), QStringLiteral("10.0"));
    QVERIFY(value->pos() != QPoint(0, 0) && value->x() < laidOut.x());
}

QTEST_MAIN(TestDigitalWindows)
#include "tst_digitalwindows.moc"
