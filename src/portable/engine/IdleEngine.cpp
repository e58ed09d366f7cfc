#include "portable/engine/IdleEngine.h"

#include <cstring>

namespace {

// A key pressed in the host counts even where the keyboard state does not show it.
bool KeyboardChanged(const IdleCounter& counter, const TickObservation& seen) {
  if (seen.keyPresses != counter.snapshot.keyPresses) return true;
  return seen.keys && std::memcmp(counter.snapshot.keys, seen.keys, KEYBOARD_STATE_SIZE) != 0;
}

// The mouse moved, or its wheel turned: scrolling edits nothing, so it counts
// as a move, never as typing.
bool CursorMoved(const IdleCounter& counter, const TickObservation& seen) {
  // Input Windows dated since the last look: the cursor may be back where it was.
  if (seen.inputDatedByWindows && seen.activityAt != counter.snapshot.lastInput) return true;
  if (seen.wheelTurns != counter.snapshot.wheelTurns) return true;
  return seen.cursorRead && (seen.cursor.x != counter.snapshot.cursor.x || seen.cursor.y != counter.snapshot.cursor.y);
}

// The keys and Windows' date of the last input as this tick saw them.
void RefreshKeys(IdleCounter& counter, const TickObservation& seen) {
  if (seen.keys) std::memcpy(counter.snapshot.keys, seen.keys, KEYBOARD_STATE_SIZE);
  counter.snapshot.keyPresses = seen.keyPresses;
  counter.snapshot.lastInput = seen.activityAt;
}

// The moment the count runs from.
uint32_t OriginOf(const IdleCounter& counter) {
  return counter.countedUpTo - static_cast<uint32_t>(counter.ticks) * TICK_MS - counter.partTickMs;
}

// When the activity a look found came. Where Windows dates input, every input
// came at or before its date of the last one: at that date, unless the count
// already runs from later. Otherwise at the look.
uint32_t ActivityMoment(const IdleCounter& counter, const TickObservation& seen) {
  // Read a moment after the look's clock: now.
  if (!seen.inputDatedByWindows || static_cast<int32_t>(seen.activityAt - seen.now) > 0) return seen.now;
  uint32_t origin = OriginOf(counter);
  bool withinCount = seen.activityAt - origin <= seen.now - origin;  // unsigned: right across the clock's wrap
  return withinCount ? seen.activityAt : origin;
}

void CountFrom(IdleCounter& counter, uint32_t at, uint32_t now) {
  RestartCount(counter, at);
  CountElapsed(counter, now);
}

// The user typed: the count starts again. Whether that opened a record again
// the hooks tell, key by key (TakeInHostTyping).
void TakeInTyping(IdleCounter& counter, const TickObservation& seen) {
  // A press the hooks counted, Windows dated too; a keyboard that changed
  // without one (Wine at times, a program) changed as the look found it.
  bool pressed = seen.keyPresses != counter.snapshot.keyPresses;
  CountFrom(counter, pressed ? ActivityMoment(counter, seen) : seen.now, seen.now);
  RefreshKeys(counter, seen);
}

// The lock warning shows once the time left before the lock is the warning time
// or less, counting down whole seconds; never on a tick that saw activity.
int32_t LockWarningSeconds(const GuardState& state) {
  int32_t warning = state.settings.lockWarningSeconds;
  if (warning < 1 || state.fileMakerIdle.ticks < 1) return 0;
  int32_t ticksLeft = TicksFor(state.settings.fileMakerLimitSeconds) - state.fileMakerIdle.ticks;
  if (ticksLeft < 1 || ticksLeft > TicksFor(warning)) return 0;
  return (ticksLeft + TICKS_PER_SECOND - 1) / TICKS_PER_SECOND;
}

// Locks: the record committed first unless done, the count started afresh.
void StartLock(GuardState& state, TickActions& act) {
  if (!state.recordCommitted) act.exitRecordAttempts = 1;
  state.recordCommitted = true;
  state.fileMakerIdle.ticks = 0;
  act.openLock = true;
}

// A fresh count from what this tick saw: after a mouse move, after a late
// tick has acted, and while the count is held. The latch is left alone.
void StartAfresh(IdleCounter& counter, const TickObservation& seen) {
  if (seen.cursorRead) counter.snapshot.cursor = seen.cursor;
  counter.snapshot.wheelTurns = seen.wheelTurns;
  RefreshKeys(counter, seen);
  RestartCount(counter, seen.now);
}

// A move Windows dated counts from then, before the limit is checked: the
// tick may come long after it. True when it took the move in.
bool TakeInDatedMove(IdleCounter& counter, const TickObservation& seen) {
  if (!seen.inputDatedByWindows) return false;
  uint32_t at = ActivityMoment(counter, seen);
  StartAfresh(counter, seen);
  CountFrom(counter, at, seen.now);
  return true;
}

struct CountedTime {
  int32_t ticks;
  uint32_t partTickMs;
};

// The count as it would stand at now, the counter left as it is.
CountedTime CountedAt(const IdleCounter& counter, uint32_t now) {
  uint32_t elapsed = now - counter.countedUpTo;  // unsigned: right across the clock's wrap
  uint32_t whole = elapsed / TICK_MS;
  uint32_t part = counter.partTickMs + elapsed % TICK_MS;
  if (part >= TICK_MS) ++whole, part -= TICK_MS;
  uint32_t room = static_cast<uint32_t>(INT32_MAX - counter.ticks);
  return {counter.ticks + static_cast<int32_t>(whole < room ? whole : room), part};
}

// Milliseconds of a number of ticks, wide enough for the largest limit.
uint64_t MsOf(int32_t ticks) { return static_cast<uint64_t>(ticks) * TICK_MS; }

// A late tick: whether the watching thread saw someone there all along. The
// stretch from the tick before to the first activity had what was left of
// the limit then; every later stretch, the one still going on included, the
// whole limit, as ticks on time would have counted it from that activity.
bool SomeoneWasThere(const WatchedQuiet& watched, uint64_t msLeft, int32_t limit) {
  if (!watched.known || !watched.activitySince || msLeft < 1) return false;
  return watched.firstQuietMs < msLeft && watched.longestLaterMs < MsOf(limit);
}

// The quiet since the key that opened the record again, at `keyAt`: every
// stretch the watch saw after its first input is among its longest, and
// Windows' date of the last input tells the rest. Someone was there where
// either shows it.
WatchedQuiet QuietSinceKey(const TickObservation& seen, uint32_t keyAt, const Settings& settings) {
  WatchedQuiet watched = seen.watched;
  if (watched.known && watched.activitySince && watched.longestLaterMs < MsOf(TicksFor(settings.recordLimitSeconds))) {
    watched.firstQuietMs = 0;
    return watched;
  }
  bool dated = seen.inputDatedByWindows && seen.activityAt - keyAt - 1 < seen.now - keyAt;  // after the key
  return QuietFromLastInput(keyAt, dated, seen.activityAt, seen.now);
}

// The count of a tick at or after the limit's moment. True when the limit was
// reached while nobody was there (input after that moment came too late);
// otherwise the count runs from the last activity the watch saw.
bool LimitPassedUnseen(IdleCounter& idle, int32_t limit, const TickObservation& seen) {
  uint64_t msLeft = idle.ticks < limit ? MsOf(limit - idle.ticks) - idle.partTickMs : 0;
  // The watching thread samples only once a look is overdue: what Windows
  // dated since the look before tells what came before its first sample.
  bool dated = seen.inputDatedByWindows && seen.activityDated;
  WatchedQuiet byDate = QuietFromLastInput(idle.countedUpTo, dated, seen.activityAt, seen.now);
  CountElapsed(idle, seen.now);
  // Typing that nobody dated, seen at the limit's tick, may have come before it.
  bool undatedTyping =
      !seen.watched.known || (KeyboardChanged(idle, seen) && seen.keyPresses == idle.snapshot.keyPresses);
  if (idle.ticks < limit || (idle.ticks == limit && undatedTyping)) return false;
  // A look a moment after the limit's moment that finds input since its look
  // before may be finding only the last of several (Windows dates only that):
  // as a look a moment earlier would have, it takes it for someone there.
  uint64_t late = MsOf(idle.ticks - limit) + idle.partTickMs;
  bool watchedThere = SomeoneWasThere(seen.watched, msLeft, limit);
  bool inputJustFound = late < TICK_MS && ((seen.watched.known && seen.watched.activitySince) || dated);
  if (!inputJustFound && !watchedThere && !SomeoneWasThere(byDate, msLeft, limit)) return true;
  RestartCount(idle, watchedThere ? seen.watched.lastActivity : seen.activityAt);
  CountElapsed(idle, seen.now);
  return false;
}

}  // namespace

void DateLastInput(TickObservation& seen, const IdleCounter& counter, uint32_t lastInput) {
  uint32_t sinceLook = lastInput - counter.countedUpTo;  // unsigned: right across the clock's wrap
  seen.activityAt = lastInput;
  seen.activityDated = seen.inputDatedByWindows && sinceLook > 0 && sinceLook <= seen.now - counter.countedUpTo;
}

bool TakeInHostTyping(GuardState& state, const TickObservation& seen) {
  if (seen.hostKeyPresses == state.hostPressesTakenIn) return false;
  state.hostPressesTakenIn = seen.hostKeyPresses;
  if (!state.recordCommitted) return false;
  state.recordCommitted = false;
  // Held while the record was committed: its count runs from the key that
  // opened it again, not from whenever a look came to see it.
  IdleCounter& record = state.recordIdle;
  uint32_t origin = OriginOf(record);
  bool withinCount = seen.firstNewHostKeyAt - origin <= seen.now - origin;  // unsigned: right across the clock's wrap
  RestartCount(record, withinCount ? seen.firstNewHostKeyAt : seen.now);
  return true;
}

IdleFigures IdleFiguresAt(const GuardState& state, const TickObservation& seen) {
  auto secondsOf = [&seen](IdleCounter counter, bool held) {
    if (held) return 0;
    if (seen.inputDatedByWindows)
      CountFrom(counter, ActivityMoment(counter, seen), seen.now);
    else
      CountElapsed(counter, seen.now);
    return counter.ticks / TICKS_PER_SECOND;
  };
  const Settings& s = state.settings;
  bool recordHeld =
      s.recordLimitSeconds < 1 || (state.recordCommitted && seen.hostKeyPresses == state.hostPressesTakenIn);
  bool fileMakerHeld = s.fileMakerLimitSeconds < 1 || state.lockIsUp || (!seen.hostInFront && !s.countInBackground);
  return {secondsOf(state.recordIdle, recordHeld), secondsOf(state.fileMakerIdle, fileMakerHeld)};
}

void CountFromComingBack(GuardState& state, const TickObservation& seen) {
  if (!state.fileMakerCountHeld || state.settings.countInBackground) return;
  state.fileMakerCountHeld = false;
  // From the moment FileMaker hears of it, as a look four times a second
  // would: input while it was behind held nothing, and one that came with
  // its return (or none: the program in front closed itself) is now.
  StartAfresh(state.fileMakerIdle, seen);
}

void TakeSnapshot(IdleCounter& counter, Point cursor, const uint8_t* keys, uint32_t keyPresses, uint32_t wheelTurns,
                  uint32_t lastInput) {
  counter.snapshot.lastInput = lastInput;
  counter.snapshot.cursor = cursor;
  counter.snapshot.keyPresses = keyPresses;
  counter.snapshot.wheelTurns = wheelTurns;
  if (keys) std::memcpy(counter.snapshot.keys, keys, KEYBOARD_STATE_SIZE);
}

void RestartCount(IdleCounter& counter, uint32_t now) {
  counter.ticks = 0;
  counter.partTickMs = 0;
  counter.countedUpTo = now;
}

void CountElapsed(IdleCounter& counter, uint32_t now) {
  CountedTime counted = CountedAt(counter, now);
  counter.ticks = counted.ticks;
  counter.partTickMs = counted.partTickMs;
  counter.countedUpTo = now;
}

bool CommitOnLeavingDue(GuardState& state, const TickObservation& seen) {
  bool openAgain = seen.hostKeyPresses != state.hostPressesTakenIn;
  bool open = !state.recordCommitted || openAgain;
  if (!state.settings.commitOnLeaving || seen.hostActive || !open || !seen.otherAppInFront) return false;
  RestartCount(state.recordIdle, seen.now);
  return true;
}

TickActions RecordTick(GuardState& state, const TickObservation& observed) {
  TickActions act;
  IdleCounter& idle = state.recordIdle;
  TickObservation seen = observed;
  if (TakeInHostTyping(state, seen)) seen.watched = QuietSinceKey(seen, idle.countedUpTo, state.settings);
  if (state.settings.recordLimitSeconds < 1) {
    // The timer stays for the immediate switch; the count is held. Typing in
    // FileMaker opens the record again, as the hooks count it.
    RestartCount(idle, seen.now);
    act.recordStopButton = ButtonChange::Disable;
    return act;
  }
  act.recordStopButton = ButtonChange::Enable;

  int32_t limit = TicksFor(state.settings.recordLimitSeconds);
  if (LimitPassedUnseen(idle, limit, seen)) {
    // Late: committed as the limit tick would have with nothing seen, what the
    // host took in meanwhile included.
    if (!state.recordCommitted) act.exitRecordAttempts = 2;
    StartAfresh(idle, seen);
    return act;
  }
  bool typed = KeyboardChanged(idle, seen);
  if (typed) TakeInTyping(idle, seen);
  bool moved = CursorMoved(idle, seen) && !TakeInDatedMove(idle, seen);
  // The limit is checked before the cursor: a move in the limit tick does not
  // stop the action, only typing does (a move it cannot date). Each check may
  // try the action once.
  if (!typed && idle.ticks > limit - 1) {
    RefreshKeys(idle, seen);
    if (!state.recordCommitted) ++act.exitRecordAttempts;
  }
  if (!moved && idle.ticks > limit - 1) {
    RefreshKeys(idle, seen);
    if (!state.recordCommitted) ++act.exitRecordAttempts;
  }
  if (moved) StartAfresh(idle, seen);
  if (idle.ticks > limit - 1) {
    RestartCount(idle, seen.now);  // fired or not, the next try is a full limit away
    return act;
  }
  if (state.recordCommitted && idle.ticks < limit - 1) RestartCount(idle, seen.now);  // held while committed
  return act;
}

TickActions FileMakerTick(GuardState& state, const TickObservation& seen) {
  TickActions act;
  if (state.lockIsUp) return act;  // ticks inside the lock count nothing
  IdleCounter& idle = state.fileMakerIdle;
  TakeInHostTyping(state, seen);
  state.fileMakerCountHeld = !seen.hostInFront && !state.settings.countInBackground;
  if (state.fileMakerCountHeld) {
    StartAfresh(idle, seen);
    return act;
  }
  if (state.settings.fileMakerLimitSeconds < 1) {
    RestartCount(idle, seen.now);
    act.keyScanTimer = TimerChange::Stop;
    act.stopFileMakerTimer = true;
    return act;
  }

  // Keys typed in the host reach its hooks; elsewhere, where Windows dates
  // input, the tick reads it: the scan would only wake the host for nothing.
  act.keyScanTimer = seen.hostActive || seen.inputDatedByWindows ? TimerChange::Stop : TimerChange::Start;
  int32_t limit = TicksFor(state.settings.fileMakerLimitSeconds);
  if (LimitPassedUnseen(idle, limit, seen)) {
    // Late: the lock, and the commit before it, whatever this tick saw.
    StartAfresh(idle, seen);
    StartLock(state, act);
    return act;
  }
  bool typed = KeyboardChanged(idle, seen);
  if (typed) TakeInTyping(idle, seen);
  bool moved = CursorMoved(idle, seen) && !TakeInDatedMove(idle, seen);
  if (!typed && idle.ticks > limit - 1) {
    RefreshKeys(idle, seen);
    StartLock(state, act);
    return act;
  }
  // A tick before the lock. An attempt that types nothing leaves the record
  // uncommitted, so the lock step tries once more.
  if (!moved && idle.ticks > limit - 2 && !state.recordCommitted) act.exitRecordAttempts = 1;
  if (moved) StartAfresh(idle, seen);
  act.lockWarningSeconds = LockWarningSeconds(state);
  return act;
}

void TakeInKeysBeforeLock(GuardState& state, uint32_t keyPresses, TickActions& act) {
  if (!act.openLock || keyPresses == state.fileMakerIdle.snapshot.keyPresses) return;
  state.fileMakerIdle.snapshot.keyPresses = keyPresses;
  if (act.exitRecordAttempts < 1) act.exitRecordAttempts = 1;
  state.recordCommitted = true;  // by this commit, as by the lock's own
}

TickActions LockNowTurn(GuardState& state) {
  TickActions act;
  // With no limit, no count watches the typing that opens a record again:
  // the last commit says nothing of the record now.
  if (state.settings.recordLimitSeconds < 1 && state.settings.fileMakerLimitSeconds < 1) state.recordCommitted = false;
  if (!state.lockIsUp) StartLock(state, act);
  return act;
}

bool KeyScanTick(GuardState& state, const uint8_t* keys, uint32_t now) {
  if (!keys || !WatchedKeyDown(keys)) return false;
  // A lock that came due since the last count (the machine slept) is not
  // undone by a key held on waking: the next FileMaker tick is late, and locks.
  int32_t limit = state.settings.fileMakerLimitSeconds;
  if (limit >= 1 && CountedAt(state.fileMakerIdle, now).ticks > TicksFor(limit)) return false;
  RestartCount(state.fileMakerIdle, now);
  return true;
}

RestoreAction RestoreTick(GuardState& state, bool hostWasMinimised, bool personTypedSinceKeys) {
  if (!personTypedSinceKeys) state.recordCommitted = true;
  if (state.lockIsUp) return RestoreAction::None;  // the host stays hidden behind the lock
  return hostWasMinimised ? RestoreAction::MinimiseRestoredHost : RestoreAction::ActivateNotedWindow;
}
