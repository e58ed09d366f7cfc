// The plug-in's timers, all owned by the timer dialog: their ids and periods,
// and starting and stopping them.
#pragma once

#include <windows.h>

#include "portable/engine/GuardState.h"

const UINT_PTR RECORD_TIMER = 1113;
const UINT_PTR FILEMAKER_TIMER = 1114;
const UINT_PTR KEYSCAN_TIMER = 1116;
const UINT_PTR RESTORE_TIMER = 1117;
const UINT_PTR REOPEN_LOCK_TIMER = 1118;
const UINT_PTR WAITING_LOCK_TIMER = 1119;
const UINT_PTR SESSION_LISTEN_TIMER = 1120;
const UINT_PTR COMMIT_STEP_TIMER = 1121;
// Where Windows dates no input (before Windows 2000) each count looks this
// often; from Windows 2000 on a count's first look comes this soon after its
// limit is set, and then where its plan says.
const UINT STEADY_LOOK_MS = TICK_MS;
// A lock that waits for its commit looks this often whether it may open.
const UINT WAITING_LOCK_LOOK_MS = TICK_MS;
const UINT KEYSCAN_TICK_MS = 100;
const UINT RESTORE_DELAY_MS = 100;
// Keys held back for another program wait this long at most for it to take
// the foreground back, looking this often.
const UINT HELD_KEYS_WAIT_MS = 1000;
const UINT HELD_KEYS_RETRY_MS = 20;
// The commit's next step: a further key once the one before is taken in, or
// FileMaker's answer.
const UINT COMMIT_STEP_MS = 50;
// After the host's loop has had the WM_QUIT that ended the login.
const UINT REOPEN_LOCK_DELAY_MS = 250;
// A registration for the session's notifications refused early at logon.
const UINT SESSION_LISTEN_RETRY_MS = 1000;

// Timers of the dialog; a null dialog does nothing (SetTimer and KillTimer
// with a null window would act on the host thread's own timers).
void StartTimer(HWND dialog, UINT_PTR id, UINT ms);
void StopTimer(HWND dialog, UINT_PTR id);
void StopAllTimers(HWND dialog);
void StartRestoreTimer(HWND dialog, UINT afterMs);

// The clock the idle counts read: GetTickCount, unless a test that sends the
// ticks itself has set the time they see (null: GetTickCount again).
DWORD IdleClockNow();
void SetIdleClockForTests(const DWORD* now);
bool IdleClockIsSetForTests();
// Windows' date of an input (GetTickCount's clock) on the idle clock.
DWORD OnIdleClock(DWORD windowsDate);
