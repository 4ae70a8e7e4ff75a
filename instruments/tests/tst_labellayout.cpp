#include "LabelLayout.h"

#include <QTest>

// The layout of the digital windows is plain arithmetic on twips; these are the worked sizes of
// each window at its own client area and at the extremes.
class TestLabelLayout : public QObject {
    Q_OBJECT

private slots:
    void margin_data();
    void margin();
    void fontSizes_data();
    void fontSizes();
    void stackedLabels();
    void centredEdges_data();
    void centredEdges();
    void centredSingleLabel();
};

void TestLabelLayout::margin_data()
{
    QTest::addColumn<double>("sw");
    QTest::addColumn<double>("sh");
    QTest::addColumn<int>("expected");
    QTest::newRow("speed 3000 x 1500, half to even") << 3000.0 << 1500.0 << 4;
    QTest::newRow("position 3585 x 1500") << 3585.0 << 1500.0 << 5;
    QTest::newRow("half rounds up to even") << 4000.0 << 1500.0 << 6;
    QTest::newRow("empty client area") << 0.0 << 0.0 << 0;
}

void TestLabelLayout::margin()
{
    QFETCH(double, sw);
    QFETCH(double, sh);
    QFETCH(int, expected);
    QCOMPARE(Margin(sw, sh), expected);
}

void TestLabelLayout::fontSizes_data()
{
    QTest::addColumn<double>("sw");
    QTest::addColumn<double>("sh");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("withFix");
    QTest::addColumn<int>("withoutFix");
    QTest::newRow("speed heading 3000 x 1500") << 3000.0 << 1500.0 << 250 << 350 << 7 << 16;
    QTest::newRow("speed value 3000 x 1500") << 3000.0 << 1500.0 << 30 << 45 << 51 << 16;
    QTest::newRow("speed heading 3075 x 1380") << 3075.0 << 1380.0 << 250 << 350 << 6 << 14;
    QTest::newRow("speed value 3075 x 1380") << 3075.0 << 1380.0 << 30 << 45 << 47 << 14;
    QTest::newRow("speed value wide and low") << 6000.0 << 600.0 << 30 << 45 << 21 << 7;
    QTest::newRow("speed value narrow and tall") << 1500.0 << 3000.0 << 30 << 45 << 34 << 31;
    QTest::newRow("compass heading") << 3075.0 << 1245.0 << 150 << 250 << 9 << 13;
    QTest::newRow("compass value") << 3075.0 << 1245.0 << 30 << 50 << 42 << 13;
    QTest::newRow("position") << 3585.0 << 1500.0 << 70 << 150 << 22 << 16;
    QTest::newRow("time heading") << 3315.0 << 1650.0 << 150 << 250 << 12 << 17;
    QTest::newRow("time value, both rules equal") << 3315.0 << 1650.0 << 50 << 100 << 34 << 17;
    QTest::newRow("empty client area") << 0.0 << 0.0 << 30 << 45 << 1 << 1;
    // 1249.5 rounds to 1250 before the division, 1250.5 rounds to 1250 as well (halves to even).
    QTest::newRow("height rounded before division") << 9000.0 << 1249.5 << 250 << 350 << 6 << 13;
    QTest::newRow("height half to even") << 9000.0 << 1250.5 << 250 << 350 << 6 << 13;
}

void TestLabelLayout::fontSizes()
{
    QFETCH(double, sw);
    QFETCH(double, sh);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, withFix);
    QFETCH(int, withoutFix);
    QCOMPARE(FontSize(sw, sh, a, b), withFix);
    QCOMPARE(NoFixFontSize(sh), withoutFix);
}

void TestLabelLayout::stackedLabels()
{
    const std::vector<TwipsPlace> places =
        StackedPlaces(3000, 1500, {{2000, 300}, {1500, 900}, {3015, 200}});
    QCOMPARE(places.size(), std::size_t(3));
    QCOMPARE(places[0].Left, 504.0);
    QCOMPARE(places[0].Top, 4.0);
    QCOMPARE(places[1].Left, 754.0);
    QCOMPARE(places[1].Top, 308.0);
    // Wider than the window: -15 div 2 truncates toward zero to -7.
    QCOMPARE(places[2].Left, -3.0);
    QCOMPARE(places[2].Top, 1212.0);
}

void TestLabelLayout::centredEdges_data()
{
    QTest::addColumn<double>("labelWidth");
    QTest::addColumn<double>("expectedLeft");
    QTest::newRow("odd space truncates") << 2985.0 << 4.0 + 7;
    QTest::newRow("-15 gives Margin - 7") << 3015.0 << 4.0 - 7;
    QTest::newRow("-13 gives Margin - 6") << 3013.0 << 4.0 - 6;
    QTest::newRow("2.5 rounds to 2 first") << 2997.5 << 4.0 + 1;
    QTest::newRow("3.5 rounds to 4 first") << 2996.5 << 4.0 + 2;
}

void TestLabelLayout::centredEdges()
{
    QFETCH(double, labelWidth);
    QFETCH(double, expectedLeft);
    QCOMPARE(StackedPlaces(3000, 1500, {{labelWidth, 100}}).front().Left, expectedLeft);
}

void TestLabelLayout::centredSingleLabel()
{
    const TwipsPlace place = CentredPlace(3585, 1500, {3000, 1000});
    QCOMPARE(place.Left, 5.0 + 292);
    QCOMPARE(place.Top, 5.0 + 250);
    const TwipsPlace empty = CentredPlace(0, 0, {0, 0});
    QCOMPARE(empty.Left, 0.0);
    QCOMPARE(empty.Top, 0.0);
}

QTEST_APPLESS_MAIN(TestLabelLayout)
#include "tst_labellayout.moc"
