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

// Windows' dates as a test's ticks first saw them.
struct DateSeen {
  DWORD date, at;
};
const int DATES_KEPT = 8;
DateSeen g_datesSeen[DATES_KEPT];
int g_nextDate;

}  // namespace

DWORD IdleClockNow() { return g_testClock ? *g_testClock : GetTickCount(); }

void SetIdleClockForTests(const DWORD* now) {
  g_testClock = now;
  for (DateSeen& seen : g_datesSeen) seen = DateSeen();
}

bool IdleClockIsSetForTests() { return g_testClock != nullptr; }

DWORD OnIdleClock(DWORD windowsDate) {
  if (!g_testClock) return windowsDate;
  // The test's clock runs on its own: a date is when a tick first saw it.
  for (const DateSeen& seen : g_datesSeen)
    if (seen.at && seen.date == windowsDate) return seen.at;
  g_datesSeen[g_nextDate] = {windowsDate, *g_testClock ? *g_testClock : 1};
  g_nextDate = (g_nextDate + 1) % DATES_KEPT;
  return *g_testClock;
}
