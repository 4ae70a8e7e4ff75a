#pragma once

#include <string_view>

// Which constellation a satellite belongs to, from the talker of the sentence that reports it and
// the number it is given there. NMEA numbers satellites per talker: the GPS talker "GP" (and the
// combined "GN") carries GPS as 1-32, SBAS as 33-64 (its PRN 120-151 less 87) or 120-158 as
// such, GLONASS as 65-96 (slot + 64, as older receivers put it into GPGSV), QZSS as 193-202,
// and, from receivers that number every satellite in one range, Galileo as 301-336 and BeiDou as
// 401-463; every other talker speaks for one constellation whichever numbering it uses (NMEA
// 4.11 counts each from 1, others add 300 or 400): GL GLONASS, GA Galileo, GB and BD BeiDou, GQ
// QZSS, GI NavIC.

// The talkers whose sentences are read, in the order their satellites are listed in the sky.
inline constexpr std::string_view GnssTalkers[] = {"GP", "GN", "GL", "GA", "GB", "BD", "GQ", "GI"};

// The place of a talker in GnssTalkers; -1 for a talker not read.
int TalkerRank(std::string_view talker);

// The Gnss letter of a satellite reported by this talker under this number.
char SatelliteSystem(std::string_view talker, int prn);

// The Gnss letter of a satellite a GSA sentence names as used. NMEA 4.10 and later put the
// constellation into field 18 (1 GPS, 2 GLONASS, 3 Galileo, 4 BeiDou, 5 QZSS, 6 NavIC, GPS
// including its SBAS numbers); without it the talker tells, as in a GSV.
char UsedSatelliteSystem(std::string_view systemId, std::string_view talker, int prn);
