// The plug-in's own windows among this process's.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// Whether hwnd is one of the plug-in's own windows (the timer dialog, the lock
// warning, the lock's backdrop and login), a window they own (the refusal), or
// one the login opens (its name list's drop-down). None of them is ever taken
// for a host window, hidden by the lock, or robbed of the keyboard. The one
// place that decides it.
bool IsPluginWindow(const WorkstationGuard& guard, HWND hwnd);
