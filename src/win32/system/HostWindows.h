// Finding FileMaker Pro's main window and an open menu window among the host's
// own top-level windows (this process's: another program's window is never
// taken for the host, and its menus never get our keys).
#pragma once

#include <windows.h>

#include "portable/host/HostInterface.h"

// Which host's window classes the searches take, from the host's init on.
void WatchHostWindowsOf(HostInterface host);
// The host window in use: the one the exit-record action types into, the lock
// gives back active, and the ticks watch. A host window is a top-level window of
// this process whose class begins with "FMPRO" (and, for FileMaker 7 and later,
// which gives each document a window of its own, ends with "APP").
//  - The foreground window, when it is a host window: the user works in it.
//  - Otherwise the host window that was the foreground one most recently, while
//    it is still a host window.
//  - Otherwise the first host window in Z order (the one activated last).
//  - Failing that, a fallback that need not be the host: the last window either
//    search found (a menu, it may be), if it still exists, or the foreground
//    window, which may be another program's. Whoever types into it checks first
//    that it is this process's own.
// Every tick asks: only the last two search all top-level windows. A tick that
// has read the foreground window already passes it, saving Windows a question.
HWND FindHostWindowInUseOrFallback();
HWND FindHostWindowInUseOrFallback(HWND foreground);
// The first menu window ("#32768") in Z order, or null. It becomes the last
// window found.
HWND FindOpenMenuWindow();
// The window the searches found last (null before any); for tests.
HWND LastFoundWindow();
void ForgetFoundWindow();

bool BelongsToThisProcess(HWND hwnd);
// A modal dialog of the host's is up over its window (which it disables):
// FileMaker runs no script and answers no question until it is answered.
bool HostShowsDialog(HWND host);
// Whether hwnd is one of windows (nulls are skipped) or owned by one of them.
bool IsOrIsOwnedBy(HWND hwnd, const HWND* windows, int count);
