#include "win32/system/PluginWindows.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "win32/system/HostWindows.h"

namespace {

// As Windows 98 and NT 4.0 SP6 lay it out; Windows 95 lacks the function.
struct ComboBoxParts {
  DWORD size;
  RECT item, button;
  DWORD buttonState;
  HWND combo, field, list;
};
typedef BOOL(WINAPI* GetComboBoxInfoFunction)(HWND, ComboBoxParts*);

// The open list of a combo box is a top-level window of the desktop's that
// nothing owns: only the box can tell it.
HWND DropDownListOf(HWND combo) {
  if (!combo) return nullptr;
  GetComboBoxInfoFunction getInfo = reinterpret_cast<GetComboBoxInfoFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetComboBoxInfo")));
  ComboBoxParts parts = {};
  parts.size = sizeof parts;
  return getInfo && getInfo(combo, &parts) ? parts.list : nullptr;
}

}  // namespace

bool IsPluginWindow(const WorkstationGuard& guard, HWND hwnd) {
  const LockedWindows& lock = guard.lockedWindows;
  const HWND own[] = {guard.timerDialog, guard.lockWarning.window, lock.backdrop, lock.login, lock.cover};
  if (!hwnd) return false;
  if (IsOrIsOwnedBy(hwnd, own, static_cast<int>(std::size(own)))) return true;
  return lock.login && hwnd == DropDownListOf(GetDlgItem(lock.login, IDC_LOGIN_NAME));
}
