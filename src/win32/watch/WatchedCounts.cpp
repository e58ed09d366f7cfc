#include "win32/watch/WatchedCounts.h"

#include <cstring>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/TickPlan.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/input/InputDates.h"
#include "win32/watch/ActivityWatch.h"
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
  if (PersonsLastInput(lastInput)) lastInput = OnIdleClock(lastInput);
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

namespace {

// The count's look set for `ms` from now (NO_TICK_DUE: none), the watching
// thread told.
void SetLook(WorkstationGuard& guard, WatchedCount count, uint32_t now, uint32_t ms) {
  int i = static_cast<int>(count);
  UINT_PTR timer = count == WatchedCount::Record ? RECORD_TIMER : FILEMAKER_TIMER;
  guard.plannedLooks.due[i] = ms != NO_TICK_DUE;
  guard.plannedLooks.at[i] = now + ms;
  SetTickDue(guard.activityWatch, count, ms != NO_TICK_DUE, now + ms);
  // Without Windows' dates of input the timers tick four times a second, as
  // they were started; a test that sends the ticks itself plans them.
  if (ms == NO_TICK_DUE)
    StopTimer(guard.timerDialog, timer);
  else if (!IdleClockIsSetForTests() && WindowsDatesInput())
    StartTimer(guard.timerDialog, timer, ms);
}

uint32_t MsToLook(const WorkstationGuard& guard, WatchedCount count, uint32_t now, bool pending) {
  if (count == WatchedCount::Record) return MsToRecordTick(guard.state, now, pending);
  return MsToFileMakerTick(guard.state, now);
}

}  // namespace

void PlanCountTick(WorkstationGuard& guard, WatchedCount count, bool pending) {
  uint32_t now = IdleClockNow();
  SetLook(guard, count, now, MsToLook(guard, count, now, pending));
}

namespace {

// The count's look set for `ms` from now, unless one is planned already no
// later: a look that finds nothing due costs one look, one put off may miss a
// step that waits to be retried.
void LookNoLaterThan(WorkstationGuard& guard, WatchedCount count, uint32_t now, uint32_t ms) {
  int i = static_cast<int>(count);
  int32_t planned = static_cast<int32_t>(guard.plannedLooks.at[i] - now);
  bool sooner = guard.plannedLooks.due[i] && planned > 0 && (ms == NO_TICK_DUE || static_cast<uint32_t>(planned) <= ms);
  if (!sooner) SetLook(guard, count, now, ms);
}

}  // namespace

void PlanLooks(WorkstationGuard& guard) {
  uint32_t now = IdleClockNow();
  for (int i = 0; i < WATCHED_COUNTS; ++i) {
    WatchedCount count = static_cast<WatchedCount>(i);
    LookNoLaterThan(guard, count, now, MsToLook(guard, count, now, false));
  }
}

void LookWithin(WorkstationGuard& guard, WatchedCount count, uint32_t ms) {
  LookNoLaterThan(guard, count, IdleClockNow(), ms);
}
