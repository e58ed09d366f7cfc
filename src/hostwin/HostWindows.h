// Finding FileMaker Pro's main window and an open menu window. Nothing is
// cached: every call enumerates the top-level windows again.
#pragma once

#include <windows.h>

extern HWND MasterHandle;  // slot shared by both searches

// Both searches look only at the host's own windows (this process's).

// The host main window; else the last window a search found, if it still
// exists; else the foreground window.
HWND getthewindow();
// The first menu window ("#32768") in Z order, or null.
HWND getthemenuwindow();

bool BelongsToThisProcess(HWND hwnd);

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM value);
BOOL CALLBACK EnumWindowsProc2(HWND hwnd, LPARAM value);
