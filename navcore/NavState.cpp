#include "NavState.h"

#include <algorithm>

void NavState::SetGpsdPlaceholders()
{
    TimeError = 0.005f;
    HorizontalErrorText = "?";
    VerticalErrorText = "?";
    ClimbText = "?";
    CourseErrorText = "?";
    SpeedErrorText = "?";
    ClimbErrorText = "?";
}

void NavState::ClearSky()
{
    SkyPrn.fill(0);
    SkyElevation.fill(0);
    SkyAzimuth.fill(0);
    SkySnr.fill(0);
    SkySystem.fill(0);
}

bool NavState::SatelliteUsed(SatelliteId satellite) const
{
    return satellite.Prn != 0
           && std::find(UsedSatellites.begin(), UsedSatellites.end(), satellite) != UsedSatellites.end();
}
