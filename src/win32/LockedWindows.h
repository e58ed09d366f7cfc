// What the lock holds while it is up: its own two windows, every window of the
// host that it hid and must give back, and what a login that comes back (after
// its loop was ended without the password) carries on from.
#pragma once

#include <windows.h>

#include <cstdint>

#include "portable/engine/ScriptEvents.h"

struct WorkstationGuard;

// Today's FileMaker opens a top-level window for each document, card window,
// palette and dialog; far fewer than this are ever open at once. A window that
// finds no room is not hidden, so that none is hidden for good.
const int MOST_HIDDEN_WINDOWS = 1024;

struct LockedWindows {
  HWND backdrop;  // the lock's own: it and the windows it owns stay visible
  HWND login;
  HWND inUse;                        // the host window the user worked in last
  HWND hidden[MOST_HIDDEN_WINDOWS];  // top of the stacking order first
  int hiddenCount;
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

// Hides every visible top-level window of this process but the plug-in's own,
// noting each in the guard's locked windows. Called when the lock starts and on
// each of its ticks: a window shown since is hidden in turn and goes on top of
// the windows to give back. Returns how many it hid now.
int HideHostWindows(WorkstationGuard& guard);

// Shows exactly the windows hidden that still exist, in their stacking order,
// makes the window in use the active one, and forgets them all.
void GiveBackHostWindows(LockedWindows& lock);
