// Activity detection: the cursor position and the host thread's keyboard state
// compared with a snapshot taken earlier.
#pragma once

#include <windows.h>

struct ActivitySnapshot {
  POINT ptOld;               // cursor at the last snapshot
  BYTE abKeyState[256];      // keyboard state at the last snapshot
  BYTE abKeyState2[256];     // keyboard state read at the current tick
};

// Each idle timer keeps its own snapshot: a change that one timer has already
// taken in must still count as activity for the other.
extern ActivitySnapshot recordSnapshot;
extern ActivitySnapshot appSnapshot;

// Cursor, then keyboard into abKeyState.
void TakeSnapshot(ActivitySnapshot& snapshot);
// Present keyboard state into abKeyState2 and abKeyState.
void RefreshKeyboardSnapshot(ActivitySnapshot& snapshot);
// Reads the tick's cursor position and keyboard state (into abKeyState2). A
// failed read reads as no change.
POINT ReadActivity(ActivitySnapshot& snapshot);
bool KeyboardChanged(const ActivitySnapshot& snapshot);
bool CursorMoved(const ActivitySnapshot& snapshot, POINT now);

// 1 when a key of the key-scan set is down, else 0.
int checkkeys();
