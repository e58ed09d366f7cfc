#include "Kickout.h"

#include <cstring>

#include "../idle/IdleState.h"
#include "../idle/TimerDialog.h"
#include "../plugin/HostCall.h"
#include "../sendkeys/SendKeys.h"
#include "HostWindows.h"
#include "LockScreen.h"

char szBuf[KEY_TEXT_SIZE];
HWND tempmaster;
int32_t minim;
HWND temphwnd;
HWND masterhwnd;
HWND hwnd2;

namespace {

const char EXIT_RECORD_KEYS[] = "^{ENTER}^{ENTER}";
const char LIST_CLASS_PREFIX[] = "FM3List";
const UINT SHOW_ON_TOP = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

// Ctrl+Enter commits only in the host main window itself: in a dialog of the
// host it presses the default button, in another program it does who knows
// what. A disabled main window means one of the host's modal dialogs is up.
bool CanTakeKeys(HWND host) {
  return BelongsToThisProcess(host) && IsWindowEnabled(host) && GetForegroundWindow() == host;
}

// List views: Escape first, then the keys twice; no restore afterwards.
bool ListPath(HWND list) {
  if (getthewindow() != GetForegroundWindow()) return false;
  if (GetCursor() == thepointer) return false;
  if (!IsWindowEnabled(getthewindow())) return false;
  SetActiveWindow(getthewindow());
  SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  AppActivate2(getthewindow());
  if (!CanTakeKeys(getthewindow())) return false;
  SendKeys(szBuf, 0, getthewindow());
  SendKeys(szBuf, 0, getthewindow());
  Booted = 1;
  return true;
}

bool StandardPath() {
  temphwnd = GetForegroundWindow();
  if (!IsWindowEnabled(getthewindow())) return false;
  AppActivate2(getthewindow());
  SetActiveWindow(getthewindow());
  if (!CanTakeKeys(getthewindow())) return false;
  SendKeys(szBuf, 0, getthewindow());
  Booted = 1;
  if (HiddenDialog) SetTimer(HiddenDialog, RESTORE_TIMER, RESTORE_DELAY_MS, nullptr);
  return true;
}

}  // namespace

bool kickout() {
  lstrcpyA(szBuf, EXIT_RECORD_KEYS);
  if (locked) return false;
  temphwnd = GetActiveWindow();
  tempmaster = getthewindow();
  if (!IsIconic(tempmaster)) {
    minim = 0;
  } else {
    minim = 1;
    ShowWindow(tempmaster, SW_RESTORE);
    SetWindowPos(tempmaster, HWND_TOP, 0, 0, 0, 0, SHOW_ON_TOP);
  }
  masterhwnd = GetWindow(tempmaster, GW_CHILD);
  HWND menu = getthemenuwindow();
  if (menu) SendMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  hwnd2 = GetWindow(masterhwnd, GW_CHILD);
  HWND third = GetWindow(hwnd2, GW_CHILD);
  char name[256];
  if (!third || GetClassNameA(third, name, sizeof name) <= 0) name[0] = '\0';
  bool typed = std::strncmp(name, LIST_CLASS_PREFIX, std::strlen(LIST_CLASS_PREFIX)) == 0 ? ListPath(third)
                                                                                          : StandardPath();
  // Nothing typed: put a window we restored back as it was, and leave the latch
  // open so that the action is tried again.
  if (!typed && minim) ShowWindow(tempmaster, SW_MINIMIZE);
  return typed;
}
