// The exit-record action: closes an open menu, brings the host window in use
// to the front and types Ctrl+Enter into it, so that FileMaker Pro commits the
// record being edited.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// Ctrl+Enter twice, in the keystroke library's language.
const char EXIT_RECORD_KEYS[] = "^{ENTER}^{ENTER}";

enum class ExitRecordOutcome {
  Typed,        // the record counts as committed
  NotTyped,     // the host could not take keys now (disabled, not in front, the lock up)
  KeysRefused,  // typed, and Windows refused keys
};

// Types the keys only into host, the host window in use (the window the user
// works in: FindHostWindowInUseOrFallback says which), once it is enabled and
// in front, and never while the lock is up or Windows holds the keyboard.
ExitRecordOutcome RunExitRecordAction(WorkstationGuard& guard, HWND host);
