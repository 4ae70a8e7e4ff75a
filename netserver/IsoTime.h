#pragma once

#include <cstdint>
#include <string>

// "YYYY-MM-DDThh:mm:ss.sssZ" for a moment given as seconds since 1970-01-01 00:00:00 UTC plus
// milliseconds (0 to 999), the form the JSON reports carry their times in.
std::string IsoUtcTime(std::int64_t unixSeconds, int milliseconds = 0);
