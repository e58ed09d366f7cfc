#include "win32/commit/ExitRecord.h"

#include <cstring>

#include "portable/engine/WindowsKeyboard.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"
#include "win32/input/HeldKeys.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/input/InputDates.h"
#include "win32/system/HostWindows.h"
#include "win32/system/PluginWindows.h"
#include "win32/watch/Timers.h"

namespace {

const char LIST_CLASS_PREFIX[] = "FM3List";
const UINT SHOW_ON_TOP = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
// The foreground is taken from another program only once the person has not
// typed (nor moved) for this long: a pause between their words.
const uint32_t TYPING_PAUSE_MS = 300;
const uint32_t PAUSE_WAIT_MOST_MS = 3000;

// The list view of FileMaker Pro, three first children deep, or null.
HWND ListView(HWND host) {
  HWND third = GetWindow(GetWindow(GetWindow(host, GW_CHILD), GW_CHILD), GW_CHILD);
  char name[256];
  if (!third || GetClassNameA(third, name, sizeof name) <= 0) return nullptr;
  return std::strncmp(name, LIST_CLASS_PREFIX, std::strlen(LIST_CLASS_PREFIX)) == 0 ? third : nullptr;
}

// The first key of `keys`; the commit's timer types the rest, one at a time.
ExitRecordOutcome TypeFirstKey(WorkstationGuard& guard, HWND host, int keys) {
  ExitRecordOutcome typed = TypeNextCommitKey();
  if (typed != ExitRecordOutcome::Typed) return typed;
  guard.exitRecord.personsPressesAtKeys = KeyPressesSoFar();
  guard.exitRecord.recordLeftOpen = false;
  CommitSteps& steps = guard.state.commit;
  steps.typed = true;
  steps.keysLeft = keys - 1;
  steps.startedAt = IdleClockNow();  // the keys have their own time, whatever the asking before took
  EnterStage(steps, CommitStage::Typing, steps.startedAt);
  guard.exitRecord.typingInto = host;
  StartTimer(guard.timerDialog, COMMIT_STEP_TIMER, COMMIT_STEP_MS);
  return typed;
}

// List views: Escape to the list first, then the keys; no restore.
ExitRecordOutcome ListPath(WorkstationGuard& guard, HWND host, HWND list) {
  if (host != GetForegroundWindow()) return ExitRecordOutcome::NotTyped;
  if (GetCursor() == guard.exitRecord.cursorAtInit) return ExitRecordOutcome::NotTyped;
  if (!IsWindowEnabled(host)) return ExitRecordOutcome::NotTyped;
  SetActiveWindow(host);
  SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  BringWindowToFront(host);
  if (!HostTakesNextKey(host)) return ExitRecordOutcome::NotTyped;
  guard.exitRecord.restoreAfterKeys = false;
  return TypeFirstKey(guard, host, LIST_COMMIT_KEYS);
}

// Not in the middle of the person's typing: a commit of FileMaker's own waits
// for a pause (tried again on a later tick), though not for ever, as a mouse
// that keeps moving makes no pause. A lock's commit never waits.
bool MayTakeForeground(WorkstationGuard& guard) {
  ExitRecordNote& note = guard.exitRecord;
  uint32_t now = IdleClockNow();
  if (guard.state.commit.reason.locking || PersonPausedFor(TYPING_PAUSE_MS)) {
    note.waitingForPause = false;
    return true;
  }
  if (!note.waitingForPause) {
    note.waitingForPause = true;
    note.pauseWaitedFrom = now;
  }
  if (now - note.pauseWaitedFrom < PAUSE_WAIT_MOST_MS) return false;
  note.waitingForPause = false;
  return true;
}

// Everything else: the keys, then the restore tick gives the foreground back.
// Taken from another program, the foreground is the plug-in's for the keys
// alone: the person's keys meanwhile are held back for that program.
ExitRecordOutcome StandardPath(WorkstationGuard& guard, HWND host) {
  HWND front = GetForegroundWindow();
  guard.exitRecord.giveBackTo = front;
  if (!IsWindowEnabled(host)) return ExitRecordOutcome::NotTyped;
  // Another program's, or none while Windows moves the foreground.
  if (!front || !BelongsToThisProcess(front)) {
    if (!MayTakeForeground(guard)) return ExitRecordOutcome::NotTyped;
    HoldPersonsKeys(true);
  }
  BringWindowToFront(host);
  SetActiveWindow(host);
  if (!HostTakesNextKey(host)) {
    GiveBackHeldKeys(true);
    return ExitRecordOutcome::NotTyped;
  }
  guard.exitRecord.restoreAfterKeys = true;
  ExitRecordOutcome typed = TypeFirstKey(guard, host, COMMIT_KEYS);
  if (typed != ExitRecordOutcome::Typed) StartGivingForegroundBack(guard, RESTORE_DELAY_MS);
  return typed;
}

}  // namespace

void StartGivingForegroundBack(WorkstationGuard& guard, UINT afterMs) {
  guard.exitRecord.restorePending = true;
  guard.exitRecord.givingBackKeys = false;
  StartRestoreTimer(guard.timerDialog, afterMs);
}

// Ctrl+Enter commits only in the host window itself: in a dialog of the host
// it presses the default button, in another program it does who knows what. A
// disabled main window means one of the host's modal dialogs is up; a popup
// of its own over it, or a window of another thread in front, the same.
bool HostTakesNextKey(HWND host) {
  HWND front = GetForegroundWindow();
  return BelongsToThisProcess(host) && IsWindowEnabled(host) && front == host && GetLastActivePopup(host) == host &&
         GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
}

// Refused when Windows turned the key down.
ExitRecordOutcome TypeNextCommitKey() {
  uint32_t refusedBefore = CurrentKeySequenceState().eventsRefused;
  SendKeys(EXIT_RECORD_KEY, 0);
  bool refused = CurrentKeySequenceState().eventsRefused != refusedBefore;
  return refused ? ExitRecordOutcome::KeysRefused : ExitRecordOutcome::Typed;
}

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
