#pragma once

#include <cstdint>

// Where the simulated vessel starts and which of its possible tracks it follows.
struct TrackStart {
    double Latitude = 52.1;   // off the Dutch coast, clear of land for a good while
    double Longitude = 4.1;
    std::uint32_t Seed = 1;
};

// The vessel's motion. Course and speed are smooth functions of time, so the track is the same for
// a seed whatever the epoch rate; the position is integrated from them. The course swings about a
// mean heading that stays within 50 degrees of north with a swing of 70 degrees, so it crosses
// north twice every SwingPeriod seconds and the compass has to wrap.
class TrackModel {
public:
    static constexpr double SwingPeriod = 600;
    static constexpr double MinSpeedKnots = 3.5;
    static constexpr double MaxSpeedKnots = 9.5;

    explicit TrackModel(const TrackStart& start);

    // Moves the vessel on by seconds (> 0).
    void Advance(double seconds);

    double Seconds() const { return Elapsed; }
    double Latitude() const { return Lat; }
    double Longitude() const { return Lon; }
    double CourseTrue() const { return CourseAt(Elapsed); }
    double SpeedKnots() const { return SpeedAt(Elapsed); }

private:
    double CourseAt(double t) const;
    double SpeedAt(double t) const;

    double Elapsed = 0;
    double Lat = 0;
    double Lon = 0;
    double MeanHeading = 0;
    double MeanPhase = 0;
    double SwingPhase = 0;
    double SpeedPhase = 0;
    double SurgePhase = 0;
};
