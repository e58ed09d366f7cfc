// The record's commit, however it can be made: the exit-record action's keys
// while Windows lets Lullex type, else the solution's event script asked to
// commit (FileMaker 7 and later), else kept until Windows gives the keyboard
// back. Typed, it goes in steps on the commit's timer: where FileMaker can be
// asked, whether there is a record to commit first; one key at a time; and
// whether the record closed after the last.
#pragma once

#include <windows.h>

#include "portable/engine/CommitSteps.h"
#include "win32/WorkstationGuard.h"

enum class CommitDone {
  Typed,     // the first key is in, the rest follow on the commit's timer
  UnderWay,  // the commit goes on in steps (asking, typing): a lock waits for it
  Asked,     // the script is asked to commit, once; the record counts as committed
  Waiting,   // Windows holds the keyboard: typed once it gives it back
  NotDone,   // nothing typed and nothing asked: tried again later, as ever
};

// Up to `attempts` runs of the exit-record action into host, as the reason says.
CommitDone CommitRecord(WorkstationGuard& guard, HWND host, int attempts, const CommitReason& reason);

// The commit's timer: its next step.
void CommitStepTick(WorkstationGuard& guard);

// A commit that came due while Windows held the keyboard, typed now that it
// lets Lullex type again; one that Windows still refuses is left, as any.
void TypeWaitingCommit(WorkstationGuard& guard);
