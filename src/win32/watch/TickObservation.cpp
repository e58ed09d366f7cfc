#include "win32/watch/TickObservation.h"

#include "win32/input/HostKeys.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/input/InputDates.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/ActivityWatch.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

bool ReadCursor(Point& at) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  at = {p.x, p.y};
  return true;
}

}  // namespace

void Observe(WorkstationGuard& guard, Observed& o, WatchedCount count) {
  HWND foreground = GetForegroundWindow();
  o.host = FindHostWindowInUseOrFallback(foreground);
  o.seen.cursorRead = ReadCursor(o.seen.cursor);
  o.seen.now = IdleClockNow();
  // From a commit's first key to its end the keyboard's state is the
  // plug-in's: read again once the commit has taken in what its keys left.
  // The presses stay the user's alone: the hook tells the plug-in's apart.
  bool ownKeys = guard.state.commit.typed && CommitUnderWay(guard.state.commit, o.seen.now);
  o.seen.keys = !ownKeys && GetKeyboardState(o.keys) ? o.keys : nullptr;
  o.seen.keyPresses = KeyPressesSoFar();
  o.seen.wheelTurns = WheelTurnsSoFar();
  o.seen.hostKeyPresses = HostKeyPressesSoFar();
  o.seen.firstNewHostKeyAt = OnIdleClock(HostKeyTypedAt(guard.state.hostPressesTakenIn + 1));
  o.seen.inputDatedByWindows = WindowsDatesInput();
  const IdleCounter& counter = CounterOf(guard.state, count);
  o.seen.watched = ReadWatchedQuiet(guard.activityWatch, count, counter.countedUpTo, o.seen.now);
  uint32_t lastInput = counter.snapshot.lastInput;  // unread: no change
  if (o.seen.inputDatedByWindows && PersonsLastInput(lastInput)) lastInput = OnIdleClock(lastInput);
  DateLastInput(o.seen, counter, lastInput);
  // A tick the watch did not follow (on time, the thread asleep) has Windows' date.
  if (!o.seen.watched.known && o.seen.inputDatedByWindows)
    o.seen.watched = QuietFromLastInput(counter.countedUpTo, o.seen.activityDated, lastInput, o.seen.now);
  DWORD process = 0;
  DWORD thread = foreground ? GetWindowThreadProcessId(foreground, &process) : 0;
  // A foreground window of this thread is its active window: one question to
  // Windows fewer on most ticks, and each costs a round trip under Wine.
  HWND active = thread == GetCurrentThreadId() ? foreground : GetActiveWindow();
  o.seen.hostActive = o.host == active;
  o.seen.otherAppInFront = foreground && process != GetCurrentProcessId();
  // Any window of FileMaker's own process in front leaves FileMaker in front:
  // one of its dialogs (a person who walked away from a question is away all
  // the same) and the plug-in's own windows alike.
  o.seen.hostInFront = foreground == o.host || (foreground && !o.seen.otherAppInFront);
}

void TakeInTypingSoFar(WorkstationGuard& guard) {
  Observed o;
  Observe(guard, o, WatchedCount::Record);
  TakeInHostTyping(guard.state, o.seen);
  // The record count may have started again at a key: the watch measures from there.
  MarkTick(guard.activityWatch, WatchedCount::Record, guard.state.recordIdle.countedUpTo);
}
