// The plug-in's lock windows as the stand-in finds and reads them, in whatever
// language they speak: the login by its password field, the refusal by its
// owner, the notice before the lock by its countdown.
#pragma once

#include <windows.h>

#include <string>

HWND FindLogin();  // the visible login, or null
HWND FindRefusal(HWND login);
HWND FindLockWarning();
// Whether a visible, untitled dialog window of this process is the lock's backdrop.
bool IsLockBackdrop(HWND hwnd);

// A window's text, and the first text of a static control in it, as UTF-8.
std::string TextOf(HWND window);
std::string FirstStaticText(HWND window);

// Prints, for each of the lock's windows that is up, its title and texts, and
// whether every text fits its control, no two controls overlap, and each lies
// inside its window on the screen.
void LogLockWindows();
