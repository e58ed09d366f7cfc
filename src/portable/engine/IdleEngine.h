// The rules of the idle timers: what one tick does, given what was observed,
// as changes to the guard's state and a list of things to do. No Windows here:
// the timer dialog observes, calls these, and carries the actions out.
#pragma once

#include <cstdint>

#include "portable/engine/GuardState.h"
#include "portable/engine/QuietWatch.h"

// What the timer dialog saw at the start of a tick.
struct TickObservation {
  Point cursor;
  bool cursorRead;       // false: the cursor could not be read, which is no move
  const uint8_t* keys;   // the host thread's keyboard state; null when unreadable (no change)
  bool hostActive;       // the host main window is the host thread's active window
  bool hostInFront;      // the foreground window is the host's process's: its windows, its dialogs, the plug-in's
  bool otherAppInFront;  // the foreground window belongs to another process
  uint32_t keyPresses;   // key presses the host's thread has received so far
  uint32_t now;          // a millisecond clock that wraps (GetTickCount): only differences count
  // What the plug-in's watching thread saw since this count's tick before:
  // read only by a tick that came late.
  WatchedQuiet watched = {};
  // Turns of the mouse wheel the host's thread has received so far: someone
  // scrolling is there, as someone moving the mouse is.
  uint32_t wheelTurns = 0;
  // Windows dates the session's last input (from Windows 2000 on): the tick
  // reads it while another program is in front, so no key scan is needed.
  bool inputDatedByWindows = false;
  // Windows dates the person's input (inputDatedByWindows): their last input
  // came at activityAt, a change from the count's snapshot is activity, and
  // activityDated says it came after the count's last look, so that what the
  // tick finds counts from then.
  bool activityDated = false;
  uint32_t activityAt = 0;
};

enum class TimerChange { Keep, Start, Stop };
enum class ButtonChange { Keep, Enable, Disable };

struct TickActions {
  // Run the exit-record action up to this many times, until one run types its
  // keys (and then mark the record committed).
  int exitRecordAttempts = 0;
  // Then open the lock screen; the restore timer is stopped first.
  bool openLock = false;
  TimerChange keyScanTimer = TimerChange::Keep;
  bool stopFileMakerTimer = false;
  // Seconds left before the lock, to show in the lock warning; 0: no warning.
  int32_t lockWarningSeconds = 0;
  // The record section's "Stop timer" button follows whether a record limit is set.
  ButtonChange recordStopButton = ButtonChange::Keep;
};

// Number of ticks a limit in seconds takes.
inline int32_t TicksFor(int32_t seconds) { return TICKS_PER_SECOND * seconds; }

// Idle time is real time. Each tick counts the whole ticks of time since the
// tick before it, so a limit of L seconds is reached after L seconds whether or
// not the 4 * L ticks in between came. When ticks come on time, nothing differs
// from counting them one by one.
//
// A tick that finds more time gone since the tick before than its limit had
// left came late (the machine slept, the host's thread was busy). The
// watching thread tells whether the limit passed meanwhile, as ticks on time
// would have seen it: the wait from the tick before to the first activity is
// held to what was left then, and every stretch without activity after that,
// the one still going on included, to the whole limit. Where one reached it,
// nobody was there: the tick acts first (the commit; for the FileMaker limit
// the lock), and only then takes what it saw in as activity. Otherwise
// someone was there while the host could not look: the count runs from the
// last activity the watch saw. Without the watch, a late tick acts first. A tick late by less than what was left counts
// as any other. "More" means by over half a tick: a tick a little late is on time.

// The rule of the immediate switch, checked first on each record tick: the host
// main window is left for another application and the record is not committed.
// Resets the record count when it fires.
bool CommitOnLeavingDue(GuardState& state, const TickObservation& seen);

// The rest of the record tick. Observe hostActive again after an immediate
// commit: the action brings the host forward.
TickActions RecordTick(GuardState& state, const TickObservation& seen);

TickActions FileMakerTick(GuardState& state, const TickObservation& seen);

// A lock asked for by the solution, or by Windows' own lock: the record is
// committed first if that has not happened yet (always where no limit is set,
// as no count watches the typing then), whatever the limits and switches.
// Nothing while a lock is up.
TickActions LockNowTurn(GuardState& state);

// Just before a lock opens, with every key waiting for the host handed to it:
// a key the host took in since the FileMaker count last looked may have
// opened the record, so the lock's commit is made (once more) after it. A
// commit that was not needed costs nothing.
void TakeInKeysBeforeLock(GuardState& state, uint32_t keyPresses, TickActions& act);

// A key held down while the host is not active means someone is there. True
// when it reset the FileMaker count. A scan that finds the FileMaker limit
// passed since the last count came late, as a late tick does: it leaves the
// count for the next FileMaker tick, which locks first.
bool KeyScanTick(GuardState& state, const uint8_t* keys, uint32_t now);
// Whether a key that the key scan watches is down in keys (256 bytes).
bool WatchedKeyDown(const uint8_t* keys);

enum class RestoreAction { None, MinimiseRestoredHost, ActivateNotedWindow };
// The end of an exit-record action, 100 ms after it typed: the record counts as
// committed, unless the person typed since its keys, and the host goes back as
// it was, unless the lock is up.
RestoreAction RestoreTick(GuardState& state, bool hostWasMinimised, bool personTypedSinceKeys);

// Windows' date of the person's last input, read for a tick of the count.
void DateLastInput(TickObservation& seen, const IdleCounter& counter, uint32_t lastInput);

// Typing the count has not seen yet, taken in as its tick would; true if any.
bool TakeInTypingSince(GuardState& state, IdleCounter& counter, const TickObservation& seen);

// The snapshot a count compares each tick with.
void TakeSnapshot(IdleCounter& counter, Point cursor, const uint8_t* keys, uint32_t keyPresses, uint32_t wheelTurns = 0,
                  uint32_t lastInput = 0);
// Idle time back to nothing at now (a limit was set, a lock ended); the
// snapshot stays.
void RestartCount(IdleCounter& counter, uint32_t now);
// Adds the whole ticks of time gone since the count was last brought up to now.
void CountElapsed(IdleCounter& counter, uint32_t now);
