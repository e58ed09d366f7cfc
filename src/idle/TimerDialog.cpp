#include "TimerDialog.h"

#include "../hostwin/HostWindows.h"
#include "../hostwin/Kickout.h"
#include "../hostwin/LockScreen.h"
#include "../plugin/Functions.h"
#include "../resources/ResourceIds.h"
#include "../sendkeys/Decimal.h"
#include "../sendkeys/SendKeys.h"
#include "Activity.h"
#include "IdleState.h"

namespace {

bool HostIsActive() { return getthewindow() == GetActiveWindow(); }

// Another application, not one of the host's own dialogs, is in front.
bool AnotherApplicationInFront() {
  HWND foreground = GetForegroundWindow();
  return foreground && !BelongsToThisProcess(foreground);
}

// Dispatches the keys just typed into the host, so that the host has them all
// before the lock screen takes the focus. Keyboard input reaches the queue a
// little after it is synthesized, so this waits briefly for more.
void DeliverTypedKeys() {
  const DWORD QUIET_MS = 30, MOST_MS = 300;
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, QUIET_MS, QS_KEY) == WAIT_OBJECT_0 &&
           GetTickCount() - start < MOST_MS);
}

void EnableControl(HWND dialog, int id, bool enable) { EnableWindow(GetDlgItem(dialog, id), enable); }

void RecordTick(HWND dialog) {
  if (TMImmediateSW && !HostIsActive() && Booted == 0 && AnotherApplicationInFront()) {
    numberseconds = 0;
    kickout();
  }
  if (thetick < 1) {
    numberseconds = 0;
    if (HostIsActive()) Booted = 0;
    EnableControl(dialog, IDC_RECORD_STOP, false);
    return;
  }
  EnableControl(dialog, IDC_RECORD_STOP, true);

  ActivitySnapshot& snap = recordSnapshot;
  POINT now = ReadActivity(snap);
  ++numberseconds;
  bool keys = KeyboardChanged(snap);
  if (keys) {
    numberseconds = 0;
    RefreshKeyboardSnapshot(snap);
    if (HostIsActive()) Booted = 0;
  }
  bool moved = CursorMoved(snap, now);
  int32_t limit = TicksFor(thetick);
  // The limit is checked before the cursor: a move in the limit tick does not
  // stop the action, only typing does.
  if (!keys && numberseconds > limit - 1) {
    RefreshKeyboardSnapshot(snap);
    if (Booted == 0) kickout();
  }
  if (!moved && numberseconds > limit - 1) {
    RefreshKeyboardSnapshot(snap);
    if (Booted == 0) kickout();
  }
  if (moved) {
    snap.ptOld = now;
    RefreshKeyboardSnapshot(snap);
    numberseconds = 0;
  }
  if (numberseconds > limit - 1) {
    numberseconds = 0;
    return;
  }
  if (Booted != 0 && numberseconds < limit - 1) numberseconds = 0;
}

void Lock(HWND dialog) {
  if (Booted == 0 && kickout()) DeliverTypedKeys();
  Booted = 1;
  RefreshKeyboardSnapshot(appSnapshot);
  appnumberseconds = 0;
  // Nothing may bring the hidden host back while the lock is up.
  KillTimer(dialog, RESTORE_TIMER);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  RunLockScreen(instance, GetActiveWindow());
}

void FileMakerTick(HWND dialog) {
  // Ticks that run inside the lock's modal loops count nothing.
  if (locked) return;
  ActivitySnapshot& snap = appSnapshot;
  HWND foreground = GetForegroundWindow();
  if (foreground != getthewindow() && foreground != dialog && kcanbackground == 0) {
    appnumberseconds = 0;
    GetCursorPos(&snap.ptOld);
    RefreshKeyboardSnapshot(snap);
    return;
  }
  if (theapptick < 1) {
    appnumberseconds = 0;
    KillTimer(dialog, KEYSCAN_TIMER);
    KillTimer(dialog, FILEMAKER_TIMER);
    return;
  }

  POINT now = ReadActivity(snap);
  ++appnumberseconds;
  bool keys = KeyboardChanged(snap);
  if (HostIsActive())
    KillTimer(dialog, KEYSCAN_TIMER);
  else
    SetTimer(dialog, KEYSCAN_TIMER, KEYSCAN_TICK_MS, nullptr);
  if (keys) {
    appnumberseconds = 0;
    RefreshKeyboardSnapshot(snap);
    if (HostIsActive()) Booted = 0;
  }
  bool moved = CursorMoved(snap, now);
  int32_t limit = TicksFor(theapptick);
  if (!keys && appnumberseconds > limit - 1) {
    Lock(dialog);
    return;
  }
  // Just before the lock. An attempt that typed nothing leaves the latch open,
  // so the lock step tries once more.
  if (!moved && appnumberseconds > limit - 2 && Booted == 0) kickout();
  if (moved) {
    snap.ptOld = now;
    RefreshKeyboardSnapshot(snap);
    appnumberseconds = 0;
  }
}

// A key held down outside the host main window still means someone is there.
void KeyScanTick() {
  if (checkkeys()) appnumberseconds = 0;
}

void RestoreTick(HWND dialog) {
  KillTimer(dialog, RESTORE_TIMER);
  Booted = 1;
  if (locked) return;  // the host stays hidden behind the lock
  if (minim)
    ShowWindow(tempmaster, SW_MINIMIZE);  // the host window the action restored
  else
    AppActivate2(temphwnd);
}

int32_t FieldValue(HWND dialog, int id) {
  miscinput[0] = '\0';
  GetDlgItemTextA(dialog, id, miscinput, MISC_INPUT_SIZE);
  return ParseDecimal(miscinput);
}

void Command(HWND dialog, int id) {
  switch (id) {
    case IDC_DONE:
      ShowWindow(dialog, SW_HIDE);
      break;
    case IDC_RECORD_STOP:
      thetick = 0;
      EnableControl(dialog, IDC_RECORD_STOP, false);
      break;
    case IDC_RECORD_SET:
      thetick = ClampInt(FieldValue(dialog, IDC_RECORD_FIELD), INT32_MIN, MAX_LIMIT_SECONDS);
      if (thetick > 0) {
        EnableControl(dialog, IDC_RECORD_STOP, true);
        SetTimer(dialog, RECORD_TIMER, IDLE_TICK_MS, nullptr);
      }
      break;
    case IDC_RECORD_TOGGLE:
      TMImmediateSW = TMImmediateSW == 0 ? 1 : 0;
      break;
    case IDC_APP_SET:
      theapptick = ClampInt(FieldValue(dialog, IDC_APP_FIELD), INT32_MIN, MAX_LIMIT_SECONDS);
      if (theapptick > 0) {
        EnableControl(dialog, IDC_APP_STOP, true);
        SetTimer(dialog, FILEMAKER_TIMER, IDLE_TICK_MS, nullptr);
        appnumberseconds = 0;
      }
      if (theapptick < 1) {
        KillTimer(dialog, FILEMAKER_TIMER);
        KillTimer(dialog, KEYSCAN_TIMER);
      }
      break;
    case IDC_APP_STOP:
      EnableControl(dialog, IDC_APP_STOP, false);
      theapptick = 0;
      break;
    case IDC_APP_TOGGLE:
      kcanbackground = kcanbackground == 0 ? 1 : 0;
      break;
    case IDC_SCRIPT_STOP:
      EnableControl(dialog, IDC_SCRIPT_STOP, false);
      thescripttick = 0;
      break;
    case IDC_SCRIPT_TOGGLE:
      kscriptcanbackground = kscriptcanbackground == 0 ? 1 : 0;
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK MyDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowWindow(hwnd, SW_HIDE);
      if (!locked) SetActiveWindow(getthewindow());
      EnableControl(hwnd, IDC_RECORD_STOP, thetick >= 1);
      EnableControl(hwnd, IDC_APP_STOP, theapptick >= 1);
      EnableControl(hwnd, IDC_SCRIPT_STOP, thescripttick >= 1);
      break;
    case WM_COMMAND:
      Command(hwnd, LOWORD(wParam));
      break;
    case WM_TIMER:
      switch (wParam) {
        case RECORD_TIMER:
          RecordTick(hwnd);
          break;
        case FILEMAKER_TIMER:
          FileMakerTick(hwnd);
          break;
        case KEYSCAN_TIMER:
          KeyScanTick();
          break;
        case RESTORE_TIMER:
          RestoreTick(hwnd);
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

void CreateTimerDialog(HINSTANCE instance) {
  if (HiddenDialog) return;
  HiddenDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TIMER_DIALOG), getthewindow(),
                                    MyDlgProc, 0);
}

void DestroyTimerDialog() {
  if (!HiddenDialog) return;
  StopTimers(HiddenDialog);
  DestroyWindow(HiddenDialog);
  HiddenDialog = nullptr;
}

void StopTimers(HWND dialog) {
  if (!dialog) return;
  KillTimer(dialog, RECORD_TIMER);
  KillTimer(dialog, FILEMAKER_TIMER);
  KillTimer(dialog, KEYSCAN_TIMER);
  KillTimer(dialog, RESTORE_TIMER);
}
