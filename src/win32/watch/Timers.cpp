#include "win32/watch/Timers.h"

void StartTimer(HWND dialog, UINT_PTR id, UINT ms) {
  if (dialog) SetTimer(dialog, id, ms, nullptr);
}

void StopTimer(HWND dialog, UINT_PTR id) {
  if (dialog) KillTimer(dialog, id);
}

void StopAllTimers(HWND dialog) {
  static const UINT_PTR ALL[] = {RECORD_TIMER,      FILEMAKER_TIMER,    KEYSCAN_TIMER,    RESTORE_TIMER,
                                 REOPEN_LOCK_TIMER, WAITING_LOCK_TIMER, COMMIT_STEP_TIMER};
  for (UINT_PTR id : ALL) StopTimer(dialog, id);
}

void StartRestoreTimer(HWND dialog, UINT afterMs) { StartTimer(dialog, RESTORE_TIMER, afterMs); }

namespace {
const DWORD* g_testClock;
}

DWORD IdleClockNow() { return g_testClock ? *g_testClock : GetTickCount(); }

DWORD OnIdleClock(DWORD windowsDate) {
  if (!g_testClock) return windowsDate;
  // The test's clock runs on its own: a date is when a tick first saw it.
  struct Seen {
    DWORD date, at;
  };
  static Seen seen[8];
  static int next;
  for (const Seen& s : seen)
    if (s.date == windowsDate && s.at) return s.at;
  seen[next] = {windowsDate, *g_testClock ? *g_testClock : 1};
  next = (next + 1) % 8;
  return *g_testClock;
}
void SetIdleClockForTests(const DWORD* now) { g_testClock = now; }
bool IdleClockIsSetForTests() { return g_testClock != nullptr; }
