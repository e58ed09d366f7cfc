#include "win32/lock/LockSequence.h"

#include <cstring>

#include "portable/engine/WindowsKeyboard.h"
#include "win32/commit/RecordCommit.h"
#include "win32/lock/LockScreen.h"
#include "win32/lock/LockWarning.h"
#include "win32/system/HostWindows.h"
#include "win32/system/MessagePump.h"
#include "win32/system/ModuleReference.h"
#include "win32/system/UserNameCase.h"
#include "win32/watch/HostThreadInput.h"
#include "win32/watch/SessionNotifications.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

// True when the lock is held.
bool OpenLock(WorkstationGuard& guard, HWND dialog, LockCause cause) {
  CloseLockWarning(guard.lockWarning);
  // Nothing may bring the hidden host back while the lock is up.
  StopTimer(dialog, RESTORE_TIMER);
  LockSession& session = guard.lockSession;
  if (!session.held) session.cause = cause, session.lockedAt = GetTickCount();
  LoginOutcome outcome;
  LockEnd end = RunLockScreen(ModuleOfWindow(dialog), guard, &outcome);
  // Up already, or the plug-in shut down meanwhile: nothing more of this lock runs.
  if (end == LockEnd::AlreadyUp || session.ending) return false;
  // The WM_QUIT that ended the login goes on to the host's loop first; should
  // the host live on, the login comes back.
  if (end == LockEnd::Held) return true;
  // What was typed at the login was no typing in the host: both counts start
  // afresh once its last keys (the release of Enter) are in, and the record
  // stays committed until the user types.
  DeliverTypedKeys();
  StartCountNow(guard, WatchedCount::Record);
  StartCountNow(guard, WatchedCount::FileMaker);
  if (end != LockEnd::Unlocked) return false;
  if (outcome.namesUser) NoteWhoUnlocked(guard.state.settings.unlockUsers, outcome.user, SameUserName);
  // The unlock stands for the whole lock, the commit before it included.
  ScriptEvent event = {ScriptEventKind::Unlock,
                       session.cause,
                       (GetTickCount() - session.lockedAt) / 1000,
                       static_cast<uint32_t>(session.wrongPasswords),
                       outcome.namesUser,
                       "",
                       false,
                       CommitTook::Unknown};
  std::memcpy(event.user, outcome.user, USER_NAME_SIZE);
  QueueScriptEvent(guard.state.eventScript, event);
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
  guard.state.waitingLock = {true, forKeyboard, cause, now, false, now};
  StartTimer(dialog, WAITING_LOCK_TIMER, IDLE_TICK_MS);
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
  // The lock follows the commit's last step: its keys, and FileMaker's answer.
  if (done == CommitDone::Waiting || guard.state.eventScript.askedCommitWaiting ||
      CommitUnderWay(guard.state.commit, IdleClockNow())) {
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
      QueueScriptEvent(guard.state.eventScript, CommitEvent(ScriptEventKind::CommitWindowsLocked, false));
      break;
    case SessionTurn::KeyboardBack:
      // Before anything else: the waiting commit, then the lock that waited for it.
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
