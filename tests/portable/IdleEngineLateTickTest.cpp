// The idle engine (see IdleEngineTest.cpp) in real time: ticks that come late
// or not at all, and what the watching thread saw meanwhile.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "IdleEngineFixture.h"

namespace {

// ---- real time: ticks that come late or not at all ----

// The clock where each case starts: far from its wrap, the wrap crossed while
// no tick comes, and the wrap crossed by the ticks themselves.
class RealTime : public IdleEngine, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override { Start(GetParam()); }
};

TEST_P(RealTime, TheLimitFallsDueAtItsMomentHoweverTheTicksFall) {
  state.settings.fileMakerLimitSeconds = 1;
  EXPECT_FALSE(FileMaker(240).openLock);
  EXPECT_FALSE(FileMaker(260).openLock);
  EXPECT_FALSE(FileMaker(240).openLock);
  EXPECT_EQ(attempts, 0) << "740 ms: the commit comes at 750";
  EXPECT_FALSE(FileMaker(10).openLock);
  EXPECT_EQ(attempts, 1) << "the commit a quarter second before the lock";
  EXPECT_FALSE(FileMaker(249).openLock) << "999 ms";
  EXPECT_TRUE(FileMaker(1).openLock) << "the lock at the limit itself";
}

TEST_P(RealTime, WakingPastTheFileMakerLimitCommitsAndLocksBeforeTakingInTheInput) {
  state.settings.fileMakerLimitSeconds = 3;
  FileMaker();
  Sleep(5000);
  world.Move();  // the input that woke the machine
  world.Type();
  TickActions act = FileMaker();
  EXPECT_TRUE(act.openLock) << "typing on waking does not stop a lock that was due";
  EXPECT_EQ(act.exitRecordAttempts, 1) << "the record committed first";
  EXPECT_EQ(state.fileMakerIdle.snapshot.cursor.x, world.cursor.x) << "then the input is taken in";
  state.recordCommitted = false;
  for (int i = 0; i < 11; ++i) EXPECT_FALSE(FileMaker().openLock) << "a full limit again, tick " << i + 1;
  EXPECT_TRUE(FileMaker().openLock);
}

TEST_P(RealTime, ALateTickWithTimeLeftChangesNothing) {
  state.settings.fileMakerLimitSeconds = 3;  // 12 ticks
  for (int i = 0; i < 4; ++i) FileMaker();
  Sleep(1500);  // 10 ticks' time gone: 2 left
  world.Type();
  EXPECT_FALSE(FileMaker().openLock) << "typing in time stops it";
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  for (int i = 0; i < 4; ++i) FileMaker();
  Sleep(1500);
  TickActions exit = FileMaker();
  EXPECT_FALSE(exit.openLock);
  EXPECT_EQ(exit.exitRecordAttempts, 1) << "idle: the commit a tick before the limit, as on time";
  world.Move();
  EXPECT_TRUE(FileMaker().openLock) << "then the lock, a mouse move or not";
}

TEST_P(RealTime, WakingPastTheRecordLimitCommitsAtOnce) {
  state.settings.recordLimitSeconds = 60;
  Record();
  Sleep(61000);
  world.Type();  // the user's first keys, into the host main window
  Record();
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(state.recordIdle.ticks, 0);
  Record();
  EXPECT_TRUE(state.recordCommitted) << "keys that came before the commit are taken in, not seen again";
  // Committed before the sleep: keys that reach the host as it wakes came
  // after that commit. Not committed at once (they may be the first of more),
  // but a limit after them.
  Sleep(61000);
  world.Type();
  TickActions late = RecordTick(state, world.Seen(recordClock += TICK_MS));
  EXPECT_EQ(late.exitRecordAttempts, 0) << "not at once";
  EXPECT_FALSE(state.recordCommitted) << "the keys opened the record again";
  for (int i = 0; i < TicksFor(60) && attempts == 1; ++i) Record();
  EXPECT_EQ(attempts, 2);
}

// The record committed, then a key that FileMaker took in as its thread
// woke, or that waited in its queue until just before the lock.
TEST_P(RealTime, AKeyTheHostTookInBeforeTheLockIsCommittedFirst) {
  state.settings.fileMakerLimitSeconds = 3;
  state.recordCommitted = true;
  FileMaker();
  world.TypeUnseenByKeyboardState();
  Sleep(8000);
  TickActions late = FileMaker();
  EXPECT_TRUE(late.openLock);
  EXPECT_EQ(late.exitRecordAttempts, 1) << "the key may have opened the record again";
  TickActions now = LockNowTurn(state);
  TakeInKeysBeforeLock(state, world.keyPresses, now);
  EXPECT_EQ(now.exitRecordAttempts, 0) << "no key since: nothing to commit";
  TakeInKeysBeforeLock(state, world.keyPresses + 1, now);
  EXPECT_EQ(now.exitRecordAttempts, 1) << "a key handed over just before the lock";
  EXPECT_TRUE(state.recordCommitted);
}

TEST_P(RealTime, AKeyHeldOnWakingDoesNotStopALockThatCameDue) {
  state.settings.fileMakerLimitSeconds = 3;
  world.OpenHostDialog();  // one of FileMaker's dialogs in front: the key scan runs
  EXPECT_EQ(FileMaker().keyScanTimer, TimerChange::Start);
  uint8_t held[KEYBOARD_STATE_SIZE] = {};
  held['A'] = 0x80;
  Sleep(2000);  // a second left
  EXPECT_TRUE(KeyScanTick(state, held, fileMakerClock)) << "in time, a held key holds the count";
  EXPECT_FALSE(FileMaker().openLock);
  Sleep(5000);
  EXPECT_FALSE(KeyScanTick(state, held, fileMakerClock)) << "the limit passed during the sleep";
  TickActions act = FileMaker();
  EXPECT_TRUE(act.openLock) << "the lock that came due";
  EXPECT_EQ(act.exitRecordAttempts, 1) << "with the commit before it";
  EXPECT_TRUE(KeyScanTick(state, held, fileMakerClock)) << "after the lock, keys count again";
}

TEST_P(RealTime, TheBackgroundStillHoldsTheCountAcrossAGap) {
  state.settings.fileMakerLimitSeconds = 1;
  world.LeaveForAnotherApplication();
  FileMaker();
  Sleep(5000);
  EXPECT_FALSE(FileMaker().openLock);
  world.hostActive = world.hostInFront = true;
  EXPECT_FALSE(FileMaker().openLock) << "counting from the tick that found the host in front";
}

INSTANTIATE_TEST_SUITE_P(Clock, RealTime, ::testing::Values(1000u, 0xFFFFFFFFu - 2000u, 0xFFFFFFFFu - 300u));

// ---- a late tick and what the watching thread saw meanwhile ----

// The host's thread busy while the plug-in's own thread samples every 250 ms,
// as the timer dialog and the watch do together.
class Watched : public RealTime {
 protected:
  void SetUp() override {
    RealTime::SetUp();
    StartQuietWatch(watch, fileMakerClock);
    marks[0] = recordClock, marks[1] = fileMakerClock;
    sampledAt = fileMakerClock;
  }
  // ms of busy host, the watch sampling all along; `moving`: whether each
  // sample sees the mouse moved.
  void Busy(uint32_t ms, bool moving) {
    sampledAt = fileMakerClock;
    for (uint32_t t = WATCH_SAMPLE_MS; t <= ms; t += WATCH_SAMPLE_MS) Sample(moving);
    Sleep(ms);
  }
  void Sample(bool activity) { NoteSample(watch, sampledAt += WATCH_SAMPLE_MS, activity, marks); }
  // A tick of that count, with what the watch saw since the count's tick before.
  TickActions WatchedTick(WatchedCount count) {
    bool record = count == WatchedCount::Record;
    const IdleCounter& idle = record ? state.recordIdle : state.fileMakerIdle;
    TickObservation seen = world.Seen((record ? recordClock : fileMakerClock) += TICK_MS);
    seen.watched = QuietSinceTick(watch, count, idle.countedUpTo, seen.now);
    TickActions act = record ? RecordTick(state, seen) : FileMakerTick(state, seen);
    marks[static_cast<int>(count)] = seen.now;
    Carry(act);
    return act;
  }
  TickActions WatchedFileMaker() { return WatchedTick(WatchedCount::FileMaker); }
  TickActions WatchedRecord() { return WatchedTick(WatchedCount::Record); }
  QuietWatch watch;
  uint32_t marks[WATCHED_COUNTS];
  uint32_t sampledAt;
};

TEST_P(Watched, SomeoneMovingTheMouseThroughALongImportIsNotLockedAndTheLimitsCountFromTheLastMove) {
  state.settings.recordLimitSeconds = 2;
  state.settings.fileMakerLimitSeconds = 3;
  WatchedRecord();
  WatchedFileMaker();
  Busy(8000, true);
  EXPECT_FALSE(WatchedRecord().exitRecordAttempts) << "the person was there all along";
  EXPECT_FALSE(WatchedFileMaker().openLock);
  EXPECT_LE(state.fileMakerIdle.ticks, 2) << "counted from the last move the watch saw, not from the tick before";
  // From here nobody: a full limit from the last move, ticks on time.
  int ticks = 0;
  while (!WatchedFileMaker().openLock && ticks < 20) ++ticks, WatchedRecord();
  EXPECT_GE(ticks, 9) << "the FileMaker limit, 3 s, from the last move";
  EXPECT_EQ(locks, 1);
  EXPECT_EQ(attempts, 1) << "the record limit committed once, before the lock";
}

// As ticks on time would: the wait for the first activity against what was
// left at the tick before, every later stretch against the whole limit.
TEST_P(Watched, NobodyThereLocksFirstAndEachQuietStretchIsHeldToItsOwnPartOfTheLimit) {
  state.settings.fileMakerLimitSeconds = 3;
  WatchedFileMaker();
  Busy(8000, false);
  world.Move();  // the input that wakes it
  EXPECT_TRUE(WatchedFileMaker().openLock) << "nobody there: the lock before the waking input";
  struct Stretch {
    uint32_t ms;
    bool moving;
  };
  struct Case {
    const char* what;
    std::vector<Stretch> busy;  // after 2 s of ticks on time: 1 s of the limit left
    bool locks;
  };
  const Case cases[] = {
      {"a pause longer than what was left, but shorter than the limit, after the first move",
       {{750, false}, {1000, true}, {2000, false}, {1000, true}},
       false},
      {"the first move later than what was left", {{1250, false}, {1000, true}}, true},
      {"a pause as long as the whole limit", {{500, true}, {3000, false}, {500, true}}, true},
      {"the stretch still going on as long as the whole limit", {{500, true}, {3250, false}}, true},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 8; ++i) WatchedFileMaker();
    locks = 0;
    for (const Stretch& stretch : c.busy) Busy(stretch.ms, stretch.moving);
    EXPECT_EQ(WatchedFileMaker().openLock, c.locks) << c.what;
    if (!c.locks) {
      EXPECT_LE(state.fileMakerIdle.ticks, 2) << c.what << ": counted from the last move";
    }
    world.Move();
    WatchedFileMaker();
  }
  locks = 0;
  WatchedFileMaker();
  Sleep(8000);  // the watch itself sampled nothing: a machine that slept
  Sample(true);
  EXPECT_TRUE(WatchedFileMaker().openLock) << "its gap is a stretch without activity";
}

TEST_P(Watched, AWatchThatHasNotCaughtUpWithTheTickKnowsNothing) {
  state.settings.fileMakerLimitSeconds = 3;
  WatchedFileMaker();
  WatchedFileMaker();  // a mark the watch has not sampled yet
  Busy(0, true);
  Sleep(8000);
  world.Move();
  TickObservation seen = world.Seen(fileMakerClock += TICK_MS);
  EXPECT_FALSE(QuietSinceTick(watch, WatchedCount::FileMaker, state.fileMakerIdle.countedUpTo, seen.now).known);
  EXPECT_TRUE(WatchedFileMaker().openLock) << "unknown: a late tick acts first, as without a watch";
}

INSTANTIATE_TEST_SUITE_P(Clock, Watched, ::testing::Values(1000u, 0xFFFFFFFFu - 2000u, 0xFFFFFFFFu - 300u));

TEST_F(IdleEngine, TheLongestGapAndTheLargestLimitStayInRange) {
  state.settings.recordLimitSeconds = 536870911;
  Sleep(0xFFFFFFFFu - TICK_MS);
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 17179869) << "49.7 days, in ticks";
  EXPECT_EQ(attempts, 0);
  state.recordIdle.ticks = INT32_MAX - 1;
  Record(1000);
  EXPECT_EQ(attempts, 1) << "past the largest limit, and no overflow on the way";
}

}  // namespace
