#pragma once

#include <string>

// What a GPS receiver with a fix sends in the given number of seconds: every second RMC, GGA, GSA,
// three GSV (eleven satellites in view), VTG and ZDA, each with its checksum and CR LF. Time,
// position, course and the satellites' positions and signal strengths change from second to
// second, so that the numbers read are not the same text over and over.
std::string SimulatedReceiverOutput(int seconds);
