#pragma once

class QWidget;
class InstrumentWindow;

// Puts a window into the always-on-top band or takes it out. The window keeps its place and
// size and is shown again without taking the focus from the window the user is working in.
void SetTopMost(QWidget* window, bool onTop);

// A frozen window has no frame, no title and no taskbar button, so it cannot be moved or resized
// by accident; unfreezing gives it a sizable frame, its title (its tag) and a taskbar button
// again. Either way the window's outer rectangle stays where it was. A null window is skipped.
void SetWindowFrozen(InstrumentWindow* window, bool frozen);
