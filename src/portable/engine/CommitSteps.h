// The record's commit in steps: one Ctrl+Enter at a time, each further one only
// once FileMaker has taken the one before in and shows no question; and, where
// FileMaker can be asked from its idle call, whether a record is open before
// the first key and whether it closed after the last. No Windows here: the
// commit's timer and FileMaker's idle call drive these.
#pragma once

#include <cstdint>

#include "portable/engine/ScriptEvents.h"

// Why a commit is made: the event the script hears, and whether a lock follows.
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

// The lock's commit: the script hears of it when asked to make it, and when
// FileMaker says that the typed keys left the record open.
inline CommitReason BeforeLock(LockCause cause, bool locking) {
  return {ScriptEventKind::CommitBeforeLock, cause, false, locking};
}

enum class CommitStage : uint8_t {
  None,
  AskingFirst,  // FileMaker is asked whether a record is open, in Browse mode
  Typing,       // a Ctrl+Enter is typed; the next waits until it is taken in
  AskingAfter,  // the keys are in: FileMaker is asked whether the record closed
};

// What FileMaker answered Get ( RecordOpenState ) and Get ( WindowMode ).
struct RecordAnswer {
  bool known;          // false: no answer yet, or an error
  int32_t openState;   // 0 no record open, 1 a new one, 2 a modified one
  int32_t windowMode;  // 0 Browse, 1 Find, 2 Preview, 3 printing, 4 Layout
};

// Each question waits this long for FileMaker's idle call; then the commit
// goes on as where FileMaker cannot be asked.
const uint32_t ANSWER_WAIT_MS = 1000;
// A commit under way longer than this is over, whatever it waits for: the
// lock that waits for it never waits for good.
const uint32_t COMMIT_STEPS_MOST_MS = 5000;

struct CommitSteps {
  // FileMaker answers from its idle call (today's FileMaker); set at init.
  bool askable;
  CommitStage stage;
  uint32_t startedAt, stageSince;  // the idle clock
  CommitReason reason;
  int32_t attempts;  // runs of the exit-record action for the first key
  int32_t keysLeft;  // Ctrl+Enter still to type after the one typed
  bool typed;        // a key of this commit's went in
  bool askDue;       // the next idle call asks, and clears this
  RecordAnswer answer;
  // The last commit FileMaker could tell of: whether it took. The status line
  // shows it.
  CommitTook lastTook;
};

// The commit's reason and first step: asking when FileMaker can answer and
// `mayAsk` (no modal dialog of FileMaker's is up, whose loop sends no idle
// call that may ask), else typing at once (false).
bool BeginCommitSteps(CommitSteps& steps, const CommitReason& reason, int32_t attempts, uint32_t now, bool mayAsk);
void EnterStage(CommitSteps& steps, CommitStage stage, uint32_t now);
// A commit is under way: no second one starts, and a lock waits for it.
bool CommitUnderWay(const CommitSteps& steps, uint32_t now);
// The question of this stage has its answer, or has waited long enough.
bool AnswerOrWaitOver(const CommitSteps& steps, uint32_t now);
// FileMaker said that there is nothing to type: no record open, or a mode
// other than Browse, where Ctrl+Enter would perform a find.
bool NothingToType(const RecordAnswer& answer);
// Whether the record closed, from the answer after the keys.
CommitTook TookFrom(const RecordAnswer& answer);
// The end of the commit: the event the script hears of it, if any (false: none).
bool EndCommitSteps(CommitSteps& steps, CommitTook took, ScriptEvent& event);
