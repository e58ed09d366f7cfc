// The exit-record action: closes an open menu, brings the host window in use
// to the front and types Ctrl+Enter into it, so that FileMaker Pro commits the
// record being edited.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// One Ctrl+Enter, in the keystroke library's language. A commit types it
// twice (four times in a list view), each further one only once FileMaker has
// taken the one before in and asks nothing: a second key already queued would
// press the default button of a question the first raised.
const char EXIT_RECORD_KEY[] = "^{ENTER}";
const int COMMIT_KEYS = 2;
const int LIST_COMMIT_KEYS = 4;

enum class ExitRecordOutcome {
  Typed,        // the record counts as committed
  NotTyped,     // the host could not take keys now (disabled, not in front, the lock up)
  KeysRefused,  // typed, and Windows refused keys
};

// Types the first key only into host, the host window in use (the window the
// user works in: FindHostWindowInUseOrFallback says which), once it is enabled
// and in front, and never while the lock is up or Windows holds the keyboard;
// the commit's timer types the rest (TypeNextCommitKey).
ExitRecordOutcome RunExitRecordAction(WorkstationGuard& guard, HWND host);
// The restore timer gives the foreground back after afterMs, then hands on
// the person's keys held back meanwhile.
void StartGivingForegroundBack(WorkstationGuard& guard, UINT afterMs);

// Whether host still takes a further key: enabled, in front, with no popup of
// its own over it, and the foreground window is of this thread. A question
// FileMaker asks (field validation, a confirmation) fails this.
bool HostTakesNextKey(HWND host);
// One more Ctrl+Enter of the commit under way.
ExitRecordOutcome TypeNextCommitKey();
