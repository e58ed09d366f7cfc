#include "portable/engine/WindowsKeyboard.h"

namespace {

// WM_WTSSESSION_CHANGE's wParam.
const uint32_t CONSOLE_CONNECT = 0x1, CONSOLE_DISCONNECT = 0x2, REMOTE_CONNECT = 0x3, REMOTE_DISCONNECT = 0x4,
               SESSION_LOCK = 0x7, SESSION_UNLOCK = 0x8;

}  // namespace

bool WindowsHoldsKeyboard(const WindowsSession& session) { return session.locked || session.disconnected; }

SessionChange SessionChangeOf(uint32_t code) {
  switch (code) {
    case SESSION_LOCK:
      return SessionChange::Lock;
    case SESSION_UNLOCK:
      return SessionChange::Unlock;
    case CONSOLE_DISCONNECT:
    case REMOTE_DISCONNECT:
      return SessionChange::Disconnect;
    case CONSOLE_CONNECT:
    case REMOTE_CONNECT:
      return SessionChange::Connect;
    default:
      return SessionChange::Other;
  }
}

SessionTurn TakeSessionChange(GuardState& state, SessionChange change) {
  WindowsSession& session = state.windows;
  bool heldBefore = WindowsHoldsKeyboard(session);
  if (change == SessionChange::Lock) session.locked = true;
  if (change == SessionChange::Unlock) session.locked = false;
  if (change == SessionChange::Disconnect) session.disconnected = true;
  if (change == SessionChange::Connect) session.disconnected = false;
  bool held = WindowsHoldsKeyboard(session);
  if (heldBefore && !held) return SessionTurn::KeyboardBack;
  if (heldBefore || !held) return SessionTurn::Nothing;
  // Typed into since the last commit, with the record limit armed: the
  // record may be open, and colleagues would wait for it all the while.
  bool recordMayBeOpen = !state.recordCommitted && !state.lockIsUp && state.settings.recordLimitSeconds >= 1;
  if (!recordMayBeOpen || !ScriptHearsEvents(state.eventScript)) return SessionTurn::Nothing;
  state.recordCommitted = true;  // the script commits it; nothing repeats
  return SessionTurn::AskScriptToCommit;
}

CommitWay WayToCommit(const GuardState& state) {
  if (!WindowsHoldsKeyboard(state.windows)) return CommitWay::Type;
  return ScriptHearsEvents(state.eventScript) ? CommitWay::AskScript : CommitWay::WaitForKeyboard;
}

bool WaitingLockMayOpen(const GuardState& state, uint32_t now) {
  const WaitingLock& lock = state.waitingLock;
  if (!lock.due) return false;
  if (lock.forKeyboard) return !WindowsHoldsKeyboard(state.windows);
  return !state.eventScript.askedCommitWaiting || now - lock.dueAt >= SCRIPT_TURN_MOST_MS;
}
