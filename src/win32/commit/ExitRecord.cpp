#include "win32/commit/ExitRecord.h"

#include <cstring>

#include "portable/engine/WindowsKeyboard.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"
#include "win32/system/HostWindows.h"
#include "win32/system/PluginWindows.h"
#include "win32/watch/Timers.h"

namespace {

const char LIST_CLASS_PREFIX[] = "FM3List";
const UINT SHOW_ON_TOP = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

// Ctrl+Enter commits only in the host main window itself: in a dialog of the
// host it presses the default button, in another program it does who knows
// what. A disabled main window means one of the host's modal dialogs is up.
bool CanTakeKeys(HWND host) {
  return BelongsToThisProcess(host) && IsWindowEnabled(host) && GetForegroundWindow() == host;
}

// The list view of FileMaker Pro, three first children deep, or null.
HWND ListView(HWND host) {
  HWND third = GetWindow(GetWindow(GetWindow(host, GW_CHILD), GW_CHILD), GW_CHILD);
  char name[256];
  if (!third || GetClassNameA(third, name, sizeof name) <= 0) return nullptr;
  return std::strncmp(name, LIST_CLASS_PREFIX, std::strlen(LIST_CLASS_PREFIX)) == 0 ? third : nullptr;
}

// The keys, as many times as asked; refused when Windows turned any down.
ExitRecordOutcome TypeKeys(int times) {
  uint32_t refusedBefore = CurrentKeySequenceState().eventsRefused;
  for (int i = 0; i < times; ++i) SendKeys(EXIT_RECORD_KEYS, 0);
  bool refused = CurrentKeySequenceState().eventsRefused != refusedBefore;
  return refused ? ExitRecordOutcome::KeysRefused : ExitRecordOutcome::Typed;
}

// List views: Escape to the list first, then the keys twice; no restore.
ExitRecordOutcome ListPath(WorkstationGuard& guard, HWND host, HWND list) {
  if (host != GetForegroundWindow()) return ExitRecordOutcome::NotTyped;
  if (GetCursor() == guard.exitRecord.cursorAtInit) return ExitRecordOutcome::NotTyped;
  if (!IsWindowEnabled(host)) return ExitRecordOutcome::NotTyped;
  SetActiveWindow(host);
  SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  BringWindowToFront(host);
  if (!CanTakeKeys(host)) return ExitRecordOutcome::NotTyped;
  return TypeKeys(2);
}

// Everything else: the keys once, then the restore tick gives the foreground back.
ExitRecordOutcome StandardPath(WorkstationGuard& guard, HWND host) {
  guard.exitRecord.giveBackTo = GetForegroundWindow();
  if (!IsWindowEnabled(host)) return ExitRecordOutcome::NotTyped;
  BringWindowToFront(host);
  SetActiveWindow(host);
  if (!CanTakeKeys(host)) return ExitRecordOutcome::NotTyped;
  ExitRecordOutcome typed = TypeKeys(1);
  StartRestoreTimer(guard.timerDialog);
  return typed;
}

}  // namespace

ExitRecordOutcome RunExitRecordAction(WorkstationGuard& guard, HWND host) {
  if (guard.state.lockIsUp || IsPluginWindow(guard, host)) return ExitRecordOutcome::NotTyped;
  if (WindowsHoldsKeyboard(guard.state.windows)) return ExitRecordOutcome::NotTyped;
  ExitRecordNote& note = guard.exitRecord;
  note.giveBackTo = GetActiveWindow();
  note.restoredHost = nullptr;
  if (IsIconic(host)) {
    note.restoredHost = host;
    ShowWindow(host, SW_RESTORE);
    SetWindowPos(host, HWND_TOP, 0, 0, 0, 0, SHOW_ON_TOP);
  }
  HWND menu = FindOpenMenuWindow();
  // lParam 1, a repeat count of one, for the menu; the list view below gets 0:
  // each as FileMaker Pro has always received it.
  if (menu) SendMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  HWND list = ListView(host);
  ExitRecordOutcome typed = list ? ListPath(guard, host, list) : StandardPath(guard, host);
  if (typed == ExitRecordOutcome::Typed) {
    guard.state.recordCommitted = true;
  } else if (note.restoredHost) {
    // Nothing typed: put the window back as it was; the action is tried again.
    ShowWindow(host, SW_MINIMIZE);
    note.restoredHost = nullptr;
  }
  return typed;
}
