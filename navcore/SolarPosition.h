#pragma once

// The sun's elevation in degrees: the angle of the centre of its disc above the horizon, seen from
// latitude and longitude (decimal degrees, north and east positive) at a moment in seconds since
// 1970-01-01 00:00 UTC. Geometric, without the half degree by which refraction lifts the sun at
// the horizon, as twilight is reckoned: the sun rises and sets at -0.833 degrees, and civil
// twilight ends at -6.
//
// The almanacs' low-precision solar formulas (mean longitude and anomaly, a two-term equation of
// the centre, a slowly shrinking obliquity): within 0.02 degrees of the sun's true place on every
// date from 1980 to 2200, which is plenty for choosing a brightness, at the cost of a few sines.
double SolarElevation(double unixSeconds, double latitude, double longitude);
