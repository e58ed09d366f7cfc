// The idle engine (see IdleEngineTest.cpp): the restore tick, lock now and
// the warning before the lock.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "IdleEngineFixture.h"

namespace {

// ---- the restore tick ----

TEST_F(IdleEngine, RestoreTickCommitsAndGivesTheHostBackUnlessLocked) {
  EXPECT_EQ(RestoreTick(state, false, false), RestoreAction::ActivateNotedWindow);
  EXPECT_TRUE(state.recordCommitted);
  state.recordCommitted = false;
  EXPECT_EQ(RestoreTick(state, true, true), RestoreAction::MinimiseRestoredHost);
  EXPECT_FALSE(state.recordCommitted) << "the person typed after the commit's keys";
  state.lockIsUp = true;
  EXPECT_EQ(RestoreTick(state, false, false), RestoreAction::None) << "the host stays hidden behind the lock";
}

TEST_F(IdleEngine, InitTurnsEverythingOffButKeepsThePassword) {
  std::strcpy(state.settings.password, "pw");
  state.settings.recordLimitSeconds = state.settings.fileMakerLimitSeconds = 5;
  state.settings.commitOnLeaving = state.settings.countInBackground = true;
  state.recordIdle.ticks = state.fileMakerIdle.ticks = 3;
  state.recordCommitted = true;
  state.lockIsUp = true;
  ResetForInit(state);
  EXPECT_EQ(state.settings.recordLimitSeconds, 0);
  EXPECT_EQ(state.settings.fileMakerLimitSeconds, 0);
  EXPECT_FALSE(state.settings.commitOnLeaving || state.settings.countInBackground);
  EXPECT_EQ(state.recordIdle.ticks + state.fileMakerIdle.ticks, 0);
  EXPECT_FALSE(state.recordCommitted);
  EXPECT_TRUE(state.lockIsUp) << "a lock that is up ends only with its password";
  EXPECT_STREQ(state.settings.password, "pw");
}

// ---- lock now and the warning before the lock ----

TEST_F(IdleEngine, LockNowCommitsFirstAndNeedsNoLimit) {
  state.fileMakerIdle.ticks = 6;
  TickActions act = LockNowTurn(state);
  EXPECT_TRUE(act.openLock);
  EXPECT_EQ(act.exitRecordAttempts, 1);
  EXPECT_TRUE(state.recordCommitted);
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  act = LockNowTurn(state);
  EXPECT_EQ(act.exitRecordAttempts, 1) << "no limit: no count saw whether the record was opened since";
  state.settings.fileMakerLimitSeconds = 60;
  act = LockNowTurn(state);
  EXPECT_EQ(act.exitRecordAttempts, 0) << "already committed, and the count would have seen typing";
  state.lockIsUp = true;
  act = LockNowTurn(state);
  EXPECT_FALSE(act.openLock) << "one lock at a time";
  EXPECT_EQ(act.exitRecordAttempts, 0);
}

struct WarningCase {
  int32_t limit, warning;
  std::vector<int32_t> shown;  // the countdown after each idle tick, 0 for no notice
};

class LockWarningCountdown : public IdleEngine, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(LockWarningCountdown, CountsDownWholeSecondsToTheLock) {
  const WarningCase& c = GetParam();
  state.settings.fileMakerLimitSeconds = c.limit;
  state.settings.lockWarningSeconds = c.warning;
  state.recordCommitted = true;
  for (size_t i = 0; i < c.shown.size(); ++i) {
    TickActions act = FileMaker();
    EXPECT_EQ(act.lockWarningSeconds, c.shown[i]) << "after tick " << i + 1;
  }
  EXPECT_EQ(locks, 1) << "the lock comes on time, warning or not";
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, LockWarningCountdown,
    ::testing::Values(WarningCase{3, 1, {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0}},
                      WarningCase{2, 1, {0, 0, 0, 1, 1, 1, 1, 0}}, WarningCase{2, 2, {2, 2, 2, 1, 1, 1, 1, 0}},
                      WarningCase{2, 30, {2, 2, 2, 1, 1, 1, 1, 0}},  // at or above the limit: from the start
                      WarningCase{2, 0, {0, 0, 0, 0, 0, 0, 0, 0}}));

TEST_F(IdleEngine, ActivityClosesTheWarningAndItComesBackWhenIdleAgain) {
  state.settings.fileMakerLimitSeconds = 2;
  state.settings.lockWarningSeconds = 1;
  for (int i = 0; i < 5; ++i) FileMaker();
  world.Move();
  EXPECT_EQ(FileMaker().lockWarningSeconds, 0) << "a mouse move closes it at once";
  world.Type();
  EXPECT_EQ(FileMaker().lockWarningSeconds, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(FileMaker().lockWarningSeconds, 0);
  EXPECT_EQ(FileMaker().lockWarningSeconds, 1) << "idle again: back a second before the lock";
  world.LeaveForAnotherApplication();
  EXPECT_EQ(FileMaker().lockWarningSeconds, 0) << "held by the background switch: no warning";
  EXPECT_EQ(locks, 0);
}

TEST_F(IdleEngine, KeyScanResetsTheCountThatTheWarningFollows) {
  uint8_t keys[256] = {};
  EXPECT_FALSE(KeyScanTick(state, keys, fileMakerClock));
  keys[' '] = 0x80;
  EXPECT_TRUE(KeyScanTick(state, keys, fileMakerClock));
}

}  // namespace
