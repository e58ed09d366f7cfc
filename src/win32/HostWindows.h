// Finding FileMaker Pro's main window and an open menu window among the host's
// own top-level windows (this process's: another program's window is never the
// host, and its menus never get our keys).
#pragma once

#include <windows.h>

// The host main window: the window found last while it is still a window of the
// host's class, else the first in Z order whose class begins with "FMPRO";
// failing that, the last window either search found, if it still exists, or the
// foreground window.
HWND FindHostMainWindow();
// The first menu window ("#32768") in Z order, or null. It becomes the last
// window found.
HWND FindOpenMenuWindow();
// The window the searches found last (null before any); for tests.
HWND LastFoundWindow();
void ForgetFoundWindow();

bool BelongsToThisProcess(HWND hwnd);
