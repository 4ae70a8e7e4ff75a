#pragma once

#include "NavState.h"
#include "NmeaChecksum.h"
#include "NmeaInput.h"

#include <string>
#include <string_view>

// A receiver's cycle: a 3D fix at 48 07.038 N 011 31.000 E on 23 March 2024 at 12:35:19, course
// 84.4, 22.4 knots.
inline constexpr std::string_view Gga = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
inline constexpr std::string_view Gsa = "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
inline constexpr std::string_view Rmc = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230324,003.1,W";

// The sentence of body as a receiver sends it, with its checksum and line end.
inline std::string Line(std::string_view body)
{
    return WithNmeaChecksum(std::string(body)) + "\r\n";
}

// NavState as the program has it after start-up and the given sentence bodies.
inline NavState Received(std::initializer_list<std::string_view> bodies = {Gga, Gsa, Rmc})
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    NmeaInput input(nav);
    for (std::string_view body : bodies) {
        for (char c : Line(body))
            input.Intake(c);
    }
    return nav;
}
