// The lock's sequence, from the tick or request that decided it to the unlock:
// the keys still waiting for the host, the lock's commit, a wait for that
// commit (the script's turn, or Windows giving the keyboard back), the lock
// screen, and what follows it (both counts afresh, the unlock event).
//
// Each returns true when the login ended without the password (a WM_QUIT,
// handed on): the lock is held, its windows hidden, and the caller brings it
// back shortly on the timer dialog, made anew if it went meanwhile.
#pragma once

#include <windows.h>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/WindowsKeyboard.h"
#include "win32/WorkstationGuard.h"

// A tick or request that decided act: the lock's commit, then, when act opens
// the lock, the lock or a wait for its commit. A lock that waits already comes first.
[[nodiscard]] bool LockAfterExitRecord(WorkstationGuard& guard, HWND dialog, HWND host, TickActions act,
                                       LockCause cause);
// A lock asked for (Lulx_LockNow) or brought by Windows' own lock: the record
// committed first unless it is, whatever the limits.
[[nodiscard]] bool LockAtOnce(WorkstationGuard& guard, HWND dialog, LockCause cause);
// The waiting lock's timer: it asks Windows now and then while it waits for the
// keyboard, and opens once the engine lets it.
[[nodiscard]] bool WaitingLockTick(WorkstationGuard& guard, HWND dialog);
// The held lock's timer: its login comes back.
[[nodiscard]] bool ReopenLockTick(WorkstationGuard& guard, HWND dialog);
// What the session's state asks next: the script asked to commit, or the
// waiting commit typed and the lock that waited for it opened.
[[nodiscard]] bool TakeSessionTurn(WorkstationGuard& guard, HWND dialog, SessionTurn turn);
