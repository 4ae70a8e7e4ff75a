#include "PageMessages.h"

#include "BrightnessColour.h"
#include "InstrumentColours.h"
#include "InstrumentTexts.h"
#include "NavState.h"
#include "SkyLayout.h"
#include "SkyPlotColours.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QString CssColour(std::int32_t base, std::string_view mode, bool red)
{
    const std::int32_t scaled = ScaleColour(base, mode);
    const std::int32_t shown = red ? RedOnly(scaled) : scaled;
    return QStringLiteral("#%1").arg(((shown & 0xFF) << 16) | (shown & 0xFF00) | ((shown >> 16) & 0xFF), 6, 16,
                                     QLatin1Char('0'));
}

QJsonObject Palette(std::string_view mode, bool red)
{
    const auto colour = [mode, red](std::int32_t base) { return CssColour(base, mode, red); };
    const PlotColours& plot = red ? RedPlotColours : DayPlotColours;
    QJsonArray signal;
    for (int signalClass = 0; signalClass < SignalClassCount; ++signalClass)
        signal.append(colour(SignalClassColor(signalClass, red)));
    return {{QStringLiteral("value"), colour(ValueColour)},      {QStringLiteral("heading"), colour(HeadingColour)},
            {QStringLiteral("date"), colour(DateColour)},        {QStringLiteral("scale"), colour(DrumScaleColour)},
            {QStringLiteral("index"), colour(DrumIndexColour)},  {QStringLiteral("outerRing"), colour(plot.OuterRing)},
            {QStringLiteral("innerRing"), colour(plot.InnerRing)}, {QStringLiteral("centre"), colour(plot.Center)},
            {QStringLiteral("letter"), colour(plot.Letter)},     {QStringLiteral("labelBox"), colour(plot.Label)},
            {QStringLiteral("signal"), signal}};
}

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonArray Satellites(const NavState& nav)
{
    QJsonArray satellites;
    for (std::size_t slot = 0; slot < nav.SkyPrn.size(); ++slot) {
        if (nav.SkyPrn[slot] == 0)
            continue;
        satellites.append(QJsonObject{
            {QStringLiteral("label"), QString::fromStdString(SatelliteLabel(nav.SkySystem[slot], nav.SkyPrn[slot]))},
            {QStringLiteral("elevation"), nav.SkyElevation[slot]},
            {QStringLiteral("azimuth"), nav.SkyAzimuth[slot]},
            {QStringLiteral("signal"), SignalClass(nav.SkySnr[slot])}});
    }
    return satellites;
}

} // namespace

QString LookMessage(std::string_view shownMode, bool nightRed)
{
    QJsonObject levels;
    for (std::string_view mode : BrightnessModes)
        levels.insert(Latin1(mode), Palette(mode, nightRed && IsRedMode(mode)));
    return Compact({{QStringLiteral("look"), Latin1(shownMode)}, {QStringLiteral("levels"), levels}});
}

QString ValuesMessage(const NavState& nav, const TimeDisplay& time, const QDateTime& computerNow,
                      const QLocale& locale, std::optional<qint64> fixAgeSeconds)
{
    // Without a fix every value reads "No reception", the date is empty and the sky keeps what the
    // receiver last published, as in the windows.
    const QString none = NoReceptionText();
    const DateTimeTexts dateTime = ShownDateTimeTexts(nav, time, computerNow, locale);
    QJsonObject values{{QStringLiteral("fix"), nav.FixValid},
                       {QStringLiteral("speed"), nav.FixValid ? SpeedText(nav.Speed) : none},
                       {QStringLiteral("course"), nav.FixValid ? CourseText(nav.Course) : none},
                       {QStringLiteral("timeSort"), dateTime.Sort},
                       {QStringLiteral("time"), nav.FixValid ? dateTime.Time : none},
                       {QStringLiteral("date"), nav.FixValid ? dateTime.Date : QString()},
                       {QStringLiteral("satellites"), Satellites(nav)}};
    values.insert(QStringLiteral("position"),
                  QJsonArray::fromStringList((nav.FixValid ? PositionText(nav.Latitude, nav.Longitude) : none)
                                                 .split(QStringLiteral("\r\n"))));
    // The drum turns to the course while there is one; a course that is not a number leaves it.
    if (nav.FixValid && std::isfinite(nav.Course))
        values.insert(QStringLiteral("heading"), static_cast<double>(nav.Course));
    if (!nav.FixValid && fixAgeSeconds)
        values.insert(QStringLiteral("age"), FixAgeText(*fixAgeSeconds));
    return Compact(values);
}

QString FixAgeText(qint64 seconds)
{
    if (seconds < 120)
        return QStringLiteral("Last fix %1 s ago").arg(seconds);
    if (seconds < 2 * 3600)
        return QStringLiteral("Last fix %1 min ago").arg(seconds / 60);
    return QStringLiteral("Last fix %1 h ago").arg(seconds / 3600);
}
