#include "NumberText.h"

#include <QLocale>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void numberFields_data();
    void numberFields();
    void formatFixed_data();
    void formatFixed();
    void formatGeneral_data();
    void formatGeneral();
    void decimalCommaLocaleChangesNothing();
};

void TestNumberText::numberFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<double>("leading"); // LeadingNumber
    QTest::addColumn<float>("nmea");     // NMEAValue; NaN: refused
    const float refused = std::nanf("");
    const double huge = std::numeric_limits<double>::infinity();
    QTest::newRow("empty") << "" << -100 << 0.0 << 0.0f;
    QTest::newRow("coordinate") << "4807.038" << 100 << 4807.038 << 48.07038f;
    QTest::newRow("single-precision division") << "5130.1234" << -100 << 5130.1234 << 5130.1234f / -100.0f;
    QTest::newRow("leading zeros") << "008" << 0 << 8.0 << 8.0f;
    QTest::newRow("negative") << "-12.5" << 0 << -12.5 << -12.5f;
    QTest::newRow("plus") << "+3" << 0 << 3.0 << 3.0f;
    QTest::newRow("point first") << ".5" << 0 << 0.5 << 0.5f;
    QTest::newRow("trailing point") << "7." << 0 << 7.0 << 7.0f;
    QTest::newRow("blanks") << "  1 2.5 " << 0 << 12.5 << refused;
    QTest::newRow("unit letter") << "12.5M" << 0 << 12.5 << refused;
    QTest::newRow("second point") << "1.2.3" << 0 << 1.2 << refused;
    QTest::newRow("exponent") << "5.2e3" << 100 << 5.2 << refused;
    QTest::newRow("hex") << "0x1p12" << 100 << 0.0 << refused;
    QTest::newRow("non-numeric") << "abc" << 0 << 0.0 << refused;
    QTest::newRow("sign alone") << "-" << 0 << 0.0 << refused;
    QTest::newRow("point alone") << "." << 0 << 0.0 << refused;
    QTest::newRow("two signs") << "+-5" << 0 << 0.0 << refused;
    QTest::newRow("nan") << "nan" << 0 << 0.0 << refused;
    QTest::newRow("inf") << "inf" << 0 << 0.0 << refused;
    QTest::newRow("comma is not a point") << "3,5" << 0 << 3.0 << refused;
    QTest::newRow("too large for a float") << QString(45, '9') << 0 << 1e45 << refused;
    QTest::newRow("too large for a double") << QString(400, '9') << 0 << huge << refused;
    QTest::newRow("too small for a double") << "0." + QString(400, '0') + "1" << 0 << 0.0 << refused;
}

void TestNumberText::numberFields()
{
    QFETCH(QString, text);
    QFETCH(int, divisor);
    QFETCH(double, leading);
    QFETCH(float, nmea);
    QCOMPARE(LeadingNumber(text.toStdString()), leading);
    const std::optional<float> value = NMEAValue(text.toStdString(), static_cast<std::int16_t>(divisor));
    QCOMPARE(value.has_value(), !std::isnan(nmea));
    if (value)
        QCOMPARE(*value, nmea);
}

void TestNumberText::formatFixed_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("intDigits");
    QTest::addColumn<QString>("text");
    QTest::newRow("pads decimals") << 5445.5f << 5 << 4 << "5445.50000";
    QTest::newRow("pads integer") << 1020.25f << 5 << 5 << "01020.25000";
    QTest::newRow("defaults") << 52.5f << 6 << 1 << "52.500000";
    QTest::newRow("negative") << -4.25f << 2 << 1 << "-4.25";
    QTest::newRow("integer count is a minimum") << 123.5f << 6 << 1 << "123.500000";
    QTest::newRow("half away from zero") << 0.125f << 2 << 1 << "0.13";
    QTest::newRow("negative half away") << -0.125f << 2 << 1 << "-0.13";
    QTest::newRow("half of an odd digit") << 0.375f << 2 << 1 << "0.38";
    QTest::newRow("carry through nines") << 9.96f << 1 << 1 << "10.0";
    QTest::newRow("below half") << 5.34f << 1 << 1 << "5.3";
    QTest::newRow("float below its half") << 0.35f << 1 << 1 << "0.3";
    QTest::newRow("float above its half") << 0.15f << 1 << 1 << "0.2";
    QTest::newRow("zero") << 0.0f << 1 << 1 << "0.0";
    QTest::newRow("tiny negative has no sign") << -0.0000001f << 6 << 1 << "0.000000";
    QTest::newRow("longitude") << 4.5321f << 5 << 3 << "004.53210";
    QTest::newRow("minutes rounded") << 52.1234567f << 5 << 2 << "52.12346";
    QTest::newRow("single precision position") << 48.1173019f << 6 << 1 << "48.117302";
}

void TestNumberText::formatFixed()
{
    QFETCH(float, value);
    QFETCH(int, decimals);
    QFETCH(int, intDigits);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatFixed(value, decimals, intDigits)), text);
}

void TestNumberText::formatGeneral_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("speed") << 22.4f << "22.4";
    QTest::newRow("course") << 84.4f << "84.4";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("time error") << 0.005f << "0.005";
    QTest::newRow("seven digits") << 359.9999f << "359.9999";
    QTest::newRow("rounded to seven") << 1.23456789f << "1.234568";
    QTest::newRow("whole") << 12.0f << "12";
}

void TestNumberText::formatGeneral()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatGeneral(value)), text);
}

void TestNumberText::decimalCommaLocaleChangesNothing()
{
    const char* commaLocales[] = {"de_DE.UTF-8", "nl_NL.UTF-8", "fr_FR.UTF-8", "de_DE", "nl_NL"};
    const char* chosen = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr)
        QSKIP("no locale with a decimal comma is installed (Debian: locales-all)");
    QCOMPARE(std::localeconv()->decimal_point[0], ',');
    std::locale::global(std::locale(chosen));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    QCOMPARE(LeadingNumber("4807.038"), 4807.038);
    QCOMPARE(NMEAValue("4807.038", 100).value_or(0), 48.07038f);
    QCOMPARE(FormatFixed(0.1f), std::string("0.100000"));
    QCOMPARE(FormatFixed(-4.25f, 2), std::string("-4.25"));
    QCOMPARE(FormatGeneral(22.4f), std::string("22.4"));

    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    QLocale::setDefault(QLocale::c());
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
