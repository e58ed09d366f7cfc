// Whether Windows holds the keyboard, from its session notifications, and what
// each change asks of the guard.
#include <gtest/gtest.h>

#include <cstring>

#include "portable/engine/WindowsKeyboard.h"

namespace {

const uint32_t CONSOLE_CONNECT = 1, CONSOLE_DISCONNECT = 2, REMOTE_DISCONNECT = 4, SESSION_LOCK = 7, SESSION_UNLOCK = 8,
               SESSION_LOGON = 5;

class SessionRules : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&state, 0, sizeof state);
    state.settings.recordLimitSeconds = 60;
  }
  SessionTurn Change(uint32_t code) { return TakeSessionChange(state, SessionChangeOf(code)); }
  GuardState state;
};

TEST_F(SessionRules, EachHoldEndsOnlyWithItsOwnCounterpart) {
  EXPECT_EQ(Change(SESSION_LOGON), SessionTurn::Nothing);
  EXPECT_EQ(WayToCommit(state), CommitWay::Type);
  EXPECT_EQ(Change(SESSION_LOCK), SessionTurn::Nothing) << "no script to ask";
  EXPECT_EQ(WayToCommit(state), CommitWay::WaitForKeyboard);
  EXPECT_EQ(Change(CONSOLE_DISCONNECT), SessionTurn::Nothing);
  EXPECT_EQ(Change(CONSOLE_CONNECT), SessionTurn::Nothing) << "reconnected to the lock screen: still held";
  EXPECT_TRUE(WindowsHoldsKeyboard(state.windows));
  EXPECT_EQ(Change(SESSION_UNLOCK), SessionTurn::KeyboardBack);
  EXPECT_EQ(Change(SESSION_UNLOCK), SessionTurn::Nothing) << "given back once";
  EXPECT_EQ(Change(REMOTE_DISCONNECT), SessionTurn::Nothing);
  EXPECT_TRUE(WindowsHoldsKeyboard(state.windows));
}

TEST_F(SessionRules, TheScriptIsAskedOnlyForARecordThatMayBeOpenWithTheLimitArmed) {
  SetEventScript(state.eventScript, "Contacts", "Audit");
  EXPECT_EQ(WayToCommit(state), CommitWay::Type);
  EXPECT_EQ(Change(SESSION_LOCK), SessionTurn::AskScriptToCommit);
  EXPECT_TRUE(state.recordCommitted);
  EXPECT_EQ(WayToCommit(state), CommitWay::AskScript);
  EXPECT_EQ(Change(CONSOLE_DISCONNECT), SessionTurn::Nothing) << "held already: not asked twice";
  Change(CONSOLE_CONNECT);
  Change(SESSION_UNLOCK);

  EXPECT_EQ(Change(SESSION_LOCK), SessionTurn::Nothing) << "committed since: nothing open";
  Change(SESSION_UNLOCK);
  state.recordCommitted = false;
  state.settings.recordLimitSeconds = 0;
  EXPECT_EQ(Change(SESSION_LOCK), SessionTurn::Nothing) << "the record limit off";
}

TEST_F(SessionRules, AWaitingLockOpensWhenItsCommitCanBeMade) {
  state.waitingLock = {true, true, LockCause::IdleLimit, 1000, false, 1000, false};
  Change(SESSION_LOCK);
  EXPECT_FALSE(WaitingLockMayOpen(state, 999999));
  Change(SESSION_UNLOCK);
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000));

  SetEventScript(state.eventScript, "Contacts", "Audit");
  QueueScriptEvent(state.eventScript, CommitEvent(ScriptEventKind::CommitBeforeLock, false));
  state.waitingLock = {true, false, LockCause::IdleLimit, 0xFFFFFFFFu - 1000, false, 0, false};
  EXPECT_FALSE(WaitingLockMayOpen(state, 1000)) << "handed over to nobody yet";
  ScriptEvent event;
  ASSERT_TRUE(TakeScriptEvent(state.eventScript, event));
  NoteIdleAfterHandOver(state.eventScript, true);
  EXPECT_FALSE(WaitingLockMayOpen(state, 1000)) << "a script still running";
  state.waitingLock.noScriptRuns = true;
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000)) << "none runs behind FileMaker's dialog";
  state.waitingLock.noScriptRuns = false;
  EXPECT_TRUE(WaitingLockMayOpen(state, 0xFFFFFFFFu - 1000 + SCRIPT_TURN_MOST_MS)) << "not for ever";
  NoteIdleAfterHandOver(state.eventScript, false);
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000)) << "the script has had its turn";
}

// What Windows answers when asked: the notices it contradicts are ignored,
// and what they missed it tells.
TEST_F(SessionRules, WindowsAskedOverridesWhatTheNoticesMissedOrMadeUp) {
  const SessionReport unlocked = ReadSessionReport(0, 1, false), locked = ReadSessionReport(0, 0, false);
  const SessionReport cannotTell = {};
  EXPECT_TRUE(ReadSessionReport(0, 1, true).locked) << "Windows 7 reports the flag reversed";
  EXPECT_FALSE(ReadSessionReport(0, 0xFFFFFFFF, false).lockKnown);
  EXPECT_TRUE(ReadSessionReport(4, 1, false).disconnected);

  EXPECT_EQ(TakeSessionChange(state, SessionChange::Lock, unlocked), SessionTurn::Nothing);
  EXPECT_EQ(TakeSessionChange(state, SessionChange::Disconnect, unlocked), SessionTurn::Nothing);
  EXPECT_FALSE(WindowsHoldsKeyboard(state.windows)) << "a posted notice that Windows contradicts";
  TakeSessionChange(state, SessionChange::Lock, cannotTell);
  EXPECT_TRUE(WindowsHoldsKeyboard(state.windows)) << "where Windows cannot tell, the notice stands";
  EXPECT_EQ(TakeSessionCheck(state, cannotTell), SessionTurn::Nothing);
  EXPECT_EQ(TakeSessionCheck(state, locked), SessionTurn::Nothing);
  EXPECT_EQ(TakeSessionCheck(state, unlocked), SessionTurn::KeyboardBack) << "an unlock that never came";

  TakeSessionChange(state, SessionChange::Lock, locked);
  EXPECT_EQ(TakeSessionReport(state, cannotTell), SessionTurn::KeyboardBack) << "registered anew: counts as unlocked";
  EXPECT_EQ(TakeSessionReport(state, locked), SessionTurn::Nothing);
  EXPECT_TRUE(WindowsHoldsKeyboard(state.windows));

  state.waitingLock = {true, true, LockCause::IdleLimit, 1000, false, 1000, false};
  TakeSessionChange(state, SessionChange::Disconnect, cannotTell);
  EXPECT_EQ(TakeSessionChange(state, SessionChange::Connect), SessionTurn::KeyboardBack);
  EXPECT_TRUE(WindowsHoldsKeyboard(state.windows)) << "reconnected to the lock screen";
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000)) << "but the lock that waited goes up";
}

// Each hold locks FileMaker once; a notice Windows contradicts locks nothing;
// a hold from before the switch locks it on the notice of no change.
TEST_F(SessionRules, WithTheSwitchOnEachHoldLocksFileMakerOnce) {
  state.settings.lockWithWindows = true;
  EXPECT_EQ(TakeSessionChange(state, SessionChange::Lock, ReadSessionReport(0, 1, false)), SessionTurn::Nothing);
  EXPECT_EQ(Change(SESSION_LOCK), SessionTurn::LockFileMaker);
  EXPECT_EQ(Change(REMOTE_DISCONNECT), SessionTurn::Nothing) << "the same hold";
  EXPECT_EQ(Change(SESSION_UNLOCK), SessionTurn::Nothing) << "still disconnected";
  EXPECT_EQ(Change(CONSOLE_CONNECT), SessionTurn::KeyboardBack);
  state.settings.lockWithWindows = false;
  Change(SESSION_LOCK);
  state.settings.lockWithWindows = true;
  EXPECT_EQ(Change(0), SessionTurn::LockFileMaker) << "turned on while Windows holds the keyboard";
  EXPECT_EQ(Change(0), SessionTurn::Nothing);
}

TEST_F(SessionRules, ACommitAskedOfAStartFileMakerRefusedStaysDue) {
  SetEventScript(state.eventScript, "Contacts", "Audit");
  TakeSessionChange(state, SessionChange::Lock);
  state.waitingLock = {true, false, LockCause::IdleLimit, 1000, false, 1000, false};
  TakeScriptStartAnswer(state, CommitEvent(ScriptEventKind::CommitBeforeLock, true), 825);
  TakeScriptStartAnswer(
      state, ScriptEvent{ScriptEventKind::Unlock, LockCause::IdleLimit, 0, 0, false, "", false, CommitTook::Unknown},
      3);
  EXPECT_FALSE(state.windows.commitWaiting) << "typed already, or no commit at all";
  EXPECT_EQ(state.eventScript.lastStartError, 3);
  TakeScriptStartAnswer(state, CommitEvent(ScriptEventKind::CommitBeforeLock, false), 825);
  EXPECT_EQ(state.eventScript.lastStartError, 825);
  EXPECT_TRUE(state.windows.commitWaiting);
  EXPECT_FALSE(WaitingLockMayOpen(state, 999999)) << "the lock waits for the keyboard now";
  EXPECT_EQ(TakeSessionChange(state, SessionChange::Unlock), SessionTurn::KeyboardBack);
}

}  // namespace
