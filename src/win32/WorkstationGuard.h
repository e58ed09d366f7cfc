// The guard's state: the engine's, and each room's part of what only Windows
// has. Types only, and nothing of the rooms' code: every room is handed the
// guard, and each changes its own part. The plug-in owns the one instance.
#pragma once

#include <windows.h>

#include <cstdint>

#include "portable/engine/GuardState.h"
#include "portable/engine/ScriptEvents.h"
#include "portable/host/HostInterface.h"
#include "portable/text/LockTexts.h"

// What an exit-record action noted for its restore tick.
struct ExitRecordNote {
  HCURSOR cursorAtInit;   // shown when the host initialised the plug-in
  HWND giveBackTo;        // in front before the keys were typed; gets the foreground back
  HWND restoredHost;      // the host main window the action restored from minimised, else null
  HWND typingInto;        // the host window the commit under way types into
  bool restoreAfterKeys;  // the restore tick follows the commit's last key
  // The person's presses counted once the first key was in: any more are
  // typing after the commit's keys.
  uint32_t personsPressesAtKeys;
  bool waitingForPause;   // the foreground waits for the person to pause, since:
  DWORD pauseWaitedFrom;  // the idle clock
  bool restorePending;    // the restore timer runs: it ends the keys' hold
  bool givingBackKeys;    // the foreground is given back; the held keys wait for it
  DWORD restoredAt;       // the idle clock when it was
  // The commit's keys met a question of FileMaker's: the record is still open
  // whatever the restore finds.
  bool recordLeftOpen;
};

// The never-shown panel's script timer: its buttons set these, nothing starts it.
struct PanelScriptTimer {
  int32_t seconds;
  bool countsInBackground;
};

// What one watching thread and the guard share; each thread has its own, so
// that a thread that was slow to stop writes only into its own.
struct WatchingThread;

struct ActivityWatch {
  WatchingThread* running;  // null while no thread watches
  HANDLE thread;
};

// When each idle count's next look is due (by WatchedCount), on the idle clock.
struct PlannedLooks {
  bool due[2];
  uint32_t at[2];
};

// The notice before the lock.
struct LockWarningNotice {
  HWND window;             // null while no notice is shown: none exists then
  int32_t secondsShown;    // what its countdown says
  HostInterface shownFor;  // the interface it was made for, and so its texts
  LockLanguage language;
};

// Today's FileMaker opens a top-level window for each document, card window,
// palette and dialog; far fewer than this are ever open at once. A window that
// finds no room is not hidden, so that none is hidden for good.
const int MOST_HIDDEN_WINDOWS = 1024;

// What the lock holds while it is up: its own two windows and every window of
// the host that it hid and must give back.
struct LockedWindows {
  HWND backdrop;  // the lock's own: it and the windows it owns stay visible
  HWND login;
  HWND cover;                        // over the host while a lock waits for its commit, until the backdrop is up
  HWND inUse;                        // the host window the user worked in last
  HWND hidden[MOST_HIDDEN_WINDOWS];  // top of the stacking order first
  int hiddenCount;
};

// What outlasts one login: a login that comes back (after its loop was ended
// without the password) carries on from here.
struct LockSession {
  int32_t wrongPasswords;  // in a row during the lock up now, or the one before
  bool waiting;            // for the deadline before the next try
  uint32_t waitEndsAt;     // on the plug-in's clock
  // The login's loop ended without the password (a WM_QUIT): the windows stay
  // hidden and the login comes back, unless the plug-in is shut down first.
  bool held;
  bool ending;  // the plug-in is being shut down: a check under way is abandoned
  LockCause cause;
  DWORD lockedAt;  // GetTickCount when the lock opened
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
  LockSession lockSession;
  PanelScriptTimer panelScriptTimer;
  ActivityWatch activityWatch;
  PlannedLooks plannedLooks;
};
