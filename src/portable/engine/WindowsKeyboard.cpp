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

SessionReport ReadSessionReport(uint32_t sessionState, uint32_t sessionFlags, bool lockFlagReversed) {
  // WTS_CONNECTSTATE_CLASS and WTS_SESSIONSTATE_*.
  const uint32_t ACTIVE = 0, DISCONNECTED = 4, LAST_STATE = 9, LOCK = 0, UNLOCK = 1;
  SessionReport report = {};
  report.stateKnown = sessionState <= LAST_STATE;
  report.disconnected = sessionState == DISCONNECTED;
  report.active = sessionState == ACTIVE;
  report.lockKnown = sessionFlags == LOCK || sessionFlags == UNLOCK;
  report.locked = report.lockKnown && (sessionFlags == LOCK) != lockFlagReversed;
  return report;
}

namespace {

// The turn after the keyboard's state changed from heldBefore.
SessionTurn TurnAfter(GuardState& state, bool heldBefore) {
  WindowsSession& session = state.windows;
  bool held = WindowsHoldsKeyboard(session);
  if (!held) session.fileMakerLocked = false;
  if (heldBefore && !held) return SessionTurn::KeyboardBack;
  if (held && state.settings.lockWithWindows && !session.fileMakerLocked) {
    // One login for both: a lock up or waiting for its commit already stands.
    session.fileMakerLocked = true;
    return state.lockIsUp || state.waitingLock.due ? SessionTurn::Nothing : SessionTurn::LockFileMaker;
  }
  if (heldBefore || !held) return SessionTurn::Nothing;
  // Typed into since the last commit, with the record limit armed: the
  // record may be open, and colleagues would wait for it all the while.
  bool recordMayBeOpen = !state.recordCommitted && !state.lockIsUp && state.settings.recordLimitSeconds >= 1;
  if (!recordMayBeOpen || !ScriptHearsEvents(state.eventScript)) return SessionTurn::Nothing;
  state.recordCommitted = true;  // the script commits it; nothing repeats
  return SessionTurn::AskScriptToCommit;
}

}  // namespace

SessionTurn TakeSessionChange(GuardState& state, SessionChange change, const SessionReport& asked) {
  WindowsSession& session = state.windows;
  bool heldBefore = WindowsHoldsKeyboard(session);
  if (change == SessionChange::Lock && !(asked.lockKnown && !asked.locked)) session.locked = true;
  if (change == SessionChange::Unlock) session.locked = false;
  if (change == SessionChange::Disconnect && !(asked.stateKnown && !asked.disconnected)) session.disconnected = true;
  if (change == SessionChange::Connect) session.disconnected = false;
  bool keyboardNotice = change == SessionChange::Unlock || change == SessionChange::Connect;
  bool releases = keyboardNotice && state.waitingLock.due && state.waitingLock.forKeyboard;
  if (releases) state.waitingLock.released = true;
  SessionTurn turn = TurnAfter(state, heldBefore);
  return releases ? SessionTurn::KeyboardBack : turn;
}

SessionTurn TakeSessionReport(GuardState& state, const SessionReport& asked) {
  bool heldBefore = WindowsHoldsKeyboard(state.windows);
  state.windows.locked = asked.lockKnown && asked.locked;
  state.windows.disconnected = asked.stateKnown && asked.disconnected;
  return TurnAfter(state, heldBefore);
}

SessionTurn TakeSessionCheck(GuardState& state, const SessionReport& asked) {
  bool heldBefore = WindowsHoldsKeyboard(state.windows);
  if (asked.lockKnown && !asked.locked && asked.stateKnown && asked.active)
    state.windows.locked = state.windows.disconnected = false;
  return TurnAfter(state, heldBefore);
}

CommitWay WayToCommit(const GuardState& state) {
  if (!WindowsHoldsKeyboard(state.windows)) return CommitWay::Type;
  return ScriptHearsEvents(state.eventScript) ? CommitWay::AskScript : CommitWay::WaitForKeyboard;
}

void TakeScriptStartAnswer(GuardState& state, const ScriptEvent& event, int32_t answer) {
  state.eventScript.lastStartError = answer;
  if (answer == 0 || event.kind == ScriptEventKind::Unlock || event.typed) return;
  state.windows.commitWaiting = true;
  if (state.waitingLock.due && WindowsHoldsKeyboard(state.windows)) state.waitingLock.forKeyboard = true;
}

bool WaitingLockMayOpen(const GuardState& state, uint32_t now) {
  const WaitingLock& lock = state.waitingLock;
  if (!lock.due || CommitUnderWay(state.commit, now)) return false;
  if (lock.forKeyboard) return lock.released || !WindowsHoldsKeyboard(state.windows);
  return !state.eventScript.askedCommitWaiting || lock.noScriptRuns || now - lock.dueAt >= SCRIPT_TURN_MOST_MS;
}
