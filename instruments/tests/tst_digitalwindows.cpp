// The four digital windows as they open on a 96 DPI screen: their size, the fonts that follow it,
// where the labels stand, their colours, and what losing the fix changes. Then their texts across
// the values a receiver sends, and the date and time: read from the receiver's texts, in UTC or
// local time by a chosen or an automatic difference to UTC.
#include "CourseWindow.h"
#include "DateTimeWindow.h"
#include "FixDateTime.h"
#include "InstrumentTexts.h"
#include "LabelLayout.h"
#include "NavState.h"
#include "PositionWindow.h"
#include "RecordingHost.h"
#include "SpeedWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>

#include <limits>

namespace {

std::unique_ptr<DigitalWindow> Open(int number, const NavState& nav, InstrumentHost& host)
{
    switch (number) {
    case 3: return std::make_unique<CourseWindow>(nav, host);
    case 4: return std::make_unique<DateTimeWindow>(nav, host);
    case 5: return std::make_unique<SpeedWindow>(nav, host);
    default: return std::make_unique<PositionWindow>(nav, host);
    }
}

// Runs what the window's timer runs at each expiry.
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
    nav.UtcDateText = "300926"; // Wednesday, 30 September: the longest names of the week and the year
    nav.FixValid = true;
    return nav;
}

// Every label stands wholly inside the window, centred across it, below the one before it; with a
// single label, centred down the window as well.
void VerifyLaidOut(const QWidget& window)
{
    const QList<QLabel*> labels = window.findChildren<QLabel*>();
    int below = 0;
    for (const QLabel* label : labels) {
        const QRect r = label->geometry();
        const QString where = label->objectName() + QStringLiteral(" at %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        QVERIFY2(r.top() >= below && r.bottom() < window.height() && r.left() >= 0 && r.right() < window.width(), qPrintable(where));
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
    void fontsShrinkToFit();
    void values();
    void clock();
    void received();
    void differences();
    void shown();
};

void TestDigitalWindows::opened_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("value");     // the label of the value
    QTest::addColumn<QString>("text");      // with the fix of FixedNav
    QTest::addColumn<QList<int>>("points"); // the value's font with a fix, without; the heading's
    QTest::addColumn<QString>("heading");   // the grey label above the white value, if any
    QTest::newRow("compass") << 3 << QSize(205, 83) << "CourseText" << "123º" << QList<int>{42, 13, 9} << "CourseSort";
    QTest::newRow("date and time") << 4 << QSize(221, 110) << "TimeText" << "12:34:56" << QList<int>{34, 17, 12} << "TimeSort";
    QTest::newRow("speed") << 5 << QSize(205, 92) << "SpeedText" << "5.3" << QList<int>{47, 14, 6} << "SpeedSort";
    QTest::newRow("position") << 6 << QSize(239, 100) << "Position" << "52º13.400' N\n004º53.210' E" << QList<int>{22, 16} << "";
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

// The rules' sizes where the texts fit; where one would be cut off at the sides, the largest size
// at which it fits between the margins; where the stack would not fit the height, all smaller by
// one share. A text is measured as so many twips wide per point and 23 high, as a font would be.
void TestDigitalWindows::fontsShrinkToFit()
{
    const struct { double Sw, Sh; std::vector<int> Rules; std::vector<double> Widths; std::vector<int> Sizes; } rows[] = {
        {3000, 1500, {10, 40}, {100, 50}, {10, 40}},
        {3000, 3000, {40, 40}, {100, 50}, {29, 40}},   // 3000 twips would reach into the margins of 6
        {3000, 600, {10, 40}, {10, 10}, {5, 20}},      // 25 points of 23 twips within 600 - 3 margins
        {100, 100, {3, 3}, {500, 500}, {1, 1}},        // nothing is smaller than 1 point
    };
    for (const auto& [sw, sh, rules, widths, sizes] : rows) {
        const auto extent = [&widths](std::size_t label, int points) { return TwipsExtent{widths[label] * points, 23.0 * points}; };
        QCOMPARE(FittedStack(sw, sh, rules, extent), sizes);
    }
}

void TestDigitalWindows::values()
{
    // The mark is the masculine ordinal indicator, not the degree sign.
    const struct { float Latitude, Longitude; QString Text; } positions[] = {
        {52.134f, 4.5321f, "52º13.400' N\r\n004º53.210' E"},
        {-33.515f, 151.12f, "33º51.500' S\r\n151º12.000' E"},
        {0.0f, 0.0f, "00º00.000' S\r\n000º00.000' W"}, // zero is south and west
        {52.1234567f, -4.5321f, "52º12.346' N\r\n004º53.210' W"},
    };
    for (const auto& [latitude, longitude, text] : positions)
        QCOMPARE(PositionText(latitude, longitude), text);
    // One decimal, rounded; a negative speed keeps its sign.
    const std::pair<float, QString> speeds[] = {{5.34f, "5.3"}, {12.0f, "12.0"}, {0.0f, "0.0"}, {9.96f, "10.0"}, {-1.25f, "-1.3"}};
    for (const auto& [knots, text] : speeds)
        QCOMPARE(SpeedText(knots), text);
    // Whole degrees, truncated and not zero-filled.
    const std::pair<float, QString> courses[] = {{123.7f, "123º"}, {89.9f, "89º"}, {359.99f, "359º"}, {0.4f, "0º"},
                                                 {5.0f, "5º"}, {-0.0f, "0º"}, {std::numeric_limits<float>::quiet_NaN(), "?º"}};
    for (const auto& [degrees, text] : courses)
        QCOMPARE(CourseText(degrees), text);
    QCOMPARE(DisplayText(NoReceptionText()), QStringLiteral("No\nreception"));
}

// The clock shows the separator of the system's time format, and dashes while the time is unknown.
void TestDigitalWindows::clock()
{
    const std::pair<QString, QChar> formats[] = {
        {"HH:mm", u':'}, {"h.mm AP", u'.'}, {"HH 'h' mm", u':'}, {QString(), u':'}};
    for (const auto& [format, separator] : formats)
        QCOMPARE(TimeSeparator(format), separator);
    QCOMPARE(ClockText(QTime(7, 4, 5), u':'), QStringLiteral("07:04:05"));
    QCOMPARE(ClockText(QTime(23, 59, 59), u'.'), QStringLiteral("23.59.59"));
    QCOMPARE(ClockText(std::nullopt, u':'), QStringLiteral("--:--:--"));
}

// Only whole, possible dates and times count; a ZDA date wins over the RMC one when it is whole.
void TestDigitalWindows::received()
{
    const struct { const char* Rmc; int ZdaYear, ZdaMonth, ZdaDay; QDate Date; } dates[] = {
        {"051226", 0, 0, 0, QDate(2026, 12, 5)},      {"051226", 2026, 12, 31, QDate(2026, 12, 31)},
        {"051226", 2026, 0, 31, QDate(2026, 12, 5)},  {"051226", 2026, 13, 1, QDate(2026, 12, 5)},
        {"", 0, 0, 0, QDate()},                       {"000000", 0, 0, 0, QDate()}, // receiver without a date
        {"310226", 0, 0, 0, QDate()},                 {"05122", 0, 0, 0, QDate()},
        {"05-226", 0, 0, 0, QDate()},                 {"290228", 0, 0, 0, QDate(2028, 2, 29)},
    };
    for (const auto& [rmc, year, month, day, date] : dates) {
        NavState nav;
        nav.UtcDateText = rmc;
        nav.ZdaYear = static_cast<std::int16_t>(year);
        nav.ZdaMonth = static_cast<std::int16_t>(month);
        nav.ZdaDay = static_cast<std::int16_t>(day);
        QVERIFY2(FixDate(nav).value_or(QDate()) == date, rmc);
    }
    // The second of the day; -1: unknown. A fraction (GLL) is ignored, a leap second kept.
    const std::pair<const char*, int> times[] = {{"123456", 45296}, {"123456.78", 45296}, {"000000", 0}, {"235960", 86400},
                                                 {"12345", -1}, {"", -1}, {"12a456", -1}, {"240000", -1}, {"126000", -1}};
    for (const auto& [text, second] : times)
        QVERIFY2(FixSecondOfDay(text).value_or(-1) == second, text);
}

void TestDigitalWindows::differences()
{
    // A chosen entry of the list, in minutes; nothing readable is no difference.
    const std::pair<const char*, int> entries[] = {{"+5:30", 330}, {"+5:45", 345}, {"-4:30", -270}, {"-12:00", -720},
                                                   {"+13:00", 780}, {"0:00", 0}, {"-0:30", -30}, {"5", 300},
                                                   {"", 0}, {"abc", 0}};
    for (const auto& [entry, minutes] : entries)
        QVERIFY2(EntryUtcDifference(entry) == minutes, entry);
    // "AUTO": how far the computer's clock is ahead of the fix, to the nearest whole hour.
    const std::pair<qint64, qint64> leads[] = {{-299, -300}, {60, 60}, {-330, -300}, {30, 60}, {-30, 0}, {29, 0}, {-31, -60}};
    for (const auto& [lead, minutes] : leads)
        QVERIFY2(AutoUtcDifference(lead) == minutes, qPrintable(QString::number(lead)));
}

// The fix's time, in UTC or shifted by the chosen difference (an hour more with daylight saving),
// over midnight and the new year with its date; "AUTO" takes the difference from the computer's
// clock. An unknown time or date is not shown.
void TestDigitalWindows::shown()
{
    const QDateTime noon(QDate(2026, 12, 5), QTime(12, 40));
    const QDate dec5(2026, 12, 5);
    const struct { const char* Time; const char* RmcDate; bool Local, DaylightSaving; const char* Entry; QDateTime ComputerNow; QTime ShownTime; QDate ShownDate; } cases[] = {
        {"123456", "051226", false, false, "+5:30", noon, QTime(12, 34, 56), dec5},
        {"123456", "051226", true, false, "+5:30", noon, QTime(18, 4, 56), dec5},
        {"123456", "051226", true, true, "+5:30", noon, QTime(19, 4, 56), dec5},
        {"020000", "051226", true, false, "-4:30", noon, QTime(21, 30), QDate(2026, 12, 4)},
        {"020000", "010127", true, false, "-4:30", noon, QTime(21, 30), QDate(2026, 12, 31)},
        {"201500", "311226", true, false, "+5:45", noon, QTime(2, 0), QDate(2027, 1, 1)},
        {"123456", "051226", true, false, "AUTO", QDateTime(dec5, QTime(7, 35, 10)), QTime(7, 34, 56), dec5},
        {"123456", "051226", true, false, "AUTO", QDateTime(dec5, QTime(13, 34)), QTime(13, 34, 56), dec5},
        {"123456", "051226", true, false, "auto", QDateTime(dec5, QTime(13, 34)), QTime(12, 34, 56), dec5}, // not "AUTO"
        // Without a date only the time of day is known: the clock difference goes the short way round.
        {"233456", "", true, false, "AUTO", QDateTime(QDate(2026, 12, 6), QTime(0, 20)), QTime(0, 34, 56), QDate()},
        {"1234", "051226", false, false, "", noon, QTime(), QDate()},
        {"123456", "000000", false, false, "", noon, QTime(12, 34, 56), QDate()},
    };
    for (const auto& [time, rmcDate, local, daylightSaving, entry, computerNow, shownTime, shownDate] : cases) {
        NavState nav;
        nav.UtcTimeText = time;
        nav.UtcDateText = rmcDate;
        const ShownDateTime shown = FixDateTime(nav, {local, daylightSaving, entry}, computerNow);
        QVERIFY2(shown.Time.value_or(QTime()) == shownTime && shown.Date.value_or(QDate()) == shownDate,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(time, rmcDate, entry)));
    }
}

QTEST_MAIN(TestDigitalWindows)
#include "tst_digitalwindows.moc"
