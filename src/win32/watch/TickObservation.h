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

// A commit begins: the keys typed into FileMaker so far are in the record it
// closes, so that no look later takes them for a record opened again,
// however late it comes.
void TakeInTypingSoFar(WorkstationGuard& guard);
