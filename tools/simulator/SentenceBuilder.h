#pragma once

#include "Epoch.h"

#include <string>
#include <vector>

// Which of the occasional sentences an epoch carries.
struct SentenceChoice {
    bool Sky = true;    // the GSV group (a slow serial line cannot carry it every second)
    bool Text = false;  // a TXT status message
};

// The sentences a receiver sends for one epoch, each complete with "$" and checksum but without
// line end, in a receiver's usual order: RMC, VTG, GGA, GSA, GSV..., GLL, ZDA, TXT. Fields are
// formatted the way common receivers do (hhmmss.ss, ddmm.mmmm, NMEA 2.3 mode letters); without a
// fix the position fields are empty and the status says so.
std::vector<std::string> BuildSentences(const Epoch& epoch, SentenceChoice choice);

// The GSV group alone: four satellites per message.
std::vector<std::string> GsvSentences(const std::vector<SkySatellite>& sky);
