// Windows' session notifications (WM_WTSSESSION_CHANGE) to the timer dialog:
// its lock screen and disconnects, which take the keyboard from every program;
// and what Windows answers when asked of the session's state.
#pragma once

#include <windows.h>

#include "portable/engine/WindowsKeyboard.h"

const UINT WM_SESSION_CHANGE = 0x02B1;  // WM_WTSSESSION_CHANGE
// A notice of our own, of no change (Windows' codes start at 1): the session's
// state as the notices left it is taken anew. The lock with Windows, just
// turned on, locks FileMaker if Windows holds the keyboard already.
const WPARAM SESSION_UNCHANGED = 0;

enum class Listening {
  Yes,
  // Refused early at logon, before Remote Desktop Services is ready: ask again shortly.
  TryAgain,
  // Windows 95 to 2000 have none to give.
  Never,
};
// Registers the window for this session's notifications, through wtsapi32.dll
// from the system folder.
Listening ListenForSessionChanges(HWND window);
// Before the window goes.
void StopListeningForSessionChanges(HWND window);

// This session's lock and connection as Windows tells them (Windows 7 and
// later); nothing known where it cannot.
SessionReport AskWindowsForSession();
