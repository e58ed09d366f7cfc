// The workstation lock screen: a captionless backdrop over the desktop that
// hides the host's windows and, in front of it, the "Please Login" dialog that
// only the workstation password ends.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// While the lock is up, a window the host shows is hidden on this timer's next
// tick, and joins the windows to give back.
const UINT_PTR LOCK_WATCH_TIMER = 1141;
const UINT LOCK_WATCH_TICK_MS = 250;

enum class LockEnd {
  Unlocked,   // the password: the host's windows are back, the lock over since it was typed
  GivenBack,  // the plug-in's shutdown, or the lock could not be put up: the windows are back
  Held,       // the login's loop ended otherwise (a WM_QUIT, handed on): the windows stay hidden
  AlreadyUp,  // a lock is up already: nothing was done
};

// Hides every window of the host behind the lock until the password is typed.
// The guard's lockIsUp is set for as long as the lock is up or held; a held
// lock (its windows still hidden) is opened again by calling this once more,
// and carries on its lock session: its count of wrong passwords and its wait.
// The password is in the host interface's text: the login field reads what is
// typed in the same text. Wrong passwords are counted for this lock only; from the fourth in a
// row on, each makes the next try wait longer. The backdrop has no owner:
// closing any host window must not close the lock.
// Each try is checked against what is in force when OK is pressed: the
// password, or, where a digest is in force, the digest, to which what is typed
// (UTF-8) is derived; at a shared desk, the chosen person's digest, if that
// person is still one of the people. Under FileMaker 7 and later, with people
// set, the login lists them as they were when it opened (and "Workstation" when
// a workstation password is in force).
LockEnd RunLockScreen(HINSTANCE instance, WorkstationGuard& guard);

// Ends a lock that is up or held without its password and gives the host's
// windows back at once: the plug-in is being shut down, and must leave nothing
// hidden. A check under way is abandoned: nothing of it shows or counts.
void EndLockScreen(WorkstationGuard& guard);
