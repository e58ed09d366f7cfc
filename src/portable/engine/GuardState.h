// Everything the workstation guard knows between two ticks, one part per
// concern. The plug-in owns the one instance and hands it to whatever needs it.
#pragma once

#include <cstdint>

#include "portable/engine/CommitSteps.h"
#include "portable/engine/PasswordDigest.h"
#include "portable/engine/ScriptEvents.h"
#include "portable/engine/UnlockUsers.h"

// Longest workstation password, 254 characters, with its terminator: in UTF-8
// a character takes up to four bytes.
const int PASSWORD_SIZE = 4 * 254 + 1;

// Longest line of the solution's own on the login, 254 characters, in UTF-8.
const int LOCK_MESSAGE_SIZE = 4 * 254 + 1;

enum class PasswordKind : uint8_t { None, Plain, Digest };

// What the solution has set through the functions (or the hidden panel).
struct Settings {
  int32_t recordLimitSeconds;     // commit after this much idle time; below 1 is off
  int32_t fileMakerLimitSeconds;  // commit and lock after this much; below 1 is off
  bool commitOnLeaving;           // commit as soon as another application comes in front
  bool countInBackground;         // the FileMaker count runs on behind other applications
  // FileMaker locks as soon as Windows locks or the session is disconnected
  // (FileMaker 7 and later): at a desk whose Windows account everyone shares,
  // Windows' own lock protects nothing.
  bool lockWithWindows;
  int32_t lockWarningSeconds;  // warn this long before the lock; 0 is off
  // What unlocks the lock screen: the password itself (in the host interface's
  // text) or a digest of it (of its UTF-8), never both.
  PasswordKind passwordKind;
  char password[PASSWORD_SIZE];  // all zero unless plain
  PasswordDigest digest;         // all zero unless a digest
  // The people of a shared desk, each with their own digest (FileMaker 7 and
  // later); beside the workstation's password, not instead of it.
  UnlockUsers unlockUsers;
  // The solution's own line under the login's prompt (FileMaker 7 and later),
  // UTF-8; empty for none.
  char lockMessage[LOCK_MESSAGE_SIZE];
};

struct Point {
  int32_t x, y;
};

const int KEYBOARD_STATE_SIZE = 256;

// The cursor and the keyboard as they were when a count last saw activity.
struct ActivitySnapshot {
  Point cursor;
  uint8_t keys[KEYBOARD_STATE_SIZE];
  uint32_t keyPresses;  // key presses the host's thread had received
  uint32_t wheelTurns;  // and turns of the mouse wheel
  uint32_t lastInput;   // and when Windows dated the person's last input
};

const int TICKS_PER_SECOND = 4;
const uint32_t TICK_MS = 1000 / TICKS_PER_SECOND;

// Idle time against its own snapshot: activity that one count has taken in must
// still count for the other. The time is real time, read from a millisecond
// clock at each tick, and kept in whole ticks of 250 ms: ticks that never came
// (the machine slept, the host was busy) count all the same.
struct IdleCounter {
  int32_t ticks;
  // Milliseconds toward the next whole tick: a limit falls due at its
  // moment, to the millisecond, however the looks fall.
  uint32_t partTickMs;
  uint32_t countedUpTo;  // the clock's reading when the time was last counted
  ActivitySnapshot snapshot;
};

// What Windows does with the session's keyboard, from its session
// notifications; Windows without them (95 to 2000) never sets these.
struct WindowsSession {
  bool locked;        // Windows' own lock screen is up
  bool disconnected;  // the console or the remote connection has left the session
  // A commit came due meanwhile and no script could be asked: it is typed as
  // soon as Windows gives the keyboard back.
  bool commitWaiting;
  // With the lock with Windows on: FileMaker's lock came (or was up already)
  // for this hold of the keyboard. Cleared once Windows gives it back.
  bool fileMakerLocked;
};

// A lock that came due while its commit could not be made yet: it opens once
// the keyboard is back and the commit typed, or once the solution's script,
// asked to commit, has had its turn (or a few seconds passed).
struct WaitingLock {
  bool due;
  bool forKeyboard;
  LockCause cause;
  uint32_t dueAt;  // the idle clock
  // Windows unlocked or connected since: the lock goes up, whatever else
  // still holds the keyboard, so that no notice that never comes holds it.
  bool released;
  uint32_t windowsAskedAt;  // the idle clock when Windows was last asked meanwhile
  // A modal dialog of FileMaker's is up: no script runs until it is answered,
  // so the lock waits for none.
  bool noScriptRuns;
};

struct GuardState {
  Settings settings;
  IdleCounter recordIdle;
  IdleCounter fileMakerIdle;
  // Set once the record has been committed for this absence; cleared when the
  // user is seen typing in the host main window again.
  bool recordCommitted;
  // The person's key presses into FileMaker's own windows as the looks last
  // took them in: one more opened the record again, whatever is in front by
  // the time a look comes.
  uint32_t hostPressesTakenIn;
  // The FileMaker count's last look found FileMaker behind another program
  // and held the count there: it runs again from the moment FileMaker is back.
  bool fileMakerCountHeld;
  // From the moment the lock opens until its password ends it. Nothing else
  // clears it, so nothing that runs inside the lock opens a second one.
  bool lockIsUp;
  WaitingLock waitingLock;
  // The solution's script that hears commits and unlocks (FileMaker 7 and later).
  EventScript eventScript;
  WindowsSession windows;
  CommitSteps commit;
};

// Back to the state of a fresh start; the password is kept.
void ResetForInit(GuardState& state);
