// The hidden timer dialog: owns every timer of the plug-in and hands each
// tick, Windows' session notices and the lock's request to the room that
// carries them out (TickHandlers), then brings back a lock they left held.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"
#include "win32/watch/Timers.h"

// Creates guard.timerDialog from the plug-in's template 1112, with no owner,
// unless it exists. False when there is none to own timers.
bool EnsureTimerDialog(WorkstationGuard& guard, HINSTANCE instance);
// Stops the timers and destroys the dialog: nothing of the plug-in runs on its
// account afterwards.
void DestroyTimerDialog(WorkstationGuard& guard);

// A lock whose login was ended without the password comes back shortly, on
// the timer dialog (made anew if need be).
void ReopenHeldLock(WorkstationGuard& guard);

// Asks the timer dialog to lock on its next turn, never inside the caller.
void RequestLockNow(WorkstationGuard& guard);
