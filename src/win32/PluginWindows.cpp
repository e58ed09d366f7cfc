#include "win32/HostWindows.h"
#include "win32/WorkstationGuard.h"

bool IsPluginWindow(const WorkstationGuard& guard, HWND hwnd) {
  const HWND own[] = {guard.timerDialog, guard.lockWarning.window, guard.lockedWindows.backdrop,
                      guard.lockedWindows.login};
  return IsOrIsOwnedBy(hwnd, own, 4);
}
