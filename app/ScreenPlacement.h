#pragma once

#include <QList>
#include <QRect>

// Where the instrument windows go on the screens there are now. Rectangles are outer rectangles
// (frame included) in the window system's pixels; screens are their available areas.

// A window to be put on the screens: the place it was stored at or is shown at, or, for a window
// that has never been placed, only its size.
struct WindowRequest {
    QRect Outer;
    bool Placed = true;
};

// The window moved, and reduced where it is larger, no further than it takes for all of it to be
// on one screen: the screen that shows most of it, or the nearest when none shows any. No
// screens: unchanged.
QRect WhollyOnScreen(const QRect& window, const QList<QRect>& screens);

// Where each window goes, in the order given. A window wholly on a screen at its stored place
// stays there, overlaps and all: it was made for these screens. Every other window is first
// brought wholly onto a screen; those that then overlap the main window or another window are
// laid out again, largest first, each as near to where it was as the room allows, beside the main
// window, the windows that stay (staying: windows open already) and those placed before it.
// Windows never placed go where there is room, nearest the top left of the first screen. Where
// the screens have no room for them at their size, the windows laid out again are reduced alike,
// a twentieth at a time down to 35 %; where even that leaves no room, each goes where it
// covers least, the main window above all.
QList<QRect> PlaceWindows(const QList<QRect>& screens, const QRect& mainWindow, const QList<QRect>& staying,
                          const QList<WindowRequest>& windows);
