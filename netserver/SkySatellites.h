#pragma once

#include <cstddef>
#include <optional>

struct NavState;

// One satellite of the published sky as the SKY report lists it, numbered as GPSD clients expect:
// gnssid and svid (the constellation and the satellite's number within it), and a PRN that is
// unique across constellations (GPS 1-32, GLONASS 65-96, SBAS 120-158, QZSS 193-202, Galileo
// 301-336, BeiDou 401-463, NavIC 383+).
struct SkySatellite {
    int Prn = 0;
    int GnssId = 0;    // 0 GPS, 1 SBAS, 2 Galileo, 3 BeiDou, 5 QZSS, 6 GLONASS, 7 NavIC
    int Svid = 0;
    int Elevation = 0; // degrees
    int Azimuth = 0;   // degrees true
    int Snr = 0;       // dB-Hz
    bool Used = false; // in the receiver's solution
};

// The satellite in slot index (0-based) of the published sky, or nullopt for an empty slot.
// This is the one place that knows how the sky table stores a satellite, its constellation and
// whether the solution uses it.
std::optional<SkySatellite> PublishedSatellite(const NavState& nav, std::size_t index);

// The dilutions of precision that NMEA does not carry, east-west (X), north-south (Y), of the
// receiver's clock (T) and geometric (G, of all four together): from the geometry of the
// satellites the solution uses, as gpsd computes them, so that epx, epy and the SKY's DOPs agree
// with gpsd's. nullopt with fewer than four such satellites, or a geometry that gives none.
struct GeometryDops {
    double X = 0;
    double Y = 0;
    double T = 0;
    double G = 0;
};
std::optional<GeometryDops> SkyGeometryDops(const NavState& nav);

// Whether the published sky lists no satellite at all.
bool SkyEmpty(const NavState& nav);
