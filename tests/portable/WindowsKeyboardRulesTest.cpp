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
  state.waitingLock = {true, true, LockCause::IdleLimit, 1000};
  Change(SESSION_LOCK);
  EXPECT_FALSE(WaitingLockMayOpen(state, 999999));
  Change(SESSION_UNLOCK);
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000));

  SetEventScript(state.eventScript, "Contacts", "Audit");
  QueueScriptEvent(state.eventScript, CommitEvent(ScriptEventKind::CommitBeforeLock, false));
  state.waitingLock = {true, false, LockCause::IdleLimit, 0xFFFFFFFFu - 1000};
  EXPECT_FALSE(WaitingLockMayOpen(state, 1000)) << "handed over to nobody yet";
  ScriptEvent event;
  ASSERT_TRUE(TakeScriptEvent(state.eventScript, event));
  NoteIdleAfterHandOver(state.eventScript, true);
  EXPECT_FALSE(WaitingLockMayOpen(state, 1000)) << "a script still running";
  EXPECT_TRUE(WaitingLockMayOpen(state, 0xFFFFFFFFu - 1000 + SCRIPT_TURN_MOST_MS)) << "not for ever";
  NoteIdleAfterHandOver(state.eventScript, false);
  EXPECT_TRUE(WaitingLockMayOpen(state, 1000)) << "the script has had its turn";
}

}  // namespace
