#pragma once

#include <QString>

// A Wayland compositor lets no program place its own windows, keep them on top or leave them out
// of a taskbar. Where the session also has XWayland (DISPLAY beside WAYLAND_DISPLAY), the program
// runs through it, so that all of that keeps working; where it has none, it runs on Wayland and
// says what it cannot keep. A window system the person chose (QT_QPA_PLATFORM) is left alone.
// To be called before the application object is made.
void ChooseWindowSystem();

// What the program cannot keep on the window system it runs on, in words; empty where it keeps
// everything.
QString WindowPromisesNotKept();
