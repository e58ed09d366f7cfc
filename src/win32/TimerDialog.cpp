#include "win32/TimerDialog.h"

#include <cstring>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/WindowsKeyboard.h"
#include "portable/keys/SendKeys.h"
#include "resources/ResourceIds.h"
#include "win32/ActivityWatch.h"
#include "win32/ExitRecord.h"
#include "win32/HiddenPanel.h"
#include "win32/HostWindows.h"
#include "win32/KeyPressCount.h"
#include "win32/LockScreen.h"
#include "win32/MessagePump.h"
#include "win32/RecordCommit.h"
#include "win32/SessionNotifications.h"
#include "win32/UserNameCase.h"
#include "win32/WatchedCounts.h"
#include "win32/WindowActivation.h"

namespace {

// Lulx-LockNow posts this to the dialog, so that the lock opens after the
// function has answered, not inside the host's calculation.
const UINT WM_LOCK_NOW = WM_APP + 0x4C;
// A new timer dialog registers for Windows' session notifications on its first turn.
const UINT WM_LISTEN_FOR_SESSION = WM_APP + 0x4D;

// One reading of everything a tick looks at.
struct Observed {
  TickObservation seen;
  BYTE keys[KEYBOARD_STATE_SIZE];
  HWND host;
};

bool ReadCursor(Point& at) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  at = {p.x, p.y};
  return true;
}

void Observe(WorkstationGuard& guard, Observed& o, WatchedCount count) {
  HWND foreground = GetForegroundWindow();
  o.host = FindHostWindowInUseOrFallback(foreground);
  o.seen.cursorRead = ReadCursor(o.seen.cursor);
  o.seen.keys = GetKeyboardState(o.keys) ? o.keys : nullptr;
  o.seen.keyPresses = KeyPressesSoFar();
  o.seen.now = IdleClockNow();
  const IdleCounter& counter = CounterOf(guard.state, count);
  o.seen.watched = ReadWatchedQuiet(guard.activityWatch, count, counter.countedUpTo, o.seen.now);
  DWORD process = 0;
  DWORD thread = foreground ? GetWindowThreadProcessId(foreground, &process) : 0;
  // A foreground window of this thread is its active window: one question to
  // Windows fewer on most ticks, and each costs a round trip under Wine.
  HWND active = thread == GetCurrentThreadId() ? foreground : GetActiveWindow();
  o.seen.hostActive = o.host == active;
  o.seen.otherAppInFront = foreground && process != GetCurrentProcessId();
  // The plug-in's own windows in front (the warning, say, once the window in
  // use has closed) leave FileMaker in front; another program's need no look.
  o.seen.hostInFront =
      foreground == o.host || (foreground && !o.seen.otherAppInFront && IsPluginWindow(guard, foreground));
}

WorkstationGuard* GuardOf(HWND dialog) {
  return reinterpret_cast<WorkstationGuard*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void ApplyTimerChange(HWND dialog, UINT_PTR id, UINT ms, TimerChange change) {
  if (change == TimerChange::Start) StartTimer(dialog, id, ms);
  if (change == TimerChange::Stop) StopTimer(dialog, id);
}

// Dispatches the keys just typed into the host, so that the host has them all
// before the lock screen takes the focus. Keyboard input reaches the queue a
// little after it is synthesized, so this waits briefly for more.
void DeliverTypedKeys() {
  const DWORD QUIET_MS = 30, MOST_MS = 300;
  DWORD start = GetTickCount();
  do {
    DispatchKeyboardMessages();
  } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, QUIET_MS, QS_KEY) == WAIT_OBJECT_0 &&
           GetTickCount() - start < MOST_MS);
}

HINSTANCE InstanceOf(HWND dialog) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)); }

void ShowOrCloseLockWarning(WorkstationGuard& guard, HWND dialog, HWND host, int32_t seconds) {
  if (seconds > 0)
    ShowLockWarning(guard.lockWarning, InstanceOf(dialog), dialog, host, seconds, guard.hostInterface);
  else
    CloseLockWarning(guard.lockWarning);
}

const CommitReason AT_RECORD_LIMIT = {ScriptEventKind::CommitAtRecordLimit, LockCause::IdleLimit, true, false};
const CommitReason ON_LEAVING = {ScriptEventKind::CommitOnLeaving, LockCause::IdleLimit, true, false};

// The lock's commit: the script hears of it only when asked to make it.
CommitReason BeforeLock(LockCause cause, bool locking) {
  return {ScriptEventKind::CommitBeforeLock, cause, false, locking};
}

void OpenLock(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  CloseLockWarning(guard.lockWarning);
  // Nothing may bring the hidden host back while the lock is up.
  StopTimer(dialog, RESTORE_TIMER);
  LockedWindows& lock = guard.lockedWindows;
  if (!lock.held) lock.cause = cause, lock.lockedAt = GetTickCount();
  LoginOutcome outcome;
  LockEnd end = RunLockScreen(InstanceOf(dialog), guard, &outcome);
  // Up already, or the plug-in shut down meanwhile: nothing more of this lock runs.
  if (end == LockEnd::AlreadyUp || lock.ending) return;
  // The WM_QUIT that ended the login goes on to the host's loop first; should
  // the host live on, the login comes back.
  if (end == LockEnd::Held) return ReopenHeldLock(guard);
  // What was typed at the login was no typing in the host: both counts start
  // afresh once its last keys (the release of Enter) are in, and the record
  // stays committed until the user types.
  DeliverTypedKeys();
  StartCountNow(guard, WatchedCount::Record);
  StartCountNow(guard, WatchedCount::FileMaker);
  if (end != LockEnd::Unlocked) return;
  if (outcome.namesUser) NoteWhoUnlocked(guard.state.settings.unlockUsers, outcome.user, SameUserName);
  // The unlock stands for the whole lock, the commit before it included.
  ScriptEvent event = {ScriptEventKind::Unlock,
                       lock.cause,
                       (GetTickCount() - lock.lockedAt) / 1000,
                       static_cast<uint32_t>(lock.wrongPasswords),
                       outcome.namesUser,
                       "",
                       false};
  std::memcpy(event.user, outcome.user, USER_NAME_SIZE);
  QueueScriptEvent(guard.state.eventScript, event);
}

void OnReopenLockTimer(WorkstationGuard& guard, HWND dialog) {
  StopTimer(dialog, REOPEN_LOCK_TIMER);
  if (guard.lockedWindows.held) OpenLock(guard, dialog, guard.lockedWindows.cause);
}

// Every key typed so far goes to the host, ours and the user's: none may land
// in the login once it has the focus.
void OpenLockAfterTypedKeys(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  DeliverTypedKeys();
  OpenLock(guard, dialog, cause);
}

// A lock whose commit is not made yet waits for it, on a timer of its own.
void WaitForCommitBeforeLock(WorkstationGuard& guard, HWND dialog, LockCause cause, bool forKeyboard) {
  uint32_t now = IdleClockNow();
  guard.state.waitingLock = {true, forKeyboard, cause, now, false, now};
  StartTimer(dialog, WAITING_LOCK_TIMER, IDLE_TICK_MS);
}

void LockAfterExitRecord(WorkstationGuard& guard, HWND dialog, HWND host, TickActions act, LockCause cause) {
  if (guard.state.waitingLock.due) return;  // that lock comes first
  // A key still waiting for the host (typed just before it went busy) goes in
  // before the lock's commit, never after it.
  if (act.openLock) {
    DeliverTypedKeys();
    TakeInKeysBeforeLock(guard.state, KeyPressesSoFar(), act);
  }
  CommitDone done = CommitRecord(guard, host, act.exitRecordAttempts, BeforeLock(cause, act.openLock));
  if (!act.openLock) return;
  if (done == CommitDone::Waiting) return WaitForCommitBeforeLock(guard, dialog, cause, true);
  if (guard.state.eventScript.askedCommitWaiting) return WaitForCommitBeforeLock(guard, dialog, cause, false);
  OpenLockAfterTypedKeys(guard, dialog, cause);
}

// A commit that came due while Windows held the keyboard, typed now that it
// lets Lullex type again; one that Windows still refuses is left, as any.
void TypeWaitingCommit(WorkstationGuard& guard) {
  WindowsSession& windows = guard.state.windows;
  if (!windows.commitWaiting || WindowsHoldsKeyboard(windows)) return;
  CommitDone done = CommitRecord(guard, FindHostWindowInUseOrFallback(), 1, AT_RECORD_LIMIT);
  if (done != CommitDone::NotDone) windows.commitWaiting = false;
}

void OnSessionTurn(WorkstationGuard& guard, HWND dialog, SessionTurn turn);

// While a lock waits for the keyboard, Windows is asked now and then: a
// notice that never came must not hold it.
const uint32_t ASK_WINDOWS_EVERY_MS = 2000;

void OnWaitingLockTimer(WorkstationGuard& guard, HWND dialog) {
  WaitingLock& waiting = guard.state.waitingLock;
  uint32_t now = IdleClockNow();
  if (waiting.due && waiting.forKeyboard && !waiting.released && WindowsHoldsKeyboard(guard.state.windows) &&
      now - waiting.windowsAskedAt >= ASK_WINDOWS_EVERY_MS) {
    waiting.windowsAskedAt = now;
    return OnSessionTurn(guard, dialog, TakeSessionCheck(guard.state, AskWindowsForSession()));
  }
  if (!WaitingLockMayOpen(guard.state, now)) return;
  TypeWaitingCommit(guard);
  // A commit still not typed waits no longer: the lock goes up, as when the
  // host could not take the keys before it.
  guard.state.windows.commitWaiting = false;
  StopTimer(dialog, WAITING_LOCK_TIMER);
  LockCause cause = waiting.cause;
  waiting = WaitingLock();
  OpenLockAfterTypedKeys(guard, dialog, cause);
}

void OnSessionTurn(WorkstationGuard& guard, HWND dialog, SessionTurn turn) {
  switch (turn) {
    case SessionTurn::AskScriptToCommit:
      QueueScriptEvent(guard.state.eventScript, CommitEvent(ScriptEventKind::CommitWindowsLocked, false));
      break;
    case SessionTurn::KeyboardBack:
      // Before anything else: the waiting commit, then the lock that waited for it.
      TypeWaitingCommit(guard);
      if (guard.state.waitingLock.due) OnWaitingLockTimer(guard, dialog);
      break;
    case SessionTurn::Nothing:
      break;
  }
}

void OnSessionChange(WorkstationGuard& guard, HWND dialog, WPARAM code) {
  SessionChange change = SessionChangeOf(static_cast<uint32_t>(code));
  // A notice that takes the keyboard is checked with Windows where it can tell.
  bool takes = change == SessionChange::Lock || change == SessionChange::Disconnect;
  SessionReport asked = takes ? AskWindowsForSession() : SessionReport();
  OnSessionTurn(guard, dialog, TakeSessionChange(guard.state, change, asked));
}

// Registered for the notifications, or not yet: what they may have missed,
// Windows tells.
void ListenAndAsk(WorkstationGuard& guard, HWND dialog) {
  if (ListenForSessionChanges(dialog) == Listening::TryAgain)
    StartTimer(dialog, SESSION_LISTEN_TIMER, SESSION_LISTEN_RETRY_MS);
  else
    StopTimer(dialog, SESSION_LISTEN_TIMER);
  OnSessionTurn(guard, dialog, TakeSessionReport(guard.state, AskWindowsForSession()));
}

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
}

void OnFileMakerTimer(WorkstationGuard& guard, HWND dialog) {
  // No window search inside the lock, nor while one waits for its commit.
  if (guard.state.lockIsUp || guard.state.waitingLock.due) return;
  Observed o;
  Observe(guard, o, WatchedCount::FileMaker);
  TickActions act = FileMakerTick(guard.state, o.seen);
  MarkCount(guard, WatchedCount::FileMaker);
  ApplyTimerChange(dialog, KEYSCAN_TIMER, KEYSCAN_TICK_MS, act.keyScanTimer);
  if (act.stopFileMakerTimer) StopTimer(dialog, FILEMAKER_TIMER);
  ShowOrCloseLockWarning(guard, dialog, o.host, act.lockWarningSeconds);
  LockAfterExitRecord(guard, dialog, o.host, act, LockCause::IdleLimit);
}

void OnLockNowRequest(WorkstationGuard& guard, HWND dialog) {
  LockAfterExitRecord(guard, dialog, FindHostWindowInUseOrFallback(), LockNowTurn(guard.state), LockCause::LockNow);
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
  // Either window may have closed since the keys were typed.
  switch (RestoreTick(guard.state, note.restoredHost != nullptr)) {
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

INT_PTR CALLBACK TimerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitDialog(dialog, *reinterpret_cast<WorkstationGuard*>(lParam));
    return FALSE;
  }
  WorkstationGuard* guard = GuardOf(dialog);
  if (!guard) return FALSE;
  if (message == WM_COMMAND) PanelCommand(*guard, dialog, LOWORD(wParam));
  if (message == WM_LOCK_NOW) OnLockNowRequest(*guard, dialog);
  if (message == WM_SESSION_CHANGE) OnSessionChange(*guard, dialog, wParam);
  if (message == WM_LISTEN_FOR_SESSION) ListenAndAsk(*guard, dialog);
  if (message != WM_TIMER) return FALSE;
  switch (wParam) {
    case RECORD_TIMER:
      OnRecordTimer(*guard, dialog);
      break;
    case FILEMAKER_TIMER:
      OnFileMakerTimer(*guard, dialog);
      break;
    case KEYSCAN_TIMER:
      OnKeyScanTimer(*guard);
      break;
    case RESTORE_TIMER:
      OnRestoreTimer(*guard, dialog);
      break;
    case REOPEN_LOCK_TIMER:
      OnReopenLockTimer(*guard, dialog);
      break;
    case WAITING_LOCK_TIMER:
      OnWaitingLockTimer(*guard, dialog);
      break;
    case SESSION_LISTEN_TIMER:
      ListenAndAsk(*guard, dialog);
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool EnsureTimerDialog(WorkstationGuard& guard, HINSTANCE instance) {
  if (guard.timerDialog && !IsWindow(guard.timerDialog)) guard.timerDialog = nullptr;
  if (guard.timerDialog) return true;
  guard.timerDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TIMER_DIALOG), nullptr, TimerDialogProc,
                                         reinterpret_cast<LPARAM>(&guard));
  if (!guard.timerDialog) return false;
  StartCountingKeyPresses();  // on the host's thread, as the dialog
  // On the dialog's own turn: a commit that Windows' answer lets through is
  // never typed inside the function that made the dialog.
  PostMessageA(guard.timerDialog, WM_LISTEN_FOR_SESSION, 0, 0);
  // A lock that waited for its commit when the dialog before went waits on.
  if (guard.state.waitingLock.due) StartTimer(guard.timerDialog, WAITING_LOCK_TIMER, IDLE_TICK_MS);
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
  if (guard.lockedWindows.held && EnsureTimerDialog(guard, guard.instance))
    StartTimer(guard.timerDialog, REOPEN_LOCK_TIMER, REOPEN_LOCK_DELAY_MS);
}

void RequestLockNow(WorkstationGuard& guard) {
  if (guard.timerDialog) PostMessageA(guard.timerDialog, WM_LOCK_NOW, 0, 0);
}
