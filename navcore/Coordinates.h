#pragma once

// Signed degrees-and-minutes (48.07038 for 48 deg 07.038') to signed decimal degrees (48.1173).
double DegreesFromDegreesMinutes(double value);
