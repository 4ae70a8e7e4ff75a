#pragma once

// The desktop program hands over to the service without a screen (devozora-headless) when it is
// asked to (--headless), or when there is no display to show its windows on.

// Whether a display is named: DISPLAY, WAYLAND_DISPLAY, or a platform chosen with
// QT_QPA_PLATFORM. Always true where the desktop has no such variables (Windows, macOS).
bool DisplayNamed();

// Replaces this process by the service, with the given arguments after the program name. Returns
// only when that fails, having said why, with the exit status to end with.
int RunHeadless(const char* program, char* const arguments[]);

// Until the application has been made: a display that is named but cannot be reached (an X server
// that has gone, a stale DISPLAY in a service's environment) makes Qt give up; the service runs
// instead of the program aborting.
void RunHeadlessWhenNoDisplayOpens(const char* program);
void DisplayOpened();
