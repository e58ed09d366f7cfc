// The commit in steps: what FileMaker's answers decide, how long each step
// waits, and which commits the script hears of, with whether they took.
#include <gtest/gtest.h>

#include "portable/engine/CommitSteps.h"
#include "portable/engine/WindowsKeyboard.h"

namespace {

TEST(CommitSteps, WhatTheAnswersDecide) {
  const struct {
    RecordAnswer answer;
    bool nothingToType;
    CommitTook took;  // when it is the answer after the keys
  } rows[] = {
      {{false, 2, 0}, false, CommitTook::Unknown},  // no answer, or an error: typed as ever
      {{true, 0, 0}, true, CommitTook::Yes},        // no record open
      {{true, 1, 0}, false, CommitTook::No},        // a new record in Browse mode
      {{true, 2, 0}, false, CommitTook::No},        // a modified one
      {{true, 2, 1}, true, CommitTook::No},         // Find mode: Ctrl+Enter would perform the find
      {{true, 0, 4}, true, CommitTook::Yes},        // Layout mode
  };
  for (const auto& row : rows) {
    EXPECT_EQ(NothingToType(row.answer), row.nothingToType) << row.answer.openState << " " << row.answer.windowMode;
    EXPECT_EQ(TookFrom(row.answer), row.took) << row.answer.openState;
  }
}

TEST(CommitSteps, EachQuestionWaitsASecondAndTheWholeCommitNeverHoldsALockForGood) {
  GuardState state = {};
  state.commit.askable = true;
  uint32_t start = 0xFFFFFFFFu - 500;  // across the clock's wrap
  EXPECT_FALSE(BeginCommitSteps(state.commit, AT_RECORD_LIMIT, 1, start, false)) << "not inside a modal dialog";
  ASSERT_TRUE(BeginCommitSteps(state.commit, AT_RECORD_LIMIT, 1, start, true));
  EXPECT_TRUE(state.commit.askDue);
  EXPECT_FALSE(AnswerOrWaitOver(state.commit, start + ANSWER_WAIT_MS - 1));
  EXPECT_TRUE(AnswerOrWaitOver(state.commit, start + ANSWER_WAIT_MS));
  state.commit.askDue = false;  // the idle call answered
  EXPECT_TRUE(AnswerOrWaitOver(state.commit, start + 1));

  state.waitingLock = {true, false, LockCause::IdleLimit, start, false, start, false};
  EXPECT_FALSE(WaitingLockMayOpen(state, start + 10)) << "the lock follows the commit";
  EXPECT_TRUE(WaitingLockMayOpen(state, start + COMMIT_STEPS_MOST_MS)) << "but never waits for good";
  ScriptEvent event;
  EndCommitSteps(state.commit, CommitTook::Unknown, event);
  EXPECT_TRUE(WaitingLockMayOpen(state, start + 10));
  state.commit.askable = false;
  EXPECT_FALSE(BeginCommitSteps(state.commit, AT_RECORD_LIMIT, 1, start, true)) << "typed at once";
}

TEST(CommitSteps, TheScriptHearsOfTypedCommitsAndOfALockWhoseCommitDidNotTake) {
  const struct {
    CommitReason reason;
    bool typed;
    CommitTook took;
    bool heard;
  } rows[] = {
      {AT_RECORD_LIMIT, true, CommitTook::Yes, true},
      {AT_RECORD_LIMIT, true, CommitTook::Unknown, true},
      {ON_LEAVING, true, CommitTook::No, true},
      {AT_RECORD_LIMIT, false, CommitTook::Unknown, false},  // nothing to type: nothing to hear
      {BeforeLock(LockCause::LockNow, true), true, CommitTook::Yes, false},
      {BeforeLock(LockCause::LockNow, true), true, CommitTook::No, true},
  };
  for (const auto& row : rows) {
    CommitSteps steps = {};
    steps.askable = true;  // a question under way, which the end closes
    ASSERT_TRUE(BeginCommitSteps(steps, row.reason, 1, 0, true));
    steps.typed = row.typed;
    ScriptEvent event = {};
    EXPECT_EQ(EndCommitSteps(steps, row.took, event), row.heard) << static_cast<int>(row.reason.kind);
    EXPECT_EQ(steps.stage, CommitStage::None);
    EXPECT_EQ(steps.lastTook, row.took) << "what the status line shows";
    if (!row.heard) continue;
    EXPECT_EQ(event.kind, row.reason.kind);
    EXPECT_EQ(event.cause, row.reason.cause);
    EXPECT_TRUE(event.typed);
    EXPECT_EQ(event.took, row.took);
  }
}

}  // namespace
