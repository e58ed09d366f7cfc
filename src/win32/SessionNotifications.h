// Windows' session notifications (WM_WTSSESSION_CHANGE) to the timer dialog:
// its lock screen and disconnects, which take the keyboard from every program.
#pragma once

#include <windows.h>

const UINT WM_SESSION_CHANGE = 0x02B1;  // WM_WTSSESSION_CHANGE

// Registers the window for this session's notifications, through wtsapi32.dll
// from the system folder. Windows 95 to 2000 have none to give: nothing then.
void ListenForSessionChanges(HWND window);
// Before the window goes.
void StopListeningForSessionChanges(HWND window);
