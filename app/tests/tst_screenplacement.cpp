// Where the instrument windows go on the screens there are: a layout made for the screens stays as
// it is; one made for others is brought onto them and laid out again beside the main window.
#include "ScreenPlacement.h"

#include <QTest>

namespace {

const QRect FullHd(0, 0, 1920, 1080);
const QRect SevenInch(0, 0, 800, 480);
const QRect MainWindow(0, 0, 459, 353); // where the window manager put it, frame included

// Six windows as someone left them on a 1920 x 1080 monitor: large, and to the right of the main
// window.
const QList<WindowRequest> LargeLayout{{QRect(1380, 40, 520, 540)}, {QRect(480, 40, 880, 220)}, {QRect(480, 280, 300, 150)},
                                       {QRect(800, 280, 560, 160)}, {QRect(480, 460, 420, 200)}, {QRect(920, 460, 440, 160)}};
// The six windows at their own sizes, never placed.
const QList<WindowRequest> FirstRun{{QRect(0, 0, 354, 375), false}, {QRect(0, 0, 358, 132), false}, {QRect(0, 0, 207, 108), false},
                                    {QRect(0, 0, 223, 135), false}, {QRect(0, 0, 207, 117), false}, {QRect(0, 0, 241, 125), false}};

QString Described(const QList<QRect>& rects)
{
    QStringList parts;
    for (const QRect& r : rects)
        parts << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestScreenPlacement : public QObject {
    Q_OBJECT

private slots:
    void whollyOnScreen();
    void layoutsThatFitStay();
    void layoutsFromOtherScreens_data();
    void layoutsFromOtherScreens();
};

// Moved no further than it takes, onto the screen that shows most of it or the nearest one,
// reduced to that screen where it is larger.
void TestScreenPlacement::whollyOnScreen()
{
    const QRect right(1920, 0, 1280, 1024); // a second monitor to the right, when there is one
    const struct { QRect Window; QList<QRect> Screens; QRect Expected; } rows[] = {
        {QRect(100, 100, 300, 200), {FullHd}, QRect(100, 100, 300, 200)},
        {QRect(1800, 1000, 300, 200), {FullHd}, QRect(1620, 880, 300, 200)},
        {QRect(100, -30, 300, 200), {FullHd}, QRect(100, 0, 300, 200)},
        {QRect(100, 50, 3000, 2000), {FullHd}, FullHd},
        {QRect(500, 50, 300, 2000), {FullHd}, QRect(500, 0, 300, 1080)},
        {QRect(2500, 300, 300, 200), {FullHd}, QRect(1620, 300, 300, 200)},          // its monitor is gone
        {QRect(2500, 300, 300, 200), {FullHd, right}, QRect(2500, 300, 300, 200)},   // and back
        {QRect(1800, 300, 300, 200), {FullHd, right}, QRect(1920, 300, 300, 200)},   // more of it on the right
        {QRect(1700, 300, 300, 200), {FullHd, right}, QRect(1620, 300, 300, 200)},   // more of it on the left
        {QRect(5000, 2000, 300, 200), {FullHd, right}, QRect(2900, 824, 300, 200)},  // nearest: the right one
        {QRect(5000, 2000, 300, 200), {}, QRect(5000, 2000, 300, 200)},
    };
    for (const auto& [window, screens, expected] : rows)
        QCOMPARE(WhollyOnScreen(window, screens), expected);
}

// A layout whose windows all fit the screens stays exactly as it is, windows over the main window
// and over each other included: it is how the person left them. So does every window of the
// screens' own when one is added beside another that stays.
void TestScreenPlacement::layoutsThatFitStay()
{
    const QList<WindowRequest> overlapping{{QRect(100, 100, 520, 540)}, {QRect(300, 200, 880, 220)}, {QRect(1600, 900, 300, 150)}};
    QList<QRect> stored;
    for (const WindowRequest& window : overlapping)
        stored << window.Outer;
    QCOMPARE(PlaceWindows({FullHd}, MainWindow, {}, overlapping), stored);
    QCOMPARE(PlaceWindows({FullHd}, MainWindow, {QRect(150, 150, 200, 200)}, overlapping), stored);
    QCOMPARE(PlaceWindows({FullHd, QRect(1920, 0, 800, 480)}, MainWindow, {}, overlapping), stored);
    QCOMPARE(PlaceWindows({}, MainWindow, {}, FirstRun).size(), FirstRun.size());
}

void TestScreenPlacement::layoutsFromOtherScreens_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("mainWindow");
    QTest::addColumn<QList<QRect>>("staying");
    QTest::addColumn<QList<WindowRequest>>("windows");
    QTest::addColumn<int>("percent"); // the size the windows laid out again are reduced to, at least, of
                                      // the size they can have on the screen
    QTest::addColumn<bool>("apart");  // no window over another or over the main window

    const QList<QRect> none;
    QTest::newRow("1920 x 1080 on 800 x 480") << QList<QRect>{SevenInch} << MainWindow << none << LargeLayout << 35 << true;
    QTest::newRow("1920 x 1080 on 1024 x 600") << QList<QRect>{QRect(0, 0, 1024, 600)} << MainWindow << none << LargeLayout << 50 << true;
    QTest::newRow("1920 x 1080 on 1280 x 1024") << QList<QRect>{QRect(0, 0, 1280, 1024)} << MainWindow << none << LargeLayout << 85 << true;
    QTest::newRow("first run on 800 x 480") << QList<QRect>{SevenInch} << MainWindow << none << FirstRun << 50 << true;
    QTest::newRow("first run on 1280 x 1024") << QList<QRect>{QRect(0, 0, 1280, 1024)} << MainWindow << none << FirstRun << 100 << true;
    QTest::newRow("first run beside a second monitor") << QList<QRect>{QRect(0, 0, 800, 480), QRect(800, 0, 1920, 1080)} << MainWindow
                                                       << none << FirstRun << 100 << true;
    QTest::newRow("one window opened beside others") << QList<QRect>{SevenInch} << QRect(341, 0, 459, 353)
                                                     << QList<QRect>{QRect(0, 0, 341, 300), QRect(0, 300, 341, 180)}
                                                     << QList<WindowRequest>{FirstRun[2]} << 100 << true;
    QTest::newRow("no room: the main window maximised") << QList<QRect>{SevenInch} << SevenInch << none << LargeLayout << 35 << false;
    QTest::newRow("hardly room: 640 x 480") << QList<QRect>{QRect(0, 0, 640, 480)} << MainWindow << none << LargeLayout << 35 << false;
}

// Every window wholly on a screen, none reduced below a third, each laid out again at its own
// proportions; apart from each other and from the main window wherever the screens have room, and
// otherwise leaving as much of the main window free as they can.
void TestScreenPlacement::layoutsFromOtherScreens()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, mainWindow);
    QFETCH(QList<QRect>, staying);
    QFETCH(QList<WindowRequest>, windows);
    QFETCH(int, percent);
    QFETCH(bool, apart);
    const QList<QRect> placed = PlaceWindows(screens, mainWindow, staying, windows);
    QCOMPARE(placed.size(), windows.size());
    const QString all = Described(placed);
    qint64 mainCovered = 0;
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const QRect& window = placed[i];
        // Its own size, or where that is larger than the screen, as large as the screen at its
        // own proportions.
        QSize from = windows[i].Outer.size();
        if (!from.boundedTo(screens.front().size()).isEmpty() && from != from.boundedTo(screens.front().size()))
            from.scale(screens.front().size(), Qt::KeepAspectRatio);
        QVERIFY2(std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(window); }), qPrintable(all));
        QVERIFY2(window.width() * 100 >= from.width() * std::min(percent, 35) - 100, qPrintable(all));
        QVERIFY2(window.width() * 100 >= from.width() * percent - 100 || !apart, qPrintable(all));
        QVERIFY2(std::abs(window.width() * from.height() - window.height() * from.width()) <= from.width() + from.height(), qPrintable(all));
        const QRect covered = window.intersected(mainWindow);
        mainCovered += covered.isValid() ? qint64(covered.width()) * covered.height() : 0;
        for (qsizetype j = 0; j < placed.size() && apart; ++j)
            QVERIFY2(j == i || !window.intersects(placed[j]), qPrintable(all));
        for (const QRect& other : staying)
            QVERIFY2(!window.intersects(other), qPrintable(all));
    }
    if (apart)
        QVERIFY2(mainCovered == 0, qPrintable(all));
    else if (mainWindow != screens.front()) // room beside it: the windows crowd each other instead
        QVERIFY2(mainCovered * 20 < qint64(mainWindow.width()) * mainWindow.height(), qPrintable(all));
}

QTEST_APPLESS_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
