#include "ReceiverOutput.h"

#include "NmeaChecksum.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

struct Satellite {
    int Prn;
    int Elevation;
    double Azimuth;
    int Snr;
};

// A sky over the North Sea at noon.
constexpr std::array<Satellite, 11> Sky{{
    {3, 12, 111.0, 31}, {4, 45, 270.0, 42}, {6, 8, 10.0, 24},   {9, 67, 190.0, 47},
    {12, 23, 320.0, 36}, {13, 6, 292.0, 21}, {17, 54, 45.0, 44}, {19, 31, 150.0, 39},
    {22, 78, 230.0, 48}, {24, 17, 80.0, 33}, {28, 39, 355.0, 41},
}};

using Body = std::array<char, 100>;

void AppendSentence(std::string& out, const Body& body)
{
    out += WithNmeaChecksum(body.data());
    out += "\r\n";
}

// One second of a boat sailing north-east at about five knots.
struct Second {
    int Hour;
    int Minute;
    int Sec;
    double LatitudeMinutes;  // minutes north of 52 degrees
    double LongitudeMinutes; // minutes east of 4 degrees
    double Course;
    double Speed;
};

Second At(int s)
{
    const int daySecond = 12 * 3600 + s;
    return {daySecond / 3600 % 24,
            daySecond / 60 % 60,
            daySecond % 60,
            22.1234 + s * 0.0013,
            53.4321 + s * 0.0021,
            54.7 + std::sin(s * 0.05) * 3.0,
            5.5 + std::sin(s * 0.11) * 0.4};
}

void AppendFix(std::string& out, const Second& t)
{
    Body body{};
    std::snprintf(body.data(), body.size(),
                  "GPRMC,%02d%02d%02d.00,A,52%07.4f,N,004%07.4f,E,%05.1f,%05.1f,150624,001.2,W",
                  t.Hour, t.Minute, t.Sec, t.LatitudeMinutes, t.LongitudeMinutes, t.Speed,
                  t.Course);
    AppendSentence(out, body);
    std::snprintf(body.data(), body.size(),
                  "GPGGA,%02d%02d%02d.00,52%07.4f,N,004%07.4f,E,1,08,0.9,%.1f,M,46.9,M,,",
                  t.Hour, t.Minute, t.Sec, t.LatitudeMinutes, t.LongitudeMinutes,
                  2.5 + (t.Sec % 7) * 0.1);
    AppendSentence(out, body);
    std::snprintf(body.data(), body.size(), "GPGSA,A,3,04,09,12,17,19,22,24,28,,,,,%.1f,%.1f,%.1f",
                  1.8 + (t.Sec % 3) * 0.1, 0.9 + (t.Sec % 2) * 0.1, 1.5);
    AppendSentence(out, body);
}

void AppendSky(std::string& out, int s)
{
    constexpr int perMessage = 4;
    constexpr int messages = (static_cast<int>(Sky.size()) + perMessage - 1) / perMessage;
    for (int m = 0; m < messages; ++m) {
        Body body{};
        int length = std::snprintf(body.data(), body.size(), "GPGSV,%d,%d,%02zu", messages, m + 1,
                                   Sky.size());
        for (int i = m * perMessage; i < (m + 1) * perMessage && i < static_cast<int>(Sky.size());
             ++i) {
            const Satellite& sat = Sky[static_cast<std::size_t>(i)];
            const int azimuth = static_cast<int>(std::fmod(sat.Azimuth + s * 0.01, 360.0));
            length += std::snprintf(body.data() + length, body.size() - static_cast<std::size_t>(length),
                                    ",%02d,%02d,%03d,%02d", sat.Prn, sat.Elevation, azimuth,
                                    sat.Snr + (s + i) % 3);
        }
        AppendSentence(out, body);
    }
}

void AppendTrackAndTime(std::string& out, const Second& t)
{
    Body body{};
    std::snprintf(body.data(), body.size(), "GPVTG,%05.1f,T,%05.1f,M,%05.1f,N,%05.1f,K", t.Course,
                  t.Course + 1.2, t.Speed, t.Speed * 1.852);
    AppendSentence(out, body);
    std::snprintf(body.data(), body.size(), "GPZDA,%02d%02d%02d.00,15,06,2024,00,00", t.Hour,
                  t.Minute, t.Sec);
    AppendSentence(out, body);
}

} // namespace

std::string SimulatedReceiverOutput(int seconds)
{
    std::string out;
    for (int s = 0; s < seconds; ++s) {
        const Second t = At(s);
        AppendFix(out, t);
        AppendSky(out, s);
        AppendTrackAndTime(out, t);
    }
    return out;
}
