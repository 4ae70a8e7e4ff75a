#pragma once

class QWidget;

// Leaves a window out of the taskbar and the pager, or puts it back, the way every window manager
// that follows the EWMH understands (_NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER):
// a tool window alone keeps its button under some of them (icewm). Before the window is shown
// the state goes with it when it appears; once it is shown the window manager is asked. Nothing
// where the window system is not X11.
void SetTaskbarButton(QWidget& window, bool shown);
