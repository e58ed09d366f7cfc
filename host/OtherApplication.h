// Another application: a second process with one window to switch to. Switching
// between processes is what FileMaker Pro's users do, and Windows treats it
// differently from switching between windows of one process.
#pragma once

#include <windows.h>

#include <string>

// This program's own path: the stand-in starts itself as the other application.
std::string ThisProgram();

// Starts `program --other-app ...` (the host stand-in) unless it runs, and
// returns its window, of class windowClass, brought to the front; null when it
// did not come up.
HWND OtherApplicationWindow(const std::string& program, const std::string& windowClass = "OtherApplication");
// The other application, if it runs, stops answering for ms milliseconds: a
// program that hangs.
void HangOtherApplication(DWORD ms);
// Closes the other application, if it runs.
void CloseOtherApplication();

// The other application's own main: shows its window, reports its activation
// on the shared timeline and ends with its window or with the process `parent`.
int RunOtherApplication(DWORD parent, long long timelineStart, const char* windowClass);

// What the mouse mover does: moves every 200 ms for ms milliseconds, but for
// pauseMs from pauseAt on, as a person at the desk does while the host's
// thread is busy.
struct MouseMoves {
  unsigned long ms, pauseAt, pauseMs;
};
// Starts it in another process; returns at once.
void StartMouseMover(const std::string& program, const MouseMoves& moves);
// Its own main: ends after the moves, or with the process `parent`.
int RunMouseMover(DWORD parent, long long timelineStart, const MouseMoves& moves);
// Another process types text, a key every 50 ms, into whatever window is in
// front: a person typing a letter in another program. Returns at once.
void StartTyper(const std::string& program, const std::string& text);
int RunTyper(DWORD parent, long long timelineStart, const char* text);
