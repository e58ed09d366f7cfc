// Where things go on the screen: the monitor that shows a window, and all of
// them together. Windows 95 and NT 4.0 have one monitor and no monitor
// functions, which are looked up at run time: there it is the primary screen.
#pragma once

#include <windows.h>

// The monitor nearest to hwnd: its whole area, or its work area (without the taskbar).
RECT MonitorAreaOf(HWND hwnd);
RECT WorkAreaOf(HWND hwnd);
// Every monitor together, as one rectangle.
RECT VirtualScreen();
