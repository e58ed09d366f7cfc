#include "win32/input/HostKeys.h"

#include "win32/system/HostWindows.h"
#include "win32/system/PluginWindows.h"

namespace {

// The times of the last presses, by their number: far more than come between
// two looks.
const uint32_t KEPT_PRESSES = 64;
uint32_t g_typedAt[KEPT_PRESSES];
uint32_t g_presses;
const WorkstationGuard* g_guard;

HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

// Shift, Ctrl, Alt and the Windows keys alone type nothing: pressed on the
// way out of FileMaker (Alt+Tab, Win+L) they open no record.
bool TypesNothing(WPARAM vk) {
  switch (vk) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_CAPITAL:
      return true;
    default:
      return false;
  }
}

}  // namespace

void NoteHostKey(const MSG& message) {
  // A system key (with Alt) is a menu's or Windows', never the record's.
  if (message.message != WM_KEYDOWN || TypesNothing(message.wParam) || !g_guard) return;
  // FileMaker's windows, whatever their class (card windows, its dialogs):
  // this process's, and not the plug-in's own.
  HWND top = TopLevelOf(message.hwnd);
  if (!BelongsToThisProcess(top) || IsPluginWindow(*g_guard, top)) return;
  g_typedAt[g_presses % KEPT_PRESSES] = message.time;
  ++g_presses;
}

void CountHostKeysFor(const WorkstationGuard* guard) { g_guard = guard; }

uint32_t HostKeyPressesSoFar() { return g_presses; }

uint32_t HostKeyTypedAt(uint32_t press) {
  if (g_presses == 0) return 0;
  uint32_t oldestKept = g_presses > KEPT_PRESSES ? g_presses - KEPT_PRESSES + 1 : 1;
  if (press < oldestKept) press = oldestKept;
  if (press > g_presses) press = g_presses;
  return g_typedAt[(press - 1) % KEPT_PRESSES];
}
