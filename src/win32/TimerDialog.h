// The hidden timer dialog: owns every timer of the plug-in, observes the
// cursor, the keyboard and the windows on each tick, lets the idle engine
// decide, and carries out what it decided.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

const UINT_PTR RECORD_TIMER = 1113;
const UINT_PTR FILEMAKER_TIMER = 1114;
const UINT_PTR KEYSCAN_TIMER = 1116;
const UINT_PTR RESTORE_TIMER = 1117;
const UINT IDLE_TICK_MS = 250;
const UINT KEYSCAN_TICK_MS = 100;
const UINT RESTORE_DELAY_MS = 100;

// Creates guard.timerDialog from the plug-in's template 1112, owned by the host
// main window, unless it exists. False when there is none to own timers.
bool EnsureTimerDialog(WorkstationGuard& guard, HINSTANCE instance);
// Stops the timers and destroys the dialog: nothing of the plug-in runs on its
// account afterwards.
void DestroyTimerDialog(WorkstationGuard& guard);

// Timers of the dialog; a null dialog does nothing (SetTimer and KillTimer
// with a null window would act on the host thread's own timers).
void StartTimer(HWND dialog, UINT_PTR id, UINT ms);
void StopTimer(HWND dialog, UINT_PTR id);
void StopAllTimers(HWND dialog);
void StartRestoreTimer(HWND dialog);

// Asks the timer dialog to lock on its next turn, never inside the caller.
void RequestLockNow(WorkstationGuard& guard);

// Starts a count afresh from the cursor and keyboard of this moment.
void TakeSnapshotNow(IdleCounter& counter);
