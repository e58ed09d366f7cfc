#include "win32/guard/TickHandlers.h"

#include "portable/engine/TickPlan.h"
#include "portable/engine/WindowsKeyboard.h"
#include "resources/ResourceIds.h"
#include "win32/commit/RecordCommit.h"
#include "win32/commit/WindowActivation.h"
#include "win32/guard/HiddenPanel.h"
#include "win32/input/HeldKeys.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/input/InputDates.h"
#include "win32/input/LookOnInput.h"
#include "win32/lock/LockSequence.h"
#include "win32/lock/LockWarning.h"
#include "win32/system/ModuleReference.h"
#include "win32/system/PluginWindows.h"
#include "win32/watch/ActivityWatch.h"
#include "win32/watch/SessionNotifications.h"
#include "win32/watch/TickObservation.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

void ApplyTimerChange(HWND dialog, UINT_PTR id, UINT ms, TimerChange change) {
  if (change == TimerChange::Start) StartTimer(dialog, id, ms);
  if (change == TimerChange::Stop) StopTimer(dialog, id);
}

void ShowOrCloseLockWarning(WorkstationGuard& guard, HWND dialog, HWND host, int32_t seconds) {
  // Activity closes the notice at once, not at the next of its seconds (a
  // test that sends the ticks itself sends that one too).
  TickOnPersonsInput(seconds > 0 && !IdleClockIsSetForTests() ? dialog : nullptr, FILEMAKER_TIMER);
  if (seconds > 0)
    ShowLockWarning(guard.lockWarning, ModuleOfWindow(dialog), dialog, host, seconds, guard.hostInterface);
  else
    CloseLockWarning(guard.lockWarning);
}

}  // namespace

void OnRecordTimer(WorkstationGuard& guard, HWND dialog) {
  TypeWaitingCommit(guard);
  Observed o;
  Observe(guard, o, WatchedCount::Record);
  if (CommitOnLeavingDue(guard.state, o.seen)) {
    CommitRecord(guard, o.host, 1, ON_LEAVING);
    o.seen.hostActive = o.host == GetActiveWindow();  // the action brings the host forward
  }
  TickActions act = RecordTick(guard.state, o.seen);
  MarkCount(guard, WatchedCount::Record);
  EnablePanelControl(dialog, IDC_RECORD_STOP, act.recordStopButton == ButtonChange::Enable);
  CommitRecord(guard, o.host, act.exitRecordAttempts, AT_RECORD_LIMIT);
  // FileMaker left and the commit on leaving not made yet (the foreground in
  // transit, the person typing elsewhere): it looks again soon.
  const GuardState& state = guard.state;
  bool leftUncommitted = state.settings.commitOnLeaving && !state.recordCommitted && !o.seen.hostInFront;
  PlanCountTick(guard, WatchedCount::Record, leftUncommitted);
}

bool OnFileMakerTimer(WorkstationGuard& guard, HWND dialog) {
  // No window search inside the lock, nor while one waits for its commit.
  if (guard.state.lockIsUp || guard.state.waitingLock.due) {
    PlanCountTick(guard, WatchedCount::FileMaker);
    return false;
  }
  Observed o;
  Observe(guard, o, WatchedCount::FileMaker);
  uint32_t recordLookedAt = guard.state.recordIdle.countedUpTo;
  TickActions act = FileMakerTick(guard.state, o.seen);
  MarkCount(guard, WatchedCount::FileMaker);
  // A key it found opened the record again: the record count runs from that
  // key, and the watch and its next look with it.
  if (guard.state.recordIdle.countedUpTo != recordLookedAt) MarkCount(guard, WatchedCount::Record);
  ApplyTimerChange(dialog, KEYSCAN_TIMER, KEYSCAN_TICK_MS, act.keyScanTimer);
  if (act.stopFileMakerTimer) StopTimer(dialog, FILEMAKER_TIMER);
  ShowOrCloseLockWarning(guard, dialog, o.host, act.lockWarningSeconds);
  return LockAfterExitRecord(guard, dialog, o.host, act, LockCause::IdleLimit);
}

void OnKeyScanTimer(WorkstationGuard& guard) {
  BYTE keys[KEYBOARD_STATE_SIZE];
  if (!KeyScanTick(guard.state, GetKeyboardState(keys) ? keys : nullptr, IdleClockNow())) return;
  MarkCount(guard, WatchedCount::FileMaker);
  CloseLockWarning(guard.lockWarning);
}

void OnRestoreTimer(WorkstationGuard& guard, HWND dialog) {
  StopTimer(dialog, RESTORE_TIMER);
  ExitRecordNote& note = guard.exitRecord;
  if (!note.givingBackKeys) {
    bool stillOpen = KeyPressesSoFar() != note.personsPressesAtKeys || note.recordLeftOpen;
    // Either window may have closed since the keys were typed.
    switch (RestoreTick(guard.state, note.restoredHost != nullptr, stillOpen)) {
      case RestoreAction::MinimiseRestoredHost:
        if (IsWindow(note.restoredHost)) ShowWindow(note.restoredHost, SW_MINIMIZE);
        break;
      case RestoreAction::ActivateNotedWindow:
        // Never one of the plug-in's own: bringing it forward would show it.
        if (IsWindow(note.giveBackTo) && !IsPluginWindow(guard, note.giveBackTo)) BringWindowToFront(note.giveBackTo);
        break;
      case RestoreAction::None:
        break;
    }
    note.givingBackKeys = true;
    note.restoredAt = IdleClockNow();
  }
  // What the person typed meanwhile goes where they typed it, once that
  // program has the foreground: another process takes it in its own time.
  if (GiveBackHeldKeys(IdleClockNow() - note.restoredAt >= HELD_KEYS_WAIT_MS))
    note.givingBackKeys = note.restorePending = false;
  else
    StartRestoreTimer(dialog, HELD_KEYS_RETRY_MS);
}

void OnHostActivation(WorkstationGuard& guard, bool cameToFront) {
  // A departure's wait for the person to pause ends with it: the next one
  // waits afresh.
  if (cameToFront) guard.exitRecord.waitingForPause = false;
  // Ticking four times a second, or sent by a test, the ticks see it themselves.
  if (IdleClockIsSetForTests() || !WindowsDatesInput()) return;
  const GuardState& state = guard.state;
  const Settings& s = state.settings;
  bool fileMakerCounts = s.fileMakerLimitSeconds >= 1 && !state.lockIsUp && !state.waitingLock.due;
  // A count held in the background runs from the moment FileMaker is back.
  if (cameToFront && fileMakerCounts) {
    Observed o;
    Observe(guard, o, WatchedCount::FileMaker);
    CountFromComingBack(guard.state, o.seen);
    MarkTick(guard.activityWatch, WatchedCount::FileMaker, guard.state.fileMakerIdle.countedUpTo);
  }
  if (fileMakerCounts) LookWithin(guard, WatchedCount::FileMaker, ACTIVATION_LOOK_MS);
  if (s.recordLimitSeconds >= 1 || s.commitOnLeaving) LookWithin(guard, WatchedCount::Record, ACTIVATION_LOOK_MS);
}

void OnResume(WorkstationGuard& guard) {
  // What fell due while the machine slept is decided now, not at a timer's whim.
  if (IdleClockIsSetForTests()) return;
  LookWithin(guard, WatchedCount::Record, ACTIVATION_LOOK_MS);
  if (guard.state.settings.fileMakerLimitSeconds >= 1) LookWithin(guard, WatchedCount::FileMaker, ACTIVATION_LOOK_MS);
}

bool OnSessionChange(WorkstationGuard& guard, HWND dialog, WPARAM code) {
  SessionChange change = SessionChangeOf(static_cast<uint32_t>(code));
  // A notice that takes the keyboard is checked with Windows where it can tell.
  bool takes = change == SessionChange::Lock || change == SessionChange::Disconnect;
  SessionReport asked = takes ? AskWindowsForSession() : SessionReport();
  return TakeSessionTurn(guard, dialog, TakeSessionChange(guard.state, change, asked));
}

bool ListenAndAsk(WorkstationGuard& guard, HWND dialog) {
  if (ListenForSessionChanges(dialog) == Listening::TryAgain)
    StartTimer(dialog, SESSION_LISTEN_TIMER, SESSION_LISTEN_RETRY_MS);
  else
    StopTimer(dialog, SESSION_LISTEN_TIMER);
  return TakeSessionTurn(guard, dialog, TakeSessionReport(guard.state, AskWindowsForSession()));
}
