#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// 10^0 to 10^15, each exact in a double.
constexpr std::array<double, 16> PowersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

} // namespace

double LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The number runs over digits, one point and blanks, up to its last digit or point.
    const std::size_t first = i;
    std::size_t last = i;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c))
            seenDigit = true;
        else if (c == '.' && !seenPoint)
            seenPoint = true;
        else if (!IsBlank(c))
            break;
        if (!IsBlank(c))
            last = i + 1;
    }
    if (!seenDigit)
        return 0.0;

    std::string_view number = text.substr(first, last - first);
    // Blanks inside a number are skipped; only then is a compact copy needed.
    std::string compact;
    if (number.find_first_of(" \t") != std::string_view::npos) {
        for (char c : number) {
            if (!IsBlank(c))
                compact.push_back(c);
        }
        number = compact;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large for a double, or so small it is zero for every purpose here.
        const std::string_view whole = number.substr(0, number.find('.'));
        const bool large = whole.find_first_not_of('0') != std::string_view::npos;
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::optional<double> PlainDecimal(std::string_view text)
{
    const bool hasSign = text.starts_with('+') || text.starts_with('-');
    bool seenPoint = false;
    int digits = 0;
    int decimals = 0;
    std::uint64_t whole = 0; // every digit, the point left out
    for (std::size_t i = hasSign ? 1 : 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            ++digits;
            decimals += seenPoint ? 1 : 0;
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    // What receivers send, at most 15 digits: the digits and the power of ten are exact doubles,
    // and one division rounds correctly, so this is the very number from_chars would give, at a
    // fraction of its cost.
    if (digits <= 15) {
        const double value = static_cast<double>(whole) / PowersOfTen[static_cast<std::size_t>(decimals)];
        return text.starts_with('-') ? -value : value;
    }
    // from_chars reads a "-" but not a "+".
    const std::string_view number = text.starts_with('+') ? text.substr(1) : text;
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed).ec != std::errc())
        return std::nullopt;
    return value;
}

std::optional<float> NmeaNumber(std::string_view field, std::int16_t divisor)
{
    if (field.empty())
        return 0.0f;
    const std::optional<double> number = PlainDecimal(field);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max())
        return std::nullopt;
    float value = static_cast<float>(*number);
    if (divisor != 0)
        value = value / static_cast<float>(divisor);
    return value;
}

std::string FormatFixed(double value, int decimals, int intDigits)
{
    if (!std::isfinite(value))
        return "?";
    decimals = decimals < 0 ? 0 : (decimals > 21 ? 21 : decimals);
    intDigits = intDigits < 1 ? 1 : (intDigits > 27 ? 27 : intDigits);

    // A double of 2^-108 or more has a decimal expansion of at most 160 fraction digits, so
    // printing 160 of them is exact, and anything smaller rounds to zero at 21 decimals whatever
    // its digits; rounding is then done by hand on those digits, halves away from zero. The
    // largest double has 309 integer digits.
    std::array<char, 512> exact{};
    const double magnitude = std::fabs(value);
    const auto result = std::to_chars(exact.data(), exact.data() + exact.size(), magnitude,
                                      std::chars_format::fixed, 160);
    std::string_view text(exact.data(), static_cast<std::size_t>(result.ptr - exact.data()));
    const std::size_t point = text.find('.');
    std::string digits(text.substr(0, point));
    digits.append(text.substr(point + 1, static_cast<std::size_t>(decimals)));
    const bool roundUp = text[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9') {
            digits[k - 1] = '0';
            --k;
        }
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
    }
    std::size_t integerCount = digits.size() - static_cast<std::size_t>(decimals);
    if (integerCount < static_cast<std::size_t>(intDigits)) {
        digits.insert(0, static_cast<std::size_t>(intDigits) - integerCount, '0');
        integerCount = static_cast<std::size_t>(intDigits);
    }
    const bool allZero = digits.find_first_not_of('0') == std::string::npos;
    std::string out;
    out.reserve(digits.size() + 2);
    if (value < 0 && !allZero)
        out.push_back('-');
    out.append(digits, 0, integerCount);
    if (decimals > 0) {
        out.push_back('.');
        out.append(digits, integerCount, std::string::npos);
    }
    return out;
}

std::string FormatGeneral(float value)
{
    if (!std::isfinite(value))
        return "?";
    if (value == 0.0f)
        value = 0.0f; // without the sign a negative zero carries
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 7);
    return std::string(buffer.data(), result.ptr);
}
