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
    void numberFields()
    {
        const float refused = std::nanf("");
        const struct {
            std::string Text;
            std::int16_t Divisor;
            double Leading;  // LeadingNumber
            float Nmea;      // NMEAValue; NaN: refused
        } fields[] = {
            {"", -100, 0.0, 0.0f},
            {"4807.038", 100, 4807.038, 48.07038f},
            {"5130.1234", -100, 5130.1234, 5130.1234f / -100.0f},   // divided in single precision
            {"008", 0, 8.0, 8.0f},
            {"-12.5", 0, -12.5, -12.5f},
            {"+3", 0, 3.0, 3.0f},
            {".5", 0, 0.5, 0.5f},
            {"7.", 0, 7.0, 7.0f},
            {"  1 2.5 ", 0, 12.5, refused},
            {"12.5M", 0, 12.5, refused},
            {"1.2.3", 0, 1.2, refused},
            {"5.2e3", 100, 5.2, refused},
            {"0x1p12", 100, 0.0, refused},
            {"abc", 0, 0.0, refused},
            {"-", 0, 0.0, refused},
            {".", 0, 0.0, refused},
            {"+-5", 0, 0.0, refused},
            {"nan", 0, 0.0, refused},
            {"inf", 0, 0.0, refused},
            {"3,5", 0, 3.0, refused},   // a comma is not a point
            {std::string(45, '9'), 0, 1e45, refused},
            {std::string(400, '9'), 0, std::numeric_limits<double>::infinity(), refused},
            {"0." + std::string(400, '0') + "1", 0, 0.0, refused},
        };
        for (const auto& field : fields) {
            QCOMPARE(LeadingNumber(field.Text), field.Leading);
            const std::optional<float> value = NMEAValue(field.Text, field.Divisor);
            QVERIFY2(value.has_value() == !std::isnan(field.Nmea), field.Text.c_str());
            if (value)
                QCOMPARE(*value, field.Nmea);
        }
    }

    void formatFixed()
    {
        const struct {
            float Value;
            int Decimals, IntDigits;
            const char* Text;
        } numbers[] = {
            {5445.5f, 5, 4, "5445.50000"},
            {4.5321f, 5, 3, "004.53210"},
            {123.5f, 6, 1, "123.500000"},   // the integer count is a minimum
            {-4.25f, 2, 1, "-4.25"},
            {0.125f, 2, 1, "0.13"},         // halves away from zero
            {-0.125f, 2, 1, "-0.13"},
            {0.375f, 2, 1, "0.38"},
            {9.96f, 1, 1, "10.0"},          // the carry runs through the nines
            {5.34f, 1, 1, "5.3"},
            {0.35f, 1, 1, "0.3"},           // the float is below its half
            {0.15f, 1, 1, "0.2"},           // and above it
            {0.0f, 1, 1, "0.0"},
            {-0.0000001f, 6, 1, "0.000000"},   // a tiny negative has no sign
            {48.1173019f, 6, 1, "48.117302"},
            {2.5f, 0, 0, "3"},              // no decimals and at least one digit
            {1.5f, -1, 1, "2"},
            {std::numeric_limits<float>::infinity(), 2, 1, "?"},
        };
        for (const auto& number : numbers)
            QCOMPARE(FormatFixed(number.Value, number.Decimals, number.IntDigits), std::string(number.Text));
        const std::pair<float, const char*> general[] = {
            {22.4f, "22.4"}, {0.0f, "0"}, {0.005f, "0.005"}, {359.9999f, "359.9999"}, {1.23456789f, "1.234568"},
            {12.0f, "12"},   {std::nanf(""), "?"},
        };
        for (const auto& [value, text] : general)
            QCOMPARE(FormatGeneral(value), std::string(text));
    }

    void decimalCommaLocaleChangesNothing()
    {
        const char* chosen = nullptr;
        for (const char* name : {"de_DE.UTF-8", "nl_NL.UTF-8", "fr_FR.UTF-8", "de_DE", "nl_NL"}) {
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
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
