#pragma once

#include "NavState.h"

// The worked example's state: an RMC fix at 48 07.038 N 011 31.000 E, 23 March 2024 12:35:19,
// course 84.4, 22.4 knots, a 3D fix.
inline NavState NavWithFix()
{
    NavState nav;
    nav.SetGpsdPlaceholders();
    nav.FixSource = "RMC";
    nav.FixValid = true;
    nav.Latitude = 48.07038f;
    nav.Longitude = 11.31f;
    nav.PreciseLatitude = 48.07038;
    nav.PreciseLongitude = 11.31;
    nav.UtcTimeText = "123519";
    nav.UtcDateText = "230324";
    nav.Course = 84.4f;
    nav.Speed = 22.4f;
    nav.FixMode = 3;
    return nav;
}
