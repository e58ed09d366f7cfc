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
  // Windows dates the person's input (from Windows 2000 on): every look reads
  // their last input, Lullex's own keys set aside, so no key scan is needed
  // and the look decides as one every 250 ms would have. Their last input
  // came at activityAt, a change from the count's snapshot is activity, and
  // activityDated says it came after the count's last look.
  bool inputDatedByWindows = false;
  bool activityDated = false;
  uint32_t activityAt = 0;
  // The person's key presses into FileMaker's own windows so far, counted as
  // each was typed.
  uint32_t hostKeyPresses = 0;
  // When the first of them that the looks have not taken in was typed.
  uint32_t firstNewHostKeyAt = 0;
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

// Idle time is real time, counted from moments: each count runs from the
// last activity it knows of (Windows' date of the person's input, or a key on
// FileMaker's thread by its own time, never one of Lullex's), and a limit falls
// due at its moment to the millisecond, whenever the look that finds it comes.
// The commit before the lock falls due a quarter second before it. Where
// Windows dates input, the looks come only where something can fall due
// (TickPlan.h); before Windows 2000 they come four times a second.
//
// A tick at or after the limit's moment asks whether the limit passed while
// nobody was there: the watching thread, or Windows' date of the last input,
// tells whether activity came before that moment and no stretch without it
// since reached the whole limit. Where none came, the tick acts first (the
// commit; for the FileMaker limit the lock), and only then takes what it saw
// in as activity: input after the moment came too late. Otherwise the count
// runs from the last activity seen. Without either (before Windows 2000) a
// tick late by more than a tick acts first; typing seen at the limit's own
// tick may have come before it and stops it.

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

// A key typed into FileMaker's own windows since the looks last took them in
// opened the record again, whether or not FileMaker is still in front; the
// record count runs from that key. True when it opened the record again.
bool TakeInHostTyping(GuardState& state, const TickObservation& seen);

// FileMaker came back to the front: a FileMaker count held behind another
// program runs from now.
void CountFromComingBack(GuardState& state, const TickObservation& seen);

// The whole seconds each count stands at, as a look at seen.now would find
// them: the input Windows dated since the last look taken in, nothing for a
// count that is held (its limit off, the record committed, the lock up,
// FileMaker behind).
struct IdleFigures {
  int32_t recordSeconds, fileMakerSeconds;
};
IdleFigures IdleFiguresAt(const GuardState& state, const TickObservation& seen);

// Windows' date of the person's last input, read for a tick of the count.
void DateLastInput(TickObservation& seen, const IdleCounter& counter, uint32_t lastInput);

// The snapshot a count compares each tick with.
void TakeSnapshot(IdleCounter& counter, Point cursor, const uint8_t* keys, uint32_t keyPresses, uint32_t wheelTurns = 0,
                  uint32_t lastInput = 0);
// Idle time back to nothing at now (a limit was set, a lock ended); the
// snapshot stays.
void RestartCount(IdleCounter& counter, uint32_t now);
// Adds the whole ticks of time gone since the count was last brought up to now.
void CountElapsed(IdleCounter& counter, uint32_t now);
