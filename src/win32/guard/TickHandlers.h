// What the timer dialog does on each of its timers, notices and requests: the
// tick observed, the engine asked, and what it decided handed to the room that
// carries it out.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// Each returns true when a lock it opened is held: the dialog brings it back.
void OnRecordTimer(WorkstationGuard& guard, HWND dialog);
[[nodiscard]] bool OnFileMakerTimer(WorkstationGuard& guard, HWND dialog);
void OnKeyScanTimer(WorkstationGuard& guard);
void OnRestoreTimer(WorkstationGuard& guard, HWND dialog);
// FileMaker came to the front or left it: the idle ticks come at once, not at
// their deadlines (the commit on leaving; the count held in the background).
void OnHostActivation(WorkstationGuard& guard, bool cameToFront);
// Windows woke from sleep: both counts look at once.
void OnResume(WorkstationGuard& guard);

// Windows' session notices: a change, and the registration (retried while
// Windows refuses it early at logon), after which Windows is asked what the
// notices may have missed.
[[nodiscard]] bool OnSessionChange(WorkstationGuard& guard, HWND dialog, WPARAM code);
[[nodiscard]] bool ListenAndAsk(WorkstationGuard& guard, HWND dialog);
