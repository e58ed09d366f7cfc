// Finding FileMaker Pro's main window and an open menu window among the host's
// own top-level windows (this process's: another program's window is never
// taken for the host, and its menus never get our keys).
#pragma once

#include <windows.h>

// The host main window: the window found last while it is still a window of the
// host's class, else the first in Z order whose class begins with "FMPRO" (and,
// for today's FileMaker, ends with "APP"). Failing that, a fallback that need
// not be the host: the last window either search found (a menu, it may be), if
// it still exists, or the foreground window, which may be another program's.
// Whoever types into it checks first that it is this process's own.
HWND FindHostMainWindowOrFallback();
// The first menu window ("#32768") in Z order, or null. It becomes the last
// window found.
HWND FindOpenMenuWindow();
// The window the searches found last (null before any); for tests.
HWND LastFoundWindow();
void ForgetFoundWindow();

bool BelongsToThisProcess(HWND hwnd);
