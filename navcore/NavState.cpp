#include "NavState.h"

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
}
