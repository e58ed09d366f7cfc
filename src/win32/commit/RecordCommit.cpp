#include "win32/commit/RecordCommit.h"

#include "portable/engine/WindowsKeyboard.h"
#include "win32/commit/ExitRecord.h"
#include "win32/input/HeldKeys.h"
#include "win32/input/OwnKeys.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/TickObservation.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

CommitDone AskScript(GuardState& state, const CommitReason& reason) {
  QueueScriptEvent(state.eventScript, CommitEvent(reason.kind, false, reason.cause));
  state.recordCommitted = true;
  return CommitDone::Asked;
}

// The exit-record action's first key, up to `attempts` runs; without it, the
// script where it can be asked.
CommitDone TypeCommit(WorkstationGuard& guard, HWND host) {
  GuardState& state = guard.state;
  const CommitSteps& steps = state.commit;
  CommitReason reason = steps.reason;
  ExitRecordOutcome outcome = ExitRecordOutcome::NotTyped;
  for (int i = 0; i < steps.attempts && outcome == ExitRecordOutcome::NotTyped; ++i)
    outcome = RunExitRecordAction(guard, host);
  if (outcome == ExitRecordOutcome::Typed) return CommitDone::Typed;
  // Keys that Windows refuses would be refused on every tick: the script
  // commits instead. So it does for a lock whose host could not take them.
  bool askScript = outcome == ExitRecordOutcome::KeysRefused || reason.locking;
  if (askScript && ScriptHearsEvents(state.eventScript)) return AskScript(state, reason);
  return CommitDone::NotDone;
}

// Once per commit: a lock that waits for it follows at once, and nothing may
// bring another window forward first.
void GiveForegroundBack(WorkstationGuard& guard, UINT afterMs) {
  const GuardState& state = guard.state;
  if (!guard.exitRecord.restoreAfterKeys || state.waitingLock.due || state.lockIsUp) return;
  guard.exitRecord.restoreAfterKeys = false;
  StartGivingForegroundBack(guard, afterMs);
}

void FinishCommit(WorkstationGuard& guard, CommitTook took) {
  GuardState& state = guard.state;
  bool typed = state.commit.typed;
  ScriptEvent event;
  if (EndCommitSteps(state.commit, took, event)) QueueScriptEvent(state.eventScript, event);
  StopTimer(guard.timerDialog, COMMIT_STEP_TIMER);
  if (typed) TakeInOwnKeys(state);
  // Still open: it is committed again later.
  if (took == CommitTook::No) state.recordCommitted = false;
  // The foreground goes back once the keys are in (see AfterTheKeys); a
  // commit whose keys stopped short gives it back now, a question of
  // FileMaker's excepted, which waits for the person with FileMaker in front.
  if (typed && took != CommitTook::No) GiveForegroundBack(guard, RESTORE_DELAY_MS);
  if (!guard.exitRecord.restorePending) GiveBackHeldKeys(true);
}

// The host window the commit types into, as long as it is there.
HWND CommitHost(WorkstationGuard& guard) {
  HWND host = guard.exitRecord.typingInto;
  return IsWindow(host) ? host : FindHostWindowInUseOrFallback();
}

// No more keys: the foreground goes back, and FileMaker tells whether the
// record closed, where it can. A key of the person's held back meanwhile
// wants its program back at once.
void AfterTheKeys(WorkstationGuard& guard) {
  GiveForegroundBack(guard, PersonsKeysHeld() ? 1 : RESTORE_DELAY_MS);
  CommitSteps& steps = guard.state.commit;
  if (steps.askable)
    EnterStage(steps, CommitStage::AskingAfter, IdleClockNow());
  else
    FinishCommit(guard, CommitTook::Unknown);
}

void TypingStep(WorkstationGuard& guard) {
  CommitSteps& steps = guard.state.commit;
  HWND host = guard.exitRecord.typingInto;
  if (OwnKeysOnTheirWay()) return;  // FileMaker has not taken the last key in yet
  // The person types elsewhere: no more keys. A lock's commit goes on, its
  // cover holding their keys.
  if (PersonsKeysHeld() && !steps.reason.locking) steps.keysLeft = 0;
  if (!HostTakesNextKey(host)) {
    // Only the foreground went elsewhere, or the window closed: FileMaker tells.
    if (!IsWindow(host) || (IsWindowEnabled(host) && GetLastActivePopup(host) == host)) {
      guard.exitRecord.restoreAfterKeys = false;
      AfterTheKeys(guard);
      return;
    }
    // A question of FileMaker's (its window disabled, or a popup over it):
    // nothing more is typed, and nothing pressed. It waits, unanswered, the
    // record still open: for the person with FileMaker in front where they
    // were in FileMaker; where the foreground was taken from their program,
    // that program gets it back at once, with their keys, none of which reach
    // the question.
    ExitRecordNote& note = guard.exitRecord;
    note.recordLeftOpen = true;
    if (!note.giveBackTo || BelongsToThisProcess(note.giveBackTo)) note.restoreAfterKeys = false;
    GiveForegroundBack(guard, 1);
    FinishCommit(guard, CommitTook::No);
    return;
  }
  if (steps.keysLeft <= 0) {
    AfterTheKeys(guard);
    return;
  }
  --steps.keysLeft;
  if (TypeNextCommitKey() != ExitRecordOutcome::Typed) FinishCommit(guard, CommitTook::Unknown);
}

}  // namespace

CommitDone CommitRecord(WorkstationGuard& guard, HWND host, int attempts, const CommitReason& reason) {
  GuardState& state = guard.state;
  if (attempts < 1) return CommitDone::NotDone;
  TakeInTypingSoFar(guard);
  switch (WayToCommit(state)) {
    case CommitWay::AskScript:
      return AskScript(state, reason);
    case CommitWay::WaitForKeyboard:
      state.windows.commitWaiting = true;
      return CommitDone::Waiting;
    case CommitWay::Type:
      break;
  }
  uint32_t now = IdleClockNow();
  if (CommitUnderWay(state.commit, now)) {
    // That one stands for this one too. A lock makes it its own: it asks the
    // script if no key goes in, and the script hears of it as the lock's.
    if (reason.locking) state.commit.reason = reason;
    return CommitDone::UnderWay;
  }
  guard.exitRecord.typingInto = host;
  if (BeginCommitSteps(state.commit, reason, attempts, now, IsWindowEnabled(host) != FALSE)) {
    StartTimer(guard.timerDialog, COMMIT_STEP_TIMER, COMMIT_STEP_MS);
    return CommitDone::UnderWay;
  }
  return TypeCommit(guard, host);
}

void CommitStepTick(WorkstationGuard& guard) {
  CommitSteps& steps = guard.state.commit;
  uint32_t now = IdleClockNow();
  if (!CommitUnderWay(steps, now)) {
    FinishCommit(guard, CommitTook::Unknown);
    return;
  }
  switch (steps.stage) {
    case CommitStage::AskingFirst:
      if (!AnswerOrWaitOver(steps, now)) return;
      if (NothingToType(steps.answer)) {
        // No record open, or Find mode: no window forward, no key, no Escape.
        guard.state.recordCommitted = true;
        FinishCommit(guard, CommitTook::Unknown);
        return;
      }
      steps.stage = CommitStage::None;
      if (TypeCommit(guard, CommitHost(guard)) != CommitDone::Typed) FinishCommit(guard, CommitTook::Unknown);
      return;
    case CommitStage::Typing:
      TypingStep(guard);
      return;
    case CommitStage::AskingAfter:
      if (AnswerOrWaitOver(steps, now)) FinishCommit(guard, TookFrom(steps.answer));
      return;
    case CommitStage::None:
      FinishCommit(guard, CommitTook::Unknown);
      return;
  }
}

void TypeWaitingCommit(WorkstationGuard& guard) {
  GuardState& state = guard.state;
  WindowsSession& windows = state.windows;
  if (!windows.commitWaiting || WindowsHoldsKeyboard(windows)) return;
  // A lock that waits for it makes it its own: it takes the foreground at
  // once, holds the person's keys, and asks the script where no key goes in.
  CommitReason reason = state.waitingLock.due ? BeforeLock(state.waitingLock.cause, true) : AT_RECORD_LIMIT;
  CommitDone done = CommitRecord(guard, FindHostWindowInUseOrFallback(), 1, reason);
  if (done != CommitDone::NotDone) windows.commitWaiting = false;
}
