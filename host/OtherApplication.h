// Another application: a second process with one window to switch to. Switching
// between processes is what FileMaker Pro's users do, and Windows treats it
// differently from switching between windows of one process.
#pragma once

#include <windows.h>

#include <string>

// Starts `program --other-app ...` (the host stand-in) unless it runs, and
// returns its window, of class windowClass, brought to the front; null when it
// did not come up.
HWND OtherApplicationWindow(const std::string& program, const std::string& windowClass = "OtherApplication");
// Closes the other application, if it runs.
void CloseOtherApplication();

// The other application's own main: shows its window, reports its activation
// on the shared timeline and ends with its window or with the process `parent`.
int RunOtherApplication(DWORD parent, long long timelineStart, const char* windowClass);

// Another program that moves the mouse every 200 ms for ms milliseconds, as a
// person at the desk does while the host's thread is busy; returns at once.
void StartMouseMover(const std::string& program, unsigned long ms);
// Its own main: ends after ms, or with the process `parent`.
int RunMouseMover(DWORD parent, long long timelineStart, unsigned long ms);
