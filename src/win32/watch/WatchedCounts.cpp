#include "win32/watch/WatchedCounts.h"

#include <cstring>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/TickPlan.h"
#include "win32/watch/ActivityWatch.h"
#include "win32/watch/HostThreadInput.h"
#include "win32/watch/Timers.h"

IdleCounter& CounterOf(GuardState& state, WatchedCount count) {
  return count == WatchedCount::Record ? state.recordIdle : state.fileMakerIdle;
}

void TakeSnapshotNow(IdleCounter& counter) {
  POINT p;
  Point cursor = counter.snapshot.cursor;
  if (GetCursorPos(&p)) cursor = {p.x, p.y};
  BYTE keys[KEYBOARD_STATE_SIZE];
  uint32_t lastInput = 0;
  PersonsLastInput(lastInput);
  TakeSnapshot(counter, cursor, GetKeyboardState(keys) ? keys : nullptr, KeyPressesSoFar(), WheelTurnsSoFar(),
               lastInput);
}

void TakeInOwnKeys(GuardState& state) {
  BYTE keys[KEYBOARD_STATE_SIZE];
  if (!GetKeyboardState(keys)) return;
  std::memcpy(state.recordIdle.snapshot.keys, keys, sizeof keys);
  std::memcpy(state.fileMakerIdle.snapshot.keys, keys, sizeof keys);
}

void StartCountNow(WorkstationGuard& guard, WatchedCount count) {
  IdleCounter& counter = CounterOf(guard.state, count);
  TakeSnapshotNow(counter);
  RestartCount(counter, IdleClockNow());
  MarkCount(guard, count);
}

void StartLimitCount(WorkstationGuard& guard, WatchedCount count) {
  StartActivityWatch(guard.activityWatch);
  StartCountNow(guard, count);
}

void MarkCount(WorkstationGuard& guard, WatchedCount count) {
  MarkTick(guard.activityWatch, count, CounterOf(guard.state, count).countedUpTo);
  PlanCountTick(guard, count);
}

void PlanCountTick(WorkstationGuard& guard, WatchedCount count, bool pending) {
  // Without Windows' dates of input the timers tick four times a second, as
  // they were started; a test that sends the ticks itself plans them.
  uint32_t now = IdleClockNow();
  bool record = count == WatchedCount::Record;
  uint32_t ms = record ? MsToRecordTick(guard.state, now, pending) : MsToFileMakerTick(guard.state, now);
  UINT_PTR timer = record ? RECORD_TIMER : FILEMAKER_TIMER;
  SetTickDue(guard.activityWatch, count, ms != NO_TICK_DUE, now + ms);
  if (ms == NO_TICK_DUE)
    StopTimer(guard.timerDialog, timer);
  else if (!IdleClockIsSetForTests() && WindowsDatesInput())
    StartTimer(guard.timerDialog, timer, ms);
}
