#include "win32/lock/HiddenHostWindows.h"

#include <cstring>

#include "win32/commit/WindowActivation.h"
#include "win32/input/HeldKeys.h"
#include "win32/system/HostWindows.h"
#include "win32/system/Monitors.h"
#include "win32/system/PluginWindows.h"

namespace {

const UINT HIDE_IN_PLACE = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;
const UINT SHOW_WITHOUT_ACTIVATING = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;

int IndexOf(const LockedWindows& lock, HWND hwnd) {
  for (int i = 0; i < lock.hiddenCount; ++i)
    if (lock.hidden[i] == hwnd) return i;
  return -1;
}

struct HideRun {
  WorkstationGuard* guard;
  int newOnTop;  // windows first hidden on this run, placed on top in their order
  int hidNow;
};

BOOL CALLBACK HideIfHostWindow(HWND hwnd, LPARAM param) {
  HideRun& run = *reinterpret_cast<HideRun*>(param);
  LockedWindows& lock = run.guard->lockedWindows;
  if (!IsWindowVisible(hwnd) || !BelongsToThisProcess(hwnd) || IsPluginWindow(*run.guard, hwnd)) return TRUE;
  bool known = IndexOf(lock, hwnd) >= 0;
  if (!known && lock.hiddenCount == MOST_HIDDEN_WINDOWS) return TRUE;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, HIDE_IN_PLACE);
  ++run.hidNow;
  if (known) return TRUE;  // shown again by the host: it keeps its place
  std::memmove(&lock.hidden[run.newOnTop + 1], &lock.hidden[run.newOnTop],
               (lock.hiddenCount - run.newOnTop) * sizeof lock.hidden[0]);
  lock.hidden[run.newOnTop++] = hwnd;
  ++lock.hiddenCount;
  return TRUE;
}

}  // namespace

int HideHostWindows(WorkstationGuard& guard) {
  HideRun run = {&guard, 0, 0};
  EnumWindows(HideIfHostWindow, reinterpret_cast<LPARAM>(&run));
  return run.hidNow;
}

void GiveBackHostWindows(LockedWindows& lock) {
  HWND top = nullptr;
  // From the bottom up, each on top of the one before: the stacking order as it was.
  for (int i = lock.hiddenCount - 1; i >= 0; --i) {
    HWND hwnd = lock.hidden[i];
    if (!IsWindow(hwnd)) continue;  // closed during the lock
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SHOW_WITHOUT_ACTIVATING);
    top = hwnd;
  }
  HWND active = IndexOf(lock, lock.inUse) >= 0 && IsWindow(lock.inUse) ? lock.inUse : top;
  // A dialog that was up over it, still unanswered, comes first.
  if (active) BringWindowToFront(GetLastActivePopup(active));
  lock.hiddenCount = 0;
  lock.inUse = nullptr;
}

namespace {

WNDPROC g_coverDefaults;

// A click on the cover neither activates it nor reaches what it covers: the
// commit's keys go on into FileMaker.
LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
  return CallWindowProcA(g_coverDefaults, hwnd, message, wParam, lParam);
}

}  // namespace

void CoverHostWindows(WorkstationGuard& guard) {
  LockedWindows& lock = guard.lockedWindows;
  HoldPersonsKeys(false);
  if (lock.cover) return;
  RECT d = VirtualScreen();
  // The dialog class: what the lock's backdrop is, without a dialog's activation.
  lock.cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "#32770", "", WS_POPUP, d.left, d.top,
                               d.right - d.left, d.bottom - d.top, nullptr, nullptr, guard.instance, nullptr);
  if (!lock.cover) return;
  g_coverDefaults =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(lock.cover, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CoverProc)));
  ShowWindow(lock.cover, SW_SHOWNOACTIVATE);
}

void DropCover(LockedWindows& lock) {
  if (lock.cover) DestroyWindow(lock.cover);
  lock.cover = nullptr;
}
