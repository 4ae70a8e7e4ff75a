#include "Kompas.h"
#include "NavState.h"
#include "RecordingHost.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

using DrivenKompas = Driven<Kompas>;

class TestKompas : public QObject {
    Q_OBJECT

private slots:
    void init();
    void indexLineIsRedAtTheCentre();
    void glidesTowardTheCourse();
    void noReceptionCoversTheNumbersAndTheScaleStandsStill();
    void tinyWindowDrawsWithoutComplaint();

private:
    NavState Nav;
    RecordingHost Host;
};

void TestKompas::init()
{
    Nav = NavState();
    Host = RecordingHost();
}

void TestKompas::indexLineIsRedAtTheCentre()
{
    DrivenKompas kompas(Nav, Host);
    kompas.AdjustColors({});
    const QImage image = kompas.grab().toImage();
    QCOMPARE(image.size(), QSize(356, 107));
    // The index line stands at x 2666 twips, 177.7 pixels, from y 14 to 1569 twips.
    QColor reddest;
    for (int x = 175; x <= 180; ++x) {
        const QColor c = image.pixelColor(x, 30);
        if (c.red() > reddest.red())
            reddest = c;
    }
    QVERIFY2(reddest.red() >= 180 && reddest.green() <= 8 && reddest.blue() <= 8,
             qPrintable(reddest.name()));
    QCOMPARE(image.pixelColor(185, 30), QColor(Qt::black));   // beside it: the background
}

// The first picture comes quickly, then one every 300 ms.
void TestKompas::glidesTowardTheCourse()
{
    Nav.FixValid = true;
    Nav.Course = 10;
    DrivenKompas kompas(Nav, Host);
    kompas.AdjustColors({});
    const QImage before = kompas.grab().toImage();
    QCOMPARE(kompas.Interval(), 100);
    kompas.Tick();
    QCOMPARE(kompas.Interval(), 300);
    QCOMPARE(kompas.ShownHeading(), 3498);   // a quarter of 33 degrees forward through north
    QVERIFY(kompas.grab().toImage() != before);
    for (int i = 0; i < 40; ++i)
        kompas.Tick();
    QVERIFY(std::abs(kompas.ShownHeading() - 100) <= 2);
}

void TestKompas::noReceptionCoversTheNumbersAndTheScaleStandsStill()
{
    Nav.FixValid = false;
    Nav.Course = 343;   // the scale would stay at 343 degrees with a fix as well
    DrivenKompas kompas(Nav, Host);
    kompas.AdjustColors({});
    kompas.Tick();
    const QImage noFix = kompas.grab().toImage();
    // Half way down, above every tick, only the text is lit (the red index line has no green).
    int left = noFix.width();
    int right = -1;
    for (int x = 0; x < noFix.width(); ++x)
        if (noFix.pixelColor(x, 53).green() > 64) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    QVERIFY2(right - left > 100, qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    QVERIFY(std::abs((left + right) / 2 - 178) <= 3);

    Nav.FixValid = true;
    kompas.Tick();
    QCOMPARE(kompas.ShownHeading(), 3430);
    const QImage withFix = kompas.grab().toImage();
    QVERIFY(withFix != noFix);
    // The ticks and the base line did not move: the rows below the numbers are identical.
    for (int y = 75; y < withFix.height(); ++y)
        for (int x = 0; x < withFix.width(); ++x)
            QCOMPARE(withFix.pixel(x, y), noFix.pixel(x, y));

    Nav.FixValid = false;
    kompas.Tick();
    QCOMPARE(kompas.grab().toImage(), noFix);
}

void TestKompas::tinyWindowDrawsWithoutComplaint()
{
    // Sizes of 0 points come out of the layout for a window this small.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    Nav.FixValid = true;
    DrivenKompas kompas(Nav, Host);
    kompas.resize(20, 10);
    kompas.Tick();
    QCOMPARE(kompas.grab().toImage().size(), QSize(20, 10));
}

QTEST_MAIN(TestKompas)
#include "tst_kompas.moc"
