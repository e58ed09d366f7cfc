// One reading of everything a tick looks at: the cursor, the keyboard, the key
// presses counted, what the watching thread saw, and which window is in front.
#pragma once

#include <windows.h>

#include "portable/engine/IdleEngine.h"
#include "win32/WorkstationGuard.h"

struct Observed {
  TickObservation seen;
  BYTE keys[KEYBOARD_STATE_SIZE];
  HWND host;  // the host window in use, or the searches' fallback
};

// A tick of count reads the moment into o.
void Observe(WorkstationGuard& guard, Observed& o, WatchedCount count);

// A commit begins: each count takes in the typing it has not seen yet, which
// the commit closes, so that no count later takes it for a record opened
// again, however late it looks.
void TakeInTypingSoFar(WorkstationGuard& guard);
