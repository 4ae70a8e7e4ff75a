#include "InstrumentTexts.h"

#include "NumberText.h"

#include <cmath>

namespace {

const QChar DegreeMark(0x00BA);

// "52.13400   N" becomes "52º13.400' N": degrees, whole minutes, thousandths, hemisphere.
QString DegreesAndMinutes(const QString& line)
{
    const qsizetype point = line.indexOf(QLatin1Char('.'));
    if (point < 0)
        return line;
    QString thousandths = line.mid(point + 3, 3);
    while (thousandths.endsWith(QLatin1Char(' ')))
        thousandths.chop(1);
    return line.left(point) + DegreeMark + line.mid(point + 1, 2) + QLatin1Char('.') + thousandths
        + QStringLiteral("' ") + line.right(1);
}

QString CoordinateLine(float value, int intDigits, char positive, char negative)
{
    const std::string number = FormatFixed(std::fabs(value), 5, intDigits);
    const char hemisphere = value > 0 ? positive : negative;
    return DegreesAndMinutes(QString::fromStdString(number) + QStringLiteral("   ")
                             + QLatin1Char(hemisphere));
}

} // namespace

QString NoReceptionText()
{
    return QStringLiteral("No\r\nreception");
}

QString PositionText(float latitude, float longitude)
{
    return CoordinateLine(latitude, 2, 'N', 'S') + QStringLiteral("\r\n")
        + CoordinateLine(longitude, 3, 'E', 'W');
}

QString SpeedText(float knots)
{
    return QString::fromStdString(FormatFixed(knots, 1, 1));
}

QString CourseText(float degrees)
{
    if (!std::isfinite(degrees))
        return QStringLiteral("?") + DegreeMark;
    // Adding 0 turns a course of -0 into a plain 0, which would otherwise print "-0".
    const double whole = std::floor(static_cast<double>(degrees)) + 0.0;
    return QString::number(whole, 'f', 0) + DegreeMark;
}

QChar TimeSeparator(const QString& timeFormat)
{
    for (const QChar c : timeFormat) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    }
    return QLatin1Char(':');
}

QString ClockText(std::optional<QTime> time, QChar separator)
{
    if (!time)
        return QStringLiteral("--%1--%1--").arg(separator);
    const auto field = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return field(time->hour()) + separator + field(time->minute()) + separator
        + field(time->second());
}

QString DisplayText(const QString& text)
{
    QString shown = text;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
