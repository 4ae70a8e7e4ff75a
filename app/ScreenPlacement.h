#pragma once

#include <QList>
#include <QRect>

// Where a window restored at `window` (outer rectangle, pixels) should go, given the available
// areas of the screens present now. A window that still shows enough of itself on some screen to
// be grabbed stays there, but never larger than that screen and never with its title bar above
// it; one that would be lost (its monitor was unplugged, the resolution shrank) is centred on the
// first screen, shrunk to fit if it must. No screens: unchanged.
QRect BringOntoScreen(const QRect& window, const QList<QRect>& screens);
