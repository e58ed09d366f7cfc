#include "win32/lock/LockSequence.h"

#include "portable/engine/WindowsKeyboard.h"
#include "win32/commit/RecordCommit.h"
#include "win32/input/HeldKeys.h"
#include "win32/input/HostThreadHooks.h"
#include "win32/lock/HiddenHostWindows.h"
#include "win32/lock/LockScreen.h"
#include "win32/lock/LockWarning.h"
#include "win32/lock/PasswordUnlock.h"
#include "win32/system/HostWindows.h"
#include "win32/system/MessagePump.h"
#include "win32/system/ModuleReference.h"
#include "win32/watch/SessionNotifications.h"
#include "win32/watch/TickObservation.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

// True when the lock is held.
bool OpenLock(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  CloseLockWarning(guard.lockWarning);
  // Nothing may bring the hidden host back while the lock is up, and no key
  // held back for another program may reach the login.
  StopTimer(dialog, RESTORE_TIMER);
  GiveBackHeldKeys(true);
  guard.exitRecord.givingBackKeys = guard.exitRecord.restorePending = false;
  LockSession& session = guard.lockSession;
  if (!session.held) session.cause = cause, session.lockedAt = GetTickCount();
  LockEnd end = RunLockScreen(ModuleOfWindow(dialog), guard);
  DropCover(guard.lockedWindows);  // a lock up already, or none that came up
  // Up already, or the plug-in shut down meanwhile: nothing more of this lock runs.
  if (end == LockEnd::AlreadyUp || session.ending) return false;
  // The WM_QUIT that ended the login goes on to the host's loop first; should
  // the host live on, the login comes back.
  if (end == LockEnd::Held) return true;
  // The password did the unlock's own bookkeeping when it was typed.
  if (end == LockEnd::GivenBack) StartCountsAfterLogin(guard);
  return false;
}

// Every key typed so far goes to the host, ours and the user's: none may land
// in the login once it has the focus.
bool OpenLockAfterTypedKeys(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  DeliverTypedKeys();
  return OpenLock(guard, dialog, cause);
}

// A lock whose commit is not made yet waits for it, on a timer of its own.
void WaitForCommitBeforeLock(WorkstationGuard& guard, HWND dialog, LockCause cause, bool forKeyboard) {
  uint32_t now = IdleClockNow();
  guard.state.waitingLock = {true, forKeyboard, cause, now, false, now, false};
  StartTimer(dialog, WAITING_LOCK_TIMER, WAITING_LOCK_LOOK_MS);
  // The lock is decided: nobody types into FileMaker meanwhile. One waiting
  // for Windows' keyboard is covered when Windows gives it back.
  if (!forKeyboard) CoverHostWindows(guard);
}

// While a lock waits for the keyboard, Windows is asked now and then: a
// notice that never came must not hold it.
const uint32_t ASK_WINDOWS_EVERY_MS = 2000;

}  // namespace

bool LockAfterExitRecord(WorkstationGuard& guard, HWND dialog, HWND host, TickActions act, LockCause cause) {
  if (guard.state.waitingLock.due) return false;  // that lock comes first
  // A key still waiting for the host (typed just before it went busy) goes in
  // before the lock's commit, never after it. Not while a commit's own keys
  // are on their way: a question they raise would hold this tick in its loop.
  if (act.openLock && !CommitUnderWay(guard.state.commit, IdleClockNow())) {
    DeliverTypedKeys();
    TakeInKeysBeforeLock(guard.state, KeyPressesSoFar(), act);
  }
  CommitDone done = CommitRecord(guard, host, act.exitRecordAttempts, BeforeLock(cause, act.openLock));
  if (!act.openLock) return false;
  // The lock follows the commit's last step: its keys, FileMaker's answer, and
  // the script's turn where one can run.
  bool scriptTurn = guard.state.eventScript.askedCommitWaiting && !HostShowsDialog(host);
  if (done == CommitDone::Waiting || scriptTurn || CommitUnderWay(guard.state.commit, IdleClockNow())) {
    WaitForCommitBeforeLock(guard, dialog, cause, done == CommitDone::Waiting);
    return false;
  }
  return OpenLockAfterTypedKeys(guard, dialog, cause);
}

bool LockAtOnce(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  return LockAfterExitRecord(guard, dialog, FindHostWindowInUseOrFallback(), LockNowTurn(guard.state), cause);
}

bool WaitingLockTick(WorkstationGuard& guard, HWND dialog) {
  WaitingLock& waiting = guard.state.waitingLock;
  uint32_t now = IdleClockNow();
  if (waiting.due && waiting.forKeyboard && !waiting.released && WindowsHoldsKeyboard(guard.state.windows) &&
      now - waiting.windowsAskedAt >= ASK_WINDOWS_EVERY_MS) {
    waiting.windowsAskedAt = now;
    return TakeSessionTurn(guard, dialog, TakeSessionCheck(guard.state, AskWindowsForSession()));
  }
  waiting.noScriptRuns = HostShowsDialog(FindHostWindowInUseOrFallback());
  if (!WaitingLockMayOpen(guard.state, now)) return false;
  TypeWaitingCommit(guard);
  if (CommitUnderWay(guard.state.commit, now)) return false;  // its keys first, on the next turn
  // A commit still not typed waits no longer: the lock goes up, as when the
  // host could not take the keys before it.
  guard.state.windows.commitWaiting = false;
  StopTimer(dialog, WAITING_LOCK_TIMER);
  LockCause cause = waiting.cause;
  waiting = WaitingLock();
  return OpenLockAfterTypedKeys(guard, dialog, cause);
}

bool ReopenLockTick(WorkstationGuard& guard, HWND dialog) {
  StopTimer(dialog, REOPEN_LOCK_TIMER);
  return guard.lockSession.held && OpenLock(guard, dialog, guard.lockSession.cause);
}

bool TakeSessionTurn(WorkstationGuard& guard, HWND dialog, SessionTurn turn) {
  switch (turn) {
    case SessionTurn::AskScriptToCommit:
      TakeInTypingSoFar(guard);
      guard.state.recordCommitted = true;  // the script commits it, with that typing
      QueueScriptEvent(guard.state.eventScript, CommitEvent(ScriptEventKind::CommitWindowsLocked, false));
      break;
    case SessionTurn::KeyboardBack:
      // Before anything else: FileMaker covered, the waiting commit typed
      // under it, then the lock that waited for it.
      if (guard.state.waitingLock.due) CoverHostWindows(guard);
      TypeWaitingCommit(guard);
      if (guard.state.waitingLock.due) return WaitingLockTick(guard, dialog);
      break;
    case SessionTurn::LockFileMaker:
      return LockAtOnce(guard, dialog, LockCause::WindowsLocked);
    case SessionTurn::Nothing:
      break;
  }
  return false;
}
