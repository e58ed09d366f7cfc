#include "win32/guard/TimerDialog.h"

#include "resources/ResourceIds.h"
#include "win32/commit/RecordCommit.h"
#include "win32/guard/HiddenPanel.h"
#include "win32/guard/TickHandlers.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/lock/LockSequence.h"
#include "win32/lock/LockWarning.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/SessionNotifications.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

// Lulx-LockNow posts this to the dialog, so that the lock opens after the
// function has answered, not inside the host's calculation.
const UINT WM_LOCK_NOW = WM_APP + 0x4C;
// A new timer dialog registers for Windows' session notifications on its first turn.
const UINT WM_LISTEN_FOR_SESSION = WM_APP + 0x4D;

WorkstationGuard* GuardOf(HWND dialog) {
  return reinterpret_cast<WorkstationGuard*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void InitDialog(HWND dialog, WorkstationGuard& guard) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&guard));
  ShowWindow(dialog, SW_HIDE);
  if (!guard.state.lockIsUp) SetActiveWindow(FindHostWindowInUseOrFallback());  // never the host hidden by the lock
  const Settings& s = guard.state.settings;
  EnablePanelControl(dialog, IDC_RECORD_STOP, s.recordLimitSeconds >= 1);
  EnablePanelControl(dialog, IDC_FILEMAKER_STOP, s.fileMakerLimitSeconds >= 1);
  EnablePanelControl(dialog, IDC_SCRIPT_STOP, guard.panelScriptTimer.seconds >= 1);
}

// True when a lock the message opened is held.
bool OnTimer(WorkstationGuard& guard, HWND dialog, WPARAM id) {
  switch (id) {
    case RECORD_TIMER:
      OnRecordTimer(guard, dialog);
      return false;
    case FILEMAKER_TIMER:
      return OnFileMakerTimer(guard, dialog);
    case KEYSCAN_TIMER:
      OnKeyScanTimer(guard);
      return false;
    case RESTORE_TIMER:
      OnRestoreTimer(guard, dialog);
      return false;
    case COMMIT_STEP_TIMER:
      CommitStepTick(guard);
      return false;
    case REOPEN_LOCK_TIMER:
      return ReopenLockTick(guard, dialog);
    case WAITING_LOCK_TIMER:
      return WaitingLockTick(guard, dialog);
    case SESSION_LISTEN_TIMER:
      return ListenAndAsk(guard, dialog);
    default:
      return false;
  }
}

INT_PTR CALLBACK TimerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitDialog(dialog, *reinterpret_cast<WorkstationGuard*>(lParam));
    return FALSE;
  }
  WorkstationGuard* guard = GuardOf(dialog);
  if (!guard) return FALSE;
  bool held = false;
  if (message == WM_COMMAND) PanelCommand(*guard, dialog, LOWORD(wParam));
  if (message == WM_LOCK_NOW) held = LockAtOnce(*guard, dialog, LockCause::LockNow);
  if (message == WM_SESSION_CHANGE) held = OnSessionChange(*guard, dialog, wParam);
  if (message == WM_POWERBROADCAST && (wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMEAUTOMATIC))
    OnResume(*guard);
  if (message == WM_LISTEN_FOR_SESSION) held = ListenAndAsk(*guard, dialog);
  if (message == WM_TIMER) held = OnTimer(*guard, dialog, wParam);
  // Every top-level window of the thread hears it, this hidden one too.
  if (message == WM_ACTIVATEAPP) OnHostActivation(*guard, wParam != FALSE);
  // Windows' lock or unlock, or the panel, may have moved a deadline.
  if (message == WM_SESSION_CHANGE || message == WM_COMMAND) PlanLooks(*guard);
  // The WM_QUIT that ended the login goes on to the host's loop first; should
  // the host live on, the login comes back.
  if (held) ReopenHeldLock(*guard);
  return FALSE;
}

}  // namespace

bool EnsureTimerDialog(WorkstationGuard& guard, HINSTANCE instance) {
  if (guard.timerDialog && !IsWindow(guard.timerDialog)) guard.timerDialog = nullptr;
  if (guard.timerDialog) return true;
  guard.timerDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TIMER_DIALOG), nullptr, TimerDialogProc,
                                         reinterpret_cast<LPARAM>(&guard));
  if (!guard.timerDialog) return false;
  StartCountingKeyPresses(guard);  // on the host's thread, as the dialog
  // On the dialog's own turn: a commit that Windows' answer lets through is
  // never typed inside the function that made the dialog.
  PostMessageA(guard.timerDialog, WM_LISTEN_FOR_SESSION, 0, 0);
  // A lock that waited for its commit when the dialog before went waits on.
  if (guard.state.waitingLock.due) StartTimer(guard.timerDialog, WAITING_LOCK_TIMER, WAITING_LOCK_LOOK_MS);
  // So does a commit under way: it ends on its next step.
  if (guard.state.commit.stage != CommitStage::None) StartTimer(guard.timerDialog, COMMIT_STEP_TIMER, COMMIT_STEP_MS);
  return true;
}

void DestroyTimerDialog(WorkstationGuard& guard) {
  CloseLockWarning(guard.lockWarning);
  StopCountingKeyPresses();
  if (!guard.timerDialog) return;
  StopAllTimers(guard.timerDialog);
  StopListeningForSessionChanges(guard.timerDialog);
  DestroyWindow(guard.timerDialog);
  guard.timerDialog = nullptr;
}

void ReopenHeldLock(WorkstationGuard& guard) {
  if (guard.lockSession.held && EnsureTimerDialog(guard, guard.instance))
    StartTimer(guard.timerDialog, REOPEN_LOCK_TIMER, REOPEN_LOCK_DELAY_MS);
}

void RequestLockNow(WorkstationGuard& guard) {
  if (guard.timerDialog) PostMessageA(guard.timerDialog, WM_LOCK_NOW, 0, 0);
}
