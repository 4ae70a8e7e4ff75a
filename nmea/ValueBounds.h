#pragma once

// What a receiver can truthfully report. A checksum only proves that a line arrived as it was
// sent; a corrupt receiver, a bad multiplexer or a hand-made feed sends valid sentences with
// impossible values, and those must not reach the displays and the plotters. A sentence with a
// value outside these bounds changes nothing, like a malformed one; a GSV satellite with one
// leaves its place in the group empty. The dates a ZDA may carry are in FixDate.h.

// Latitude and longitude fields, ddmm.mmmm and dddmm.mmmm: unsigned (the hemisphere carries the
// sign), minutes below 60.
inline constexpr double MaxLatitudeDegrees = 90;
inline constexpr double MaxLongitudeDegrees = 180;

// A receiver sold to civilians stops reporting above 1000 knots (the export limit), so a faster
// speed is corruption, whatever the vehicle.
inline constexpr float MaxSpeedKnots = 1000;
inline constexpr float MaxSpeedKmh = 1852;

// Degrees true or magnetic; some receivers write north as 360.
inline constexpr float MaxCourse = 360;

// A satellite in a GSV sentence: elevation in degrees (slightly negative ones are satellites
// just below the horizon), azimuth in whole degrees, SNR in dB-Hz (two digits), and its number:
// BeiDou's 63rd satellite is 463 in the numbering that starts BeiDou at 401.
inline constexpr int MinElevation = -90;
inline constexpr int MaxElevation = 90;
inline constexpr int MaxAzimuth = 359;
inline constexpr int MaxSnr = 99;
inline constexpr int MaxSatelliteNumber = 463;
