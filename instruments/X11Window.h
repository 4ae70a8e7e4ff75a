#pragma once

#include <QMargins>
#include <QRect>

#include <optional>

class QWidget;

// What Qt does not say of a window on X11. Nothing (and nothing done) where the window system is
// not X11.

// Leaves a window out of the taskbar and the pager, or puts it back, the way every window manager
// that follows the EWMH understands (_NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER):
// a tool window alone keeps its button under some of them (icewm). Before the window is shown
// the state goes with it when it appears; once it is shown the window manager is asked. Nothing
// where the window system is not X11.
void SetTaskbarButton(QWidget& window, bool shown);

// The frame the window manager put around a shown window, in the X server's pixels
// (_NET_FRAME_EXTENTS); nothing while it has not said.
std::optional<QMargins> DeviceFrame(QWidget& window);

// Moves and sizes the client area of a shown window in the X server's pixels. At a scale factor
// of 1.5 a one-pixel border of the window manager is two thirds of the program's pixel, and only
// the X server's pixels put the frame exactly where it belongs.
void SetDeviceGeometry(QWidget& window, const QRect& client);
