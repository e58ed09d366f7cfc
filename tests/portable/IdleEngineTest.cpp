// The idle engine's rules, tick by tick: observations in, state and actions out.
// Here: activity, the record limit, the FileMaker limit and the lock.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "IdleEngineFixture.h"

namespace {

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
  EXPECT_TRUE(state.recordCommitted) << "FileMaker in front opens no record";
  EXPECT_EQ(act.recordStopButton, ButtonChange::Disable);
  world.Type();
  Record();
  EXPECT_FALSE(state.recordCommitted) << "typing into it does, with or without a limit";
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

}  // namespace
