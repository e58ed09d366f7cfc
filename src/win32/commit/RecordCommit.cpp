#include "win32/commit/RecordCommit.h"

#include "portable/engine/WindowsKeyboard.h"
#include "win32/commit/ExitRecord.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/HostThreadInput.h"
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

void FinishCommit(WorkstationGuard& guard, CommitTook took) {
  GuardState& state = guard.state;
  bool typed = state.commit.typed;
  ScriptEvent event;
  if (EndCommitSteps(state.commit, took, event)) QueueScriptEvent(state.eventScript, event);
  StopTimer(guard.timerDialog, COMMIT_STEP_TIMER);
  if (typed) TakeInOwnKeys(state);
  if (took == CommitTook::No) {
    // Still open: FileMaker stays in front with it, to be committed again.
    state.recordCommitted = false;
    return;
  }
  // A lock that waits for this commit follows at once: nothing may bring
  // another window forward first.
  if (typed && guard.exitRecord.restoreAfterKeys && !state.waitingLock.due && !state.lockIsUp)
    StartRestoreTimer(guard.timerDialog);
}

// The host window the commit types into, as long as it is there.
HWND CommitHost(WorkstationGuard& guard) {
  HWND host = guard.exitRecord.typingInto;
  return IsWindow(host) ? host : FindHostWindowInUseOrFallback();
}

// No more keys: FileMaker tells whether the record closed, where it can.
void AfterTheKeys(WorkstationGuard& guard) {
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
  if (!HostTakesNextKey(host)) {
    // Nothing more is typed, and nothing pressed, nor is the foreground given
    // away. A question of FileMaker's (its window disabled, or a popup over
    // it) waits for the person, unanswered: the record is still open.
    guard.exitRecord.restoreAfterKeys = false;
    if (IsWindowEnabled(host) && GetLastActivePopup(host) == host)
      AfterTheKeys(guard);  // only the foreground went elsewhere
    else
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
  if (CommitUnderWay(state.commit, now)) return CommitDone::UnderWay;  // that one stands for this one too
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
  WindowsSession& windows = guard.state.windows;
  if (!windows.commitWaiting || WindowsHoldsKeyboard(windows)) return;
  CommitDone done = CommitRecord(guard, FindHostWindowInUseOrFallback(), 1, AT_RECORD_LIMIT);
  if (done != CommitDone::NotDone) windows.commitWaiting = false;
}
