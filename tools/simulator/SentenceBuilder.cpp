#include "SentenceBuilder.h"

#include "Angles.h"
#include "NmeaChecksum.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...)
{
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

struct UtcParts {
    std::string Time;   // hhmmss.ss
    int Day = 0;
    int Month = 0;
    int Year = 0;
};

UtcParts SplitUtc(std::int64_t utcMs)
{
    constexpr std::int64_t DayMs = 86'400'000;
    const std::int64_t days = utcMs >= 0 ? utcMs / DayMs : (utcMs - DayMs + 1) / DayMs;
    const std::int64_t ms = utcMs - days * DayMs;
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}};
    UtcParts parts;
    parts.Time = Format("%02d%02d%02d.%02d", static_cast<int>(ms / 3'600'000),
                        static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60),
                        static_cast<int>(ms / 10 % 100));
    parts.Day = static_cast<int>(static_cast<unsigned>(date.day()));
    parts.Month = static_cast<int>(static_cast<unsigned>(date.month()));
    parts.Year = static_cast<int>(date.year());
    return parts;
}

// "ddmm.mmmm,N" or "dddmm.mmmm,E": rounded as a whole, so 59.99999 minutes become the next degree
// rather than "60.0000".
std::string Coordinate(double degrees, int degreeDigits, char positive, char negative)
{
    const long long tenThousandths = std::llround(std::fabs(degrees) * 600'000);
    const long long whole = tenThousandths / 600'000;
    const long long minutes = tenThousandths % 600'000;
    return Format("%0*lld%02lld.%04lld,%c", degreeDigits, whole, minutes / 10'000, minutes % 10'000,
                  degrees < 0 ? negative : positive);
}

std::string Position(const Epoch& epoch)
{
    return Coordinate(epoch.Latitude, 2, 'N', 'S') + ","
           + Coordinate(epoch.Longitude, 3, 'E', 'W');
}

// Rounded first and then wrapped, so 359.996 degrees goes out as 0.00, never as 360.00.
std::string Angle(double degrees)
{
    return Format("%.2f", Wrap360(std::round(degrees * 100) / 100));
}

std::string Rmc(const Epoch& e, const UtcParts& utc)
{
    const std::string date = Format("%02d%02d%02d", utc.Day, utc.Month, utc.Year % 100);
    if (!e.FixValid)
        return "GPRMC," + utc.Time + ",V,,,,,,," + date + ",,,N";
    return "GPRMC," + utc.Time + ",A," + Position(e) + Format(",%.2f,", e.SpeedKnots)
           + Angle(e.CourseTrue) + "," + date
           + Format(",%.1f,%c,A", std::fabs(e.MagneticVariation), e.MagneticVariation < 0 ? 'W' : 'E');
}

std::string Vtg(const Epoch& e)
{
    if (!e.FixValid)
        return "GPVTG,,T,,M,,N,,K,N";
    return "GPVTG," + Angle(e.CourseTrue) + ",T," + Angle(e.CourseTrue - e.MagneticVariation)
           + Format(",M,%.2f,N,%.2f,K,A", e.SpeedKnots, e.SpeedKnots * 1.852);
}

int UsedCount(const Epoch& e)
{
    int used = 0;
    for (const SkySatellite& s : e.Sky)
        used += s.Used ? 1 : 0;
    return used;
}

std::string Gga(const Epoch& e, const UtcParts& utc)
{
    if (!e.FixValid)
        return "GPGGA," + utc.Time + ",,,,,0,00,99.99,,,,,,";
    return "GPGGA," + utc.Time + "," + Position(e)
           + Format(",1,%02d,%.2f,%.1f,M,%.1f,M,,", UsedCount(e), e.Hdop, e.Altitude,
                    e.GeoidSeparation);
}

std::string Gsa(const Epoch& e)
{
    std::string body = e.FixValid ? "GPGSA,A,3" : "GPGSA,A,1";
    int listed = 0;
    for (const SkySatellite& s : e.Sky) {
        if (s.Used && listed < 12) {
            body += Format(",%02d", s.Prn);
            ++listed;
        }
    }
    for (; listed < 12; ++listed)
        body += ",";
    return body + Format(",%.2f,%.2f,%.2f", e.Pdop, e.Hdop, e.Vdop);
}

std::string Gll(const Epoch& e, const UtcParts& utc)
{
    if (!e.FixValid)
        return "GPGLL,,,,," + utc.Time + ",V,N";
    return "GPGLL," + Position(e) + "," + utc.Time + ",A,A";
}

std::string Zda(const UtcParts& utc)
{
    return "GPZDA," + utc.Time + Format(",%02d,%02d,%04d,00,00", utc.Day, utc.Month, utc.Year);
}

} // namespace

std::vector<std::string> GsvSentences(const std::vector<SkySatellite>& sky)
{
    const int inView = static_cast<int>(sky.size());
    // A receiver with nothing in view still says so in one message.
    const int messages = std::max(1, (inView + 3) / 4);
    std::vector<std::string> sentences;
    for (int m = 1; m <= messages; ++m) {
        std::string body = Format("GPGSV,%d,%d,%02d", messages, m, inView);
        for (int i = (m - 1) * 4; i < std::min(m * 4, inView); ++i) {
            const SkySatellite& s = sky[static_cast<std::size_t>(i)];
            body += Format(",%02d,%02d,%03d,", s.Prn, s.Elevation, s.Azimuth);
            if (s.Snr > 0)
                body += Format("%02d", s.Snr);
        }
        sentences.push_back(WithNmeaChecksum(body));
    }
    return sentences;
}

std::vector<std::string> BuildSentences(const Epoch& epoch, SentenceChoice choice)
{
    const UtcParts utc = SplitUtc(epoch.UtcMs);
    std::vector<std::string> sentences{WithNmeaChecksum(Rmc(epoch, utc)),
                                       WithNmeaChecksum(Vtg(epoch)),
                                       WithNmeaChecksum(Gga(epoch, utc)),
                                       WithNmeaChecksum(Gsa(epoch))};
    if (choice.Sky) {
        for (std::string& gsv : GsvSentences(epoch.Sky))
            sentences.push_back(std::move(gsv));
    }
    sentences.push_back(WithNmeaChecksum(Gll(epoch, utc)));
    sentences.push_back(WithNmeaChecksum(Zda(utc)));
    if (choice.Text)
        sentences.push_back(WithNmeaChecksum("GPTXT,01,01,02,ANTSTATUS=OK"));
    return sentences;
}
