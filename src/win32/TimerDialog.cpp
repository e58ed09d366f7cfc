#include "win32/TimerDialog.h"

#include "portable/engine/IdleEngine.h"
#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"
#include "portable/text/NumberText.h"
#include "portable/text/ParameterRules.h"
#include "resources/ResourceIds.h"
#include "win32/ExitRecord.h"
#include "win32/HostWindows.h"
#include "win32/LockScreen.h"
#include "win32/WindowActivation.h"

namespace {

// Lulx-LockNow posts this to the dialog, so that the lock opens after the
// function has answered, not inside the host's calculation.
const UINT WM_LOCK_NOW = WM_APP + 0x4C;

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

void Observe(HWND dialog, Observed& o) {
  o.host = FindHostMainWindow();
  o.seen.cursorRead = ReadCursor(o.seen.cursor);
  o.seen.keys = GetKeyboardState(o.keys) ? o.keys : nullptr;
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  DWORD thread = foreground ? GetWindowThreadProcessId(foreground, &process) : 0;
  // A foreground window of this thread is its active window: one question to
  // Windows fewer on most ticks, and each costs a round trip under Wine.
  HWND active = thread == GetCurrentThreadId() ? foreground : GetActiveWindow();
  o.seen.hostActive = o.host == active;
  o.seen.hostInFront = foreground == o.host || foreground == dialog;
  o.seen.otherAppInFront = foreground && process != GetCurrentProcessId();
}

WorkstationGuard* GuardOf(HWND dialog) {
  return reinterpret_cast<WorkstationGuard*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void EnableControl(HWND dialog, int id, bool enable) {
  HWND control = GetDlgItem(dialog, id);
  if ((IsWindowEnabled(control) != FALSE) != enable) EnableWindow(control, enable);  // the record tick asks every time
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
    PortPumpKeyboardMessages();
  } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, QUIET_MS, QS_KEY) == WAIT_OBJECT_0 &&
           GetTickCount() - start < MOST_MS);
}

bool TryExitRecord(WorkstationGuard& guard, HWND host, int attempts) {
  for (int i = 0; i < attempts; ++i)
    if (RunExitRecordAction(guard, host)) return true;
  return false;
}

HINSTANCE InstanceOf(HWND dialog) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)); }

void ShowOrCloseLockWarning(WorkstationGuard& guard, HWND dialog, HWND host, int32_t seconds) {
  if (seconds > 0)
    ShowLockWarning(guard.lockWarning, InstanceOf(dialog), dialog, host, seconds);
  else
    CloseLockWarning(guard.lockWarning);
}

void OpenLock(WorkstationGuard& guard, HWND dialog) {
  CloseLockWarning(guard.lockWarning);
  // Nothing may bring the hidden host back while the lock is up.
  StopTimer(dialog, RESTORE_TIMER);
  RunLockScreen(InstanceOf(dialog), GetActiveWindow(), guard.state.settings.password, guard.state.lockIsUp,
                guard.hostText);
}

void LockAfterExitRecord(WorkstationGuard& guard, HWND dialog, HWND host, const TickActions& act) {
  if (TryExitRecord(guard, host, act.exitRecordAttempts) && act.openLock) DeliverTypedKeys();
  if (act.openLock) OpenLock(guard, dialog);
}

void OnRecordTimer(WorkstationGuard& guard, HWND dialog) {
  Observed o;
  Observe(dialog, o);
  if (ImmediateCommitDue(guard.state, o.seen)) {
    RunExitRecordAction(guard, o.host);
    o.seen.hostActive = o.host == GetActiveWindow();  // the action brings the host forward
  }
  TickActions act = RecordTick(guard.state, o.seen);
  EnableControl(dialog, IDC_RECORD_STOP, act.recordStopButton == TimerChange::Start);
  TryExitRecord(guard, o.host, act.exitRecordAttempts);
}

void OnFileMakerTimer(WorkstationGuard& guard, HWND dialog) {
  if (guard.state.lockIsUp) return;  // no window search inside the lock either
  Observed o;
  Observe(dialog, o);
  TickActions act = FileMakerTick(guard.state, o.seen);
  ApplyTimerChange(dialog, KEYSCAN_TIMER, KEYSCAN_TICK_MS, act.keyScanTimer);
  if (act.stopFileMakerTimer) StopTimer(dialog, FILEMAKER_TIMER);
  ShowOrCloseLockWarning(guard, dialog, o.host, act.lockWarningSeconds);
  LockAfterExitRecord(guard, dialog, o.host, act);
}

void OnLockNowRequest(WorkstationGuard& guard, HWND dialog) {
  LockAfterExitRecord(guard, dialog, FindHostMainWindow(), LockNowTurn(guard.state));
}

void OnKeyScanTimer(WorkstationGuard& guard) {
  BYTE keys[KEYBOARD_STATE_SIZE];
  if (KeyScanTick(guard.state, GetKeyboardState(keys) ? keys : nullptr)) CloseLockWarning(guard.lockWarning);
}

void OnRestoreTimer(WorkstationGuard& guard, HWND dialog) {
  StopTimer(dialog, RESTORE_TIMER);
  ExitRecordNote& note = guard.exitRecord;
  switch (RestoreTick(guard.state, note.restoredHost != nullptr)) {
    case RestoreAction::MinimiseRestoredHost:
      ShowWindow(note.restoredHost, SW_MINIMIZE);
      break;
    case RestoreAction::ActivateNotedWindow:
      BringWindowToFront(note.giveBackTo);
      break;
    case RestoreAction::None:
      break;
  }
}

int32_t FieldLimit(HWND dialog, int id) {
  char text[1024] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return ClampInt(ParseDecimal(text), INT32_MIN, MAX_LIMIT_SECONDS);
}

// The panel is never shown; its commands arrive only as WM_COMMAND sent to it.
void PanelCommand(WorkstationGuard& guard, HWND dialog, int id) {
  Settings& s = guard.state.settings;
  switch (id) {
    case IDC_DONE:
      ShowWindow(dialog, SW_HIDE);
      break;
    case IDC_RECORD_STOP:
      s.recordLimitSeconds = 0;
      EnableControl(dialog, IDC_RECORD_STOP, false);
      break;
    case IDC_RECORD_SET:
      s.recordLimitSeconds = FieldLimit(dialog, IDC_RECORD_FIELD);
      if (s.recordLimitSeconds > 0) {
        EnableControl(dialog, IDC_RECORD_STOP, true);
        StartTimer(dialog, RECORD_TIMER, IDLE_TICK_MS);
      }
      break;
    case IDC_RECORD_TOGGLE:
      s.commitOnLeaving = !s.commitOnLeaving;
      break;
    case IDC_APP_SET:
      s.fileMakerLimitSeconds = FieldLimit(dialog, IDC_APP_FIELD);
      if (s.fileMakerLimitSeconds > 0) {
        EnableControl(dialog, IDC_APP_STOP, true);
        StartTimer(dialog, FILEMAKER_TIMER, IDLE_TICK_MS);
        guard.state.fileMakerIdle.ticks = 0;
      } else {
        StopTimer(dialog, FILEMAKER_TIMER);
        StopTimer(dialog, KEYSCAN_TIMER);
      }
      break;
    case IDC_APP_STOP:
      EnableControl(dialog, IDC_APP_STOP, false);
      s.fileMakerLimitSeconds = 0;  // the next FileMaker tick stops the timers
      break;
    case IDC_APP_TOGGLE:
      s.countInBackground = !s.countInBackground;
      break;
    case IDC_SCRIPT_STOP:
      EnableControl(dialog, IDC_SCRIPT_STOP, false);
      s.scriptTimerSeconds = 0;
      break;
    case IDC_SCRIPT_TOGGLE:
      s.scriptCountsInBackground = !s.scriptCountsInBackground;
      break;
    default:
      break;
  }
}

void InitDialog(HWND dialog, WorkstationGuard& guard) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&guard));
  ShowWindow(dialog, SW_HIDE);
  if (!guard.state.lockIsUp) SetActiveWindow(FindHostMainWindow());  // never the host hidden by the lock
  const Settings& s = guard.state.settings;
  EnableControl(dialog, IDC_RECORD_STOP, s.recordLimitSeconds >= 1);
  EnableControl(dialog, IDC_APP_STOP, s.fileMakerLimitSeconds >= 1);
  EnableControl(dialog, IDC_SCRIPT_STOP, s.scriptTimerSeconds >= 1);
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
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool EnsureTimerDialog(WorkstationGuard& guard, HINSTANCE instance) {
  if (!guard.timerDialog)
    guard.timerDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TIMER_DIALOG), FindHostMainWindow(),
                                           TimerDialogProc, reinterpret_cast<LPARAM>(&guard));
  return guard.timerDialog != nullptr;
}

void DestroyTimerDialog(WorkstationGuard& guard) {
  CloseLockWarning(guard.lockWarning);
  if (!guard.timerDialog) return;
  StopAllTimers(guard.timerDialog);
  DestroyWindow(guard.timerDialog);
  guard.timerDialog = nullptr;
}

void StartTimer(HWND dialog, UINT_PTR id, UINT ms) {
  if (dialog) SetTimer(dialog, id, ms, nullptr);
}

void StopTimer(HWND dialog, UINT_PTR id) {
  if (dialog) KillTimer(dialog, id);
}

void StopAllTimers(HWND dialog) {
  const UINT_PTR ALL[] = {RECORD_TIMER, FILEMAKER_TIMER, KEYSCAN_TIMER, RESTORE_TIMER};
  for (UINT_PTR id : ALL) StopTimer(dialog, id);
}

void RequestLockNow(WorkstationGuard& guard) {
  if (guard.timerDialog) PostMessageA(guard.timerDialog, WM_LOCK_NOW, 0, 0);
}

void StartRestoreTimer(HWND dialog) { StartTimer(dialog, RESTORE_TIMER, RESTORE_DELAY_MS); }

void TakeSnapshotNow(IdleCounter& counter) {
  Point cursor = counter.snapshot.cursor;
  ReadCursor(cursor);
  BYTE keys[KEYBOARD_STATE_SIZE];
  TakeSnapshot(counter, cursor, GetKeyboardState(keys) ? keys : nullptr);
}
