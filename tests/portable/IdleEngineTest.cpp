// The idle engine's rules, tick by tick: observations in, state and actions out.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "portable/engine/IdleEngine.h"

namespace {

// The user and the desktop as the timer dialog would observe them.
struct World {
  uint8_t keys[KEYBOARD_STATE_SIZE] = {};
  Point cursor = {100, 100};
  bool hostActive = true, hostInFront = true, otherApp = false;
  bool cursorReadable = true, keysReadable = true;

  uint32_t keyPresses = 0, wheelTurns = 0;

  void Type() { keys[0x91] ^= 1; }  // a toggle bit alone is a change
  void TypeUnseenByKeyboardState() { ++keyPresses; }
  void Move() { ++cursor.x; }
  void Scroll() { ++wheelTurns; }
  void LeaveForAnotherApplication() { hostActive = hostInFront = false, otherApp = true; }
  void OpenHostDialog() { hostActive = false; }  // in front, of the host's process
  TickObservation Seen(uint32_t now) const {
    TickObservation seen = {
        cursor, cursorReadable, keysReadable ? keys : nullptr, hostActive, hostInFront, otherApp, keyPresses, now};
    seen.wheelTurns = wheelTurns;
    return seen;
  }
};

class IdleEngine : public ::testing::Test {
 protected:
  void SetUp() override { Start(1000); }
  // Both timers armed with the clock at `clock`.
  void Start(uint32_t clock) {
    std::memset(&state, 0, sizeof state);
    recordClock = fileMakerClock = clock;
    TakeSnapshot(state.recordIdle, world.cursor, world.keys, world.keyPresses);
    TakeSnapshot(state.fileMakerIdle, world.cursor, world.keys, world.keyPresses);
    RestartCount(state.recordIdle, recordClock);
    RestartCount(state.fileMakerIdle, fileMakerClock);
  }
  // Time passes and no tick comes: the machine sleeps, the host is busy.
  void Sleep(uint32_t ms) { recordClock += ms, fileMakerClock += ms; }
  // What the timer dialog does with the attempts: the first that types commits.
  void Carry(const TickActions& act) {
    int tried = act.exitRecordAttempts;
    if (tried > 0 && actionTypes) state.recordCommitted = true, tried = 1;
    attempts += tried;
    locks += act.openLock;
  }
  // Each timer's tick comes `ms` after its last one: the two run on their own.
  TickActions Record(uint32_t ms = TICK_MS) {
    TickObservation seen = world.Seen(recordClock += ms);
    if (CommitOnLeavingDue(state, seen)) Carry({1});
    TickActions act = RecordTick(state, seen);
    Carry(act);
    return act;
  }
  TickActions FileMaker(uint32_t ms = TICK_MS) {
    TickActions act = FileMakerTick(state, world.Seen(fileMakerClock += ms));
    Carry(act);
    return act;
  }
  GuardState state;
  World world;
  uint32_t recordClock, fileMakerClock;
  bool actionTypes = true;  // whether an exit-record attempt gets its keys in
  int attempts = 0, locks = 0;
};

// ---- activity ----

TEST(WatchedKeys, ExactlyTheKeyScanSetAndOnlyTheDownBit) {
  std::set<int> expected;
  const int ranges[][2] = {{0x01, 0x04}, {0x08, 0x09}, {0x0C, 0x0D}, {0x10, 0x10}, {0x12, 0x14},
                           {0x1B, 0x1B}, {0x20, 0x29}, {0x2B, 0x39}, {0x41, 0x5D}, {0x60, 0x6C},
                           {0x6E, 0x87}, {0x90, 0x91}, {0xF6, 0xFE}};
  for (const auto& r : ranges)
    for (int vk = r[0]; vk <= r[1]; ++vk) expected.insert(vk);
  ASSERT_EQ(expected.size(), 117u);
  for (int vk = 0; vk < 256; ++vk) {
    uint8_t keys[256] = {};
    keys[vk] = 0x80;
    EXPECT_EQ(WatchedKeyDown(keys), expected.count(vk) == 1) << "vk " << vk;
    keys[vk] = 0x01;  // toggled, not down
    EXPECT_FALSE(WatchedKeyDown(keys)) << "vk " << vk;
  }
}

TEST_F(IdleEngine, KeyScanResetsOnlyTheFileMakerCount) {
  state.fileMakerIdle.ticks = 5;
  state.recordIdle.ticks = 5;
  uint8_t keys[256] = {};
  keys[0x11] = 0x80;  // Control is not watched
  KeyScanTick(state, keys, fileMakerClock);
  EXPECT_EQ(state.fileMakerIdle.ticks, 5);
  keys['A'] = 0x80;
  KeyScanTick(state, keys, fileMakerClock);
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  EXPECT_EQ(state.recordIdle.ticks, 5);
  state.fileMakerIdle.ticks = 3;
  KeyScanTick(state, nullptr, fileMakerClock);
  EXPECT_EQ(state.fileMakerIdle.ticks, 3) << "an unreadable keyboard is no key";
}

TEST_F(IdleEngine, EveryByteOfTheKeyboardCountsAndACursorThatCameBackDoesNot) {
  state.settings.recordLimitSeconds = 100;
  world.keys[0xFF] ^= 0x80;
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 0) << "the last byte takes part";
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 1);
  world.Move();
  world.cursor.x -= 1;
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 2) << "moved and came back: no activity";
  world.cursorReadable = world.keysReadable = false;
  world.Move();
  world.Type();
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 3) << "what cannot be read is no change";
  state.settings.fileMakerLimitSeconds = 100;
  FileMaker();
  ASSERT_EQ(state.fileMakerIdle.ticks, 1);
  world.TypeUnseenByKeyboardState();
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 0) << "a key press counts where the keyboard state shows none";
  FileMaker();
  EXPECT_EQ(state.fileMakerIdle.ticks, 0) << "for each count";
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 1) << "once";
}

// ---- the record limit ----

struct RecordCase {
  const char* name;
  int32_t limit;
  std::vector<char> ticks;  // '.' idle, 't' typing, 'm' mouse move, 'b' both, 'w' the wheel
  std::vector<int> counts;  // the record count after each tick
  int attempts;             // exit-record attempts in all
};

class RecordLimit : public IdleEngine, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordLimit, CountsAndActs) {
  const RecordCase& c = GetParam();
  state.settings.recordLimitSeconds = c.limit;
  for (size_t i = 0; i < c.ticks.size(); ++i) {
    if (c.ticks[i] == 't' || c.ticks[i] == 'b') world.Type();
    if (c.ticks[i] == 'm' || c.ticks[i] == 'b') world.Move();
    if (c.ticks[i] == 'w') world.Scroll();
    Record();
    EXPECT_EQ(state.recordIdle.ticks, c.counts[i]) << "after tick " << i + 1;
  }
  EXPECT_EQ(attempts, c.attempts);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, RecordLimit,
    ::testing::Values(
        RecordCase{"OneSecondActsOnTheFourthTickAndHolds",
                   1,
                   {'.', '.', '.', '.', '.', '.', '.', '.'},
                   {1, 2, 3, 0, 0, 0, 0, 0},
                   1},
        RecordCase{"TypingStartsAFullLimitAgain", 1, {'.', '.', 't', '.', '.', '.', '.'}, {1, 2, 0, 1, 2, 3, 0}, 1},
        RecordCase{"AMoveInTheLimitTickDoesNotStopTheAction", 1, {'.', '.', '.', 'm'}, {1, 2, 3, 0}, 1},
        RecordCase{"TypingInTheLimitTickDoes", 1, {'.', '.', '.', 't'}, {1, 2, 3, 0}, 0},
        RecordCase{"MovesKeepResetting", 2, {'m', '.', 'm', '.', 'm', '.'}, {0, 1, 0, 1, 0, 1}, 0},
        RecordCase{"TheWheelAloneKeepsResetting", 2, {'w', '.', 'w', '.', 'w', '.'}, {0, 1, 0, 1, 0, 1}, 0},
        RecordCase{"TheWheelInTheLimitTickIsAMove", 1, {'.', '.', '.', 'w'}, {1, 2, 3, 0}, 1}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

TEST_F(IdleEngine, AnActionThatTypesNothingIsTriedTwiceAndAgainAfterAFullLimit) {
  actionTypes = false;
  state.settings.recordLimitSeconds = 1;
  for (int i = 0; i < 4; ++i) Record();
  EXPECT_EQ(attempts, 2) << "the limit check and the cursor check each try once";
  EXPECT_FALSE(state.recordCommitted);
  for (int i = 0; i < 4; ++i) Record();
  EXPECT_EQ(attempts, 4);
}

TEST_F(IdleEngine, OnlyTypingInTheHostMainWindowReArms) {
  state.settings.recordLimitSeconds = 1;
  for (int i = 0; i < 4; ++i) Record();
  ASSERT_TRUE(state.recordCommitted);
  world.Move();
  world.Scroll();
  Record();
  EXPECT_TRUE(state.recordCommitted) << "a mouse move or the wheel never re-arms";
  world.OpenHostDialog();
  world.Type();
  Record();
  EXPECT_TRUE(state.recordCommitted) << "typing elsewhere resets the count but does not re-arm";
  world.hostActive = true;
  world.Type();
  Record();
  EXPECT_FALSE(state.recordCommitted);
}

TEST_F(IdleEngine, SettingALimitDoesNotReArm) {
  state.recordCommitted = true;
  state.settings.recordLimitSeconds = 1;
  for (int i = 0; i < 12; ++i) Record();
  EXPECT_EQ(attempts, 0);
}

TEST_F(IdleEngine, RecordLimitOffHoldsTheCountAndDisablesItsStopButton) {
  state.recordIdle.ticks = 9;
  state.recordCommitted = true;
  TickActions act = Record();
  EXPECT_EQ(state.recordIdle.ticks, 0);
  EXPECT_FALSE(state.recordCommitted) << "re-armed while the host is active";
  EXPECT_EQ(act.recordStopButton, ButtonChange::Disable);
  state.settings.recordLimitSeconds = 3;
  EXPECT_EQ(Record().recordStopButton, ButtonChange::Enable);
}

TEST_F(IdleEngine, ImmediateSwitchActsOnlyForAnotherApplication) {
  state.settings.commitOnLeaving = true;
  Record();
  EXPECT_EQ(attempts, 0) << "the host is active";
  world.OpenHostDialog();
  Record();
  EXPECT_EQ(attempts, 0) << "a dialog of the host is not another application";
  world.LeaveForAnotherApplication();
  state.recordIdle.ticks = 7;
  TickObservation seen = world.Seen(recordClock);
  EXPECT_TRUE(CommitOnLeavingDue(state, seen));
  EXPECT_EQ(state.recordIdle.ticks, 0);
  state.recordCommitted = true;
  EXPECT_FALSE(CommitOnLeavingDue(state, seen)) << "once per departure";
  state.settings.commitOnLeaving = false;
  state.recordCommitted = false;
  EXPECT_FALSE(CommitOnLeavingDue(state, seen));
}

// ---- the FileMaker limit and the lock ----

TEST_F(IdleEngine, FileMakerLimitOneCommitsOnTickThreeAndLocksOnFour) {
  state.settings.fileMakerLimitSeconds = 1;
  FileMaker();
  FileMaker();
  EXPECT_EQ(attempts, 0);
  FileMaker();
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(state.recordCommitted);
  TickActions lock = FileMaker();
  EXPECT_TRUE(lock.openLock);
  EXPECT_EQ(lock.exitRecordAttempts, 0) << "already committed";
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  // After the unlock the lock comes again four idle ticks later, latch or not.
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(FileMaker().openLock);
  EXPECT_TRUE(FileMaker().openLock);
  EXPECT_EQ(attempts, 1);
}

TEST_F(IdleEngine, TheLockStepTriesOnceMoreWhenNothingWasTyped) {
  actionTypes = false;
  state.settings.fileMakerLimitSeconds = 1;
  for (int i = 0; i < 3; ++i) FileMaker();
  EXPECT_EQ(attempts, 1);
  EXPECT_FALSE(state.recordCommitted);
  TickActions lock = FileMaker();
  EXPECT_EQ(lock.exitRecordAttempts, 1);
  EXPECT_TRUE(lock.openLock);
  EXPECT_TRUE(state.recordCommitted);
}

TEST_F(IdleEngine, OnlyTypingPreventsTheLockAfterTheExit) {
  state.settings.fileMakerLimitSeconds = 1;
  for (int i = 0; i < 3; ++i) FileMaker();
  world.Move();
  EXPECT_TRUE(FileMaker().openLock) << "a mouse move alone does not stop it";
  for (int i = 0; i < 3; ++i) FileMaker();
  world.Type();
  EXPECT_FALSE(FileMaker().openLock);
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
}

TEST_F(IdleEngine, NothingCountsWhileTheLockIsUp) {
  state.settings.fileMakerLimitSeconds = 1;
  state.settings.countInBackground = true;
  state.lockIsUp = true;
  world.LeaveForAnotherApplication();
  for (int i = 0; i < 20; ++i) {
    TickActions act = FileMaker();
    EXPECT_FALSE(act.openLock);
    EXPECT_EQ(act.keyScanTimer, TimerChange::Keep);
  }
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  EXPECT_TRUE(state.lockIsUp) << "only the lock's own return ends it";
}

TEST_F(IdleEngine, TheBackgroundHoldsTheCountUnlessAllowed) {
  state.settings.fileMakerLimitSeconds = 1;
  world.LeaveForAnotherApplication();
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(FileMaker().openLock);
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  world.Move();
  FileMaker();
  EXPECT_EQ(state.fileMakerIdle.snapshot.cursor.x, world.cursor.x) << "the snapshot follows while held";
  state.settings.countInBackground = true;
  TickActions act = FileMaker();
  EXPECT_EQ(state.fileMakerIdle.ticks, 1);
  EXPECT_EQ(act.keyScanTimer, TimerChange::Start) << "key scan while the host is inactive";
  world.hostActive = world.hostInFront = true;
  EXPECT_EQ(FileMaker().keyScanTimer, TimerChange::Stop);
}

TEST_F(IdleEngine, FileMakerLimitOffStopsItsTimers) {
  TickActions act = FileMaker();
  EXPECT_TRUE(act.stopFileMakerTimer);
  EXPECT_EQ(act.keyScanTimer, TimerChange::Stop);
}

TEST_F(IdleEngine, EachCountSeesTypingTheOtherHasTakenIn) {
  state.settings.recordLimitSeconds = 100;
  state.settings.fileMakerLimitSeconds = 100;
  for (int i = 0; i < 5; ++i) Record(), FileMaker();
  world.Type();
  Record();
  EXPECT_EQ(state.recordIdle.ticks, 0);
  FileMaker();
  EXPECT_EQ(state.fileMakerIdle.ticks, 0);
  Record(), FileMaker();
  world.Scroll();
  Record();
  FileMaker();
  EXPECT_EQ(state.fileMakerIdle.ticks + state.recordIdle.ticks, 0) << "and the wheel the other has taken in";
}

TEST_F(IdleEngine, LargestLimitDoesNotOverflow) {
  state.settings.recordLimitSeconds = 536870911;
  state.recordIdle.ticks = TicksFor(536870911) - 2;
  Record();
  EXPECT_EQ(attempts, 0);
  Record();
  EXPECT_EQ(attempts, 1);
}

// ---- real time: ticks that come late or not at all ----

// The clock where each case starts: far from its wrap, the wrap crossed while
// no tick comes, and the wrap crossed by the ticks themselves.
class RealTime : public IdleEngine, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override { Start(GetParam()); }
};

TEST_P(RealTime, TicksALittleEarlyOrLateCountAsOne) {
  state.settings.fileMakerLimitSeconds = 1;
  EXPECT_FALSE(FileMaker(240).openLock);
  EXPECT_FALSE(FileMaker(260).openLock);
  EXPECT_FALSE(FileMaker(230).openLock);
  EXPECT_EQ(attempts, 1) << "the commit a tick before the lock";
  EXPECT_TRUE(FileMaker(270).openLock) << "the lock on the fourth";
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
