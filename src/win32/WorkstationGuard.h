// The guard's state together with what only Windows has: the timer dialog and
// what an exit-record action noted for its restore tick. The plug-in owns the
// one instance; the timer dialog, the exit-record action and the lock screen
// are handed it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "portable/engine/GuardState.h"
#include "portable/host/HostInterface.h"
#include "win32/ActivityWatch.h"
#include "win32/LockWarning.h"
#include "win32/LockedWindows.h"

struct ExitRecordNote {
  HCURSOR cursorAtInit;  // shown when the host initialised the plug-in
  HWND giveBackTo;       // in front before the keys were typed; gets the foreground back
  HWND restoredHost;     // the host main window the action restored from minimised, else null
};

// The never-shown panel's script timer: its buttons set these, nothing starts it.
struct PanelScriptTimer {
  int32_t seconds;
  bool countsInBackground;
};

struct WorkstationGuard {
  GuardState state;
  HINSTANCE instance;           // the plug-in's module: its dialogs and strings
  HostInterface hostInterface;  // the host's text, functions and windows
  ExitRecordNote exitRecord;
  // Owns every timer; null until a function needs it. It has no owner: the
  // host may close any of its windows at any moment, and with an owner's
  // destruction Windows destroys the windows it owns and their timers.
  HWND timerDialog;
  LockWarningNotice lockWarning;
  LockedWindows lockedWindows;
  PanelScriptTimer panelScriptTimer;
  ActivityWatch activityWatch;
};

// Whether hwnd is one of the plug-in's own windows (the timer dialog, the lock
// warning, the lock's backdrop and login), a window they own (the refusal), or
// one the login opens (its name list's drop-down). None of them is ever taken
// for a host window, hidden by the lock, or robbed of the keyboard. The one
// place that decides it.
bool IsPluginWindow(const WorkstationGuard& guard, HWND hwnd);
