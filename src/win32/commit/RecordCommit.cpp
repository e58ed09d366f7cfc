#include "win32/commit/RecordCommit.h"

#include "portable/engine/WindowsKeyboard.h"
#include "win32/commit/ExitRecord.h"
#include "win32/system/HostWindows.h"

namespace {

CommitDone AskScript(GuardState& state, const CommitReason& reason) {
  QueueScriptEvent(state.eventScript, CommitEvent(reason.kind, false, reason.cause));
  state.recordCommitted = true;
  return CommitDone::Asked;
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
  ExitRecordOutcome outcome = ExitRecordOutcome::NotTyped;
  for (int i = 0; i < attempts && outcome == ExitRecordOutcome::NotTyped; ++i)
    outcome = RunExitRecordAction(guard, host);
  if (outcome == ExitRecordOutcome::Typed) {
    if (reason.eventWhenTyped) QueueScriptEvent(state.eventScript, CommitEvent(reason.kind, true, reason.cause));
    return CommitDone::Typed;
  }
  // Keys that Windows refuses would be refused on every tick: the script
  // commits instead. So it does for a lock whose host could not take them.
  bool askScript = outcome == ExitRecordOutcome::KeysRefused || reason.locking;
  if (askScript && ScriptHearsEvents(state.eventScript)) return AskScript(state, reason);
  return CommitDone::NotDone;
}

void TypeWaitingCommit(WorkstationGuard& guard) {
  WindowsSession& windows = guard.state.windows;
  if (!windows.commitWaiting || WindowsHoldsKeyboard(windows)) return;
  CommitDone done = CommitRecord(guard, FindHostWindowInUseOrFallback(), 1, AT_RECORD_LIMIT);
  if (done != CommitDone::NotDone) windows.commitWaiting = false;
}
