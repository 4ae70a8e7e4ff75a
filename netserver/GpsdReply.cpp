#include "GpsdReply.h"

#include "Coordinates.h"
#include "FixDate.h"
#include "NavState.h"
#include "NumberText.h"

namespace {

std::string FixTimeText(NavState& nav)
{
    const auto time = FixEpochSeconds(nav);
    nav.FixUnixTime = time.value_or(0);
    return time ? std::to_string(*time) : std::string("?");
}

std::string AltitudeText(const NavState& nav)
{
    const bool metres = nav.AltitudeUnit == "M" || nav.AltitudeUnit == "m";
    return metres ? FormatFixed(nav.Altitude, 2) : std::string("?");
}

// Decimal degrees in double precision from the received text on: a float of the degrees cannot
// hold the sixth decimal (up to 0.9 m north-south off), let alone a centimetre receiver's.
std::string DegreesText(double degreesMinutes)
{
    return FormatFixed(DegreesFromDegreesMinutes(degreesMinutes));
}

} // namespace

std::string PositionReply(NavState& nav)
{
    const std::string time = FixTimeText(nav);
    nav.AltitudeText = AltitudeText(nav);

    std::string reply;
    reply.reserve(128);
    reply.append("GPSD,O=").append(nav.FixSource);
    const auto value = [&reply](std::string_view text) { reply.append(" ").append(text); };
    value(time);
    value(FormatGeneral(nav.TimeError));
    value(DegreesText(nav.PreciseLatitude));
    value(DegreesText(nav.PreciseLongitude));
    value(nav.AltitudeText);
    value(nav.HorizontalErrorText);
    value(nav.VerticalErrorText);
    value(FormatGeneral(nav.Course));
    value(FormatGeneral(nav.Speed));
    value(nav.ClimbText);
    value(nav.CourseErrorText);
    value(nav.SpeedErrorText);
    value(nav.ClimbErrorText);
    value(std::to_string(nav.FixMode));
    reply.append("\r\n");
    return reply;
}

std::string GpsdAnswer(char command, NavState& nav)
{
    switch (command) {
    case 'o':
    case 'O':
        return nav.FixValid ? PositionReply(nav) : std::string(GpsdNoFixReply);
    case 'l':
    case 'L':
        return std::string(GpsdLevelReply);
    default:
        return {};
    }
}
