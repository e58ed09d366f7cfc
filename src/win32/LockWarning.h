// The notice before the lock: a small window at the bottom right of the work
// area of the monitor that shows the host, counting the seconds down. It never
// takes the focus or the activation, so typing goes on reaching the record.
#pragma once

#include <windows.h>

#include <cstdint>

struct LockWarningNotice {
  HWND window;           // null while no notice is shown: none exists then
  int32_t secondsShown;  // what its countdown says
};

// Shows the notice, or updates its countdown, with `seconds` left.
void ShowLockWarning(LockWarningNotice& notice, HINSTANCE instance, HWND owner, HWND host, int32_t seconds);
void CloseLockWarning(LockWarningNotice& notice);
