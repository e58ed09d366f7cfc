// Ticks only where the plan puts them, with Windows dating the input between:
// each commit and lock a limit after the person's last input, and no tick
// more than the deadlines need.
#include <gtest/gtest.h>

#include "IdleEngineFixture.h"
#include "portable/engine/TickPlan.h"

namespace {

class PlannedTicks : public IdleEngine {
 protected:
  void SetUp() override {
    IdleEngine::SetUp();
    world.windowsDates = true;
    world.lastInput = 1000;
    state.fileMakerIdle.snapshot.lastInput = state.recordIdle.snapshot.lastInput = 1000;
  }
  // Runs both counts on the ticks they plan until `until`; at each time in
  // `inputs` the person moves the mouse back and forth (or types, if `typing`).
  void Run(uint32_t until, std::vector<uint32_t> inputs, bool typing = false) {
    uint32_t nextRecord = recordClock + MsToRecordTick(state, recordClock, false),
             nextFileMaker = fileMakerClock + MsToFileMakerTick(state, fileMakerClock);
    for (size_t i = 0; recordClock < until && !locks;) {
      uint32_t next = std::min(nextRecord, nextFileMaker);
      if (i < inputs.size() && inputs[i] < next) {
        if (typing)
          world.Type();
        else
          world.cursor.x += i % 2 ? 1 : -1;
        world.lastInput = inputs[i++];
      } else if (next == nextRecord) {
        int before = attempts;
        Record(next - recordClock);
        if (attempts > before) commitAt = recordClock;
        nextRecord = recordClock + MsToRecordTick(state, recordClock, false);
        ++ticks;
      } else {
        if (FileMaker(next - fileMakerClock).openLock) lockAt = fileMakerClock;
        nextFileMaker = fileMakerClock + MsToFileMakerTick(state, fileMakerClock);
        ++ticks;
      }
    }
  }
  uint32_t commitAt = 0, lockAt = 0;
  int ticks = 0;
};

TEST_F(PlannedTicks, TheCommitAndTheLockComeALimitAfterTheLastInputWhateverItWas) {
  for (bool typing : {false, true}) {
    SetUp();
    state.settings.recordLimitSeconds = 2;
    state.settings.fileMakerLimitSeconds = 5;
    // The last move puts the cursor back where the counts last saw it.
    Run(20000, {1300, 2700, 3900, 4100}, typing);
    EXPECT_NEAR(commitAt, 4100 + 2000, TICK_MS / 2) << typing;
    EXPECT_NEAR(lockAt, 4100 + 5000, TICK_MS / 2) << typing;
    EXPECT_EQ(attempts, 1) << typing;
    EXPECT_LE(ticks, 9) << "a tick at each deadline, not four a second";
  }
}

TEST_F(PlannedTicks, TheWarningLooksFourTimesASecondWhileItShows) {
  state.settings.fileMakerLimitSeconds = 10;
  state.settings.lockWarningSeconds = 3;
  std::vector<uint32_t> shownAt;
  for (uint32_t at = 1000; !locks && at < 20000;) {
    at += MsToFileMakerTick(state, at);
    if (FileMaker(at - fileMakerClock).lockWarningSeconds) shownAt.push_back(at);
  }
  EXPECT_EQ(shownAt.size(), 12u) << "8 s to 10.75 s: input anywhere closes it within a look";
  EXPECT_EQ(shownAt.front(), 8000u) << "its start, 3 s before the lock";
  EXPECT_EQ(locks, 1);
  EXPECT_EQ(fileMakerClock, 11000u);
}

TEST(TickPlan, NothingToCountSleepsAndPendingStepsComeSoon) {
  GuardState state = {};
  EXPECT_EQ(MsToFileMakerTick(state, 0), NO_TICK_DUE) << "no limit";
  EXPECT_EQ(MsToRecordTick(state, 0, false), NO_TICK_DUE) << "no limit, no switch";
  state.settings.commitOnLeaving = true;
  EXPECT_EQ(MsToRecordTick(state, 0, false), QUIET_TICK_MS) << "the timer stays for the switch";
  EXPECT_EQ(MsToRecordTick(state, 0, true), PENDING_TICK_MS) << "a commit on leaving to retry";
  state.settings.fileMakerLimitSeconds = 100000;
  EXPECT_EQ(MsToFileMakerTick(state, 0), QUIET_TICK_MS) << "a long limit, looked at now and then";
  state.lockIsUp = true;
  EXPECT_EQ(MsToFileMakerTick(state, 0), QUIET_TICK_MS) << "the unlock plans again";
}

}  // namespace
