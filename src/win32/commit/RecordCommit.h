// The record's commit, however it can be made: the exit-record action's keys
// while Windows lets Lullex type, else the solution's event script asked to
// commit (FileMaker 7 and later), else kept until Windows gives the keyboard
// back.
#pragma once

#include <windows.h>

#include "portable/engine/ScriptEvents.h"
#include "win32/WorkstationGuard.h"

enum class CommitDone {
  Typed,    // the keys are in
  Asked,    // the script is asked to commit, once; the record counts as committed
  Waiting,  // Windows holds the keyboard: typed once it gives it back
  NotDone,  // nothing typed and nothing asked: tried again later, as ever
};

struct CommitReason {
  ScriptEventKind kind;  // the event to the script
  LockCause cause;       // the lock's commit only
  bool eventWhenTyped;   // the script hears of a typed commit too
  bool locking;          // the lock follows: keys not typed are asked of the script
};

// The record limit's commit and the commit on leaving FileMaker: the script
// hears of them, typed or not.
const CommitReason AT_RECORD_LIMIT = {ScriptEventKind::CommitAtRecordLimit, LockCause::IdleLimit, true, false};
const CommitReason ON_LEAVING = {ScriptEventKind::CommitOnLeaving, LockCause::IdleLimit, true, false};

// The lock's commit: the script hears of it only when asked to make it.
inline CommitReason BeforeLock(LockCause cause, bool locking) {
  return {ScriptEventKind::CommitBeforeLock, cause, false, locking};
}

// Up to `attempts` runs of the exit-record action into host, as the reason says.
CommitDone CommitRecord(WorkstationGuard& guard, HWND host, int attempts, const CommitReason& reason);

// A commit that came due while Windows held the keyboard, typed now that it
// lets Lullex type again; one that Windows still refuses is left, as any.
void TypeWaitingCommit(WorkstationGuard& guard);
