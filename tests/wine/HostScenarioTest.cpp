// End to end: the host stand-in loads the built Lullex.fmx, sets limits through
// the functions' names and lives through real idle time, real timers and real
// keystrokes. Timing is only asserted as order and generous lower bounds. The
// suites name the concern: WatchScenario (who counts as at the desk),
// CommitScenario, LockScenario and HostWindowsScenario (the host's windows
// around the guard); each concern is a CTest entry of its own.
// Here: the main jobs, and who counts as at the desk.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace {

TEST(CommitScenario, RecordLimitCommitsOnceUntilTheUserIsBack) {
  HostRun run = RunHost({
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "focus record",
      "type abc",
      "say typed",
      "waitfor 8000 record committed #2",
      "wait 2500",
      "say idle",
      "type d",
      "waitfor 8000 record committed #4",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("call Lulx-ActivateRecordLullex(\"1\") -> reply \"0\""), 1);
  EXPECT_EQ(run.Count("record committed"), 4) << run.All();
  EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\""), 1) << run.All();
  EXPECT_GT(run.At("record committed #1"), run.At("-- typed") + 0.7) << "not before the limit";
  EXPECT_TRUE(run.Before("-- idle", "record committed #3")) << "no second action while idle";
}

TEST(LockScenario, FileMakerLimitCommitsLocksRefusesAndUnlocks) {
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword Open Sesame",
      "call Lulx-ActivateFileMakerLullex 2",
      "focus record",
      "type Jones",
      "waitfor 10000 " + std::string(kLockUp),
      "type open sesame",
      "key ENTER",
      "waitfor 5000 " + std::string(kDenied),
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "type Open Sesame",
      "key ENTER",
      "waitfor 5000 main window shown",
      "say unlocked",
      "waitfor 10000 " + std::string(kLockUp),
      "type Open Sesame",
      "key ENTER",
      "waitfor 5000 " + std::string(kLockGone),
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At("record committed #1"), 0) << run.All();
  EXPECT_TRUE(run.Before("record committed #1", kLockUp)) << "the record is committed before the lock";
  EXPECT_TRUE(run.Before("main window hidden", kLockUp));
  EXPECT_EQ(run.Count(kDenied), 1);
  EXPECT_GT(run.At(kLockUp, 2), run.At("-- unlocked") + 1.5) << "a full idle limit after the unlock";
  EXPECT_EQ(run.Count(kLockUp), 2);
}

TEST(WatchScenario, MouseMovesAndTypingKeepTheUserActive) {
  std::vector<std::string> script = {"init", "call Lulx-ActivateRecordLullex 2", "focus record"};
  for (int i = 0; i < 8; ++i) {
    script.push_back("move " + std::to_string(300 + 40 * (i % 2)) + " 300");
    script.push_back("wait 500");
  }
  script.push_back("say stopped moving");
  for (int i = 0; i < 8; ++i) {
    script.push_back("type x");
    script.push_back("wait 500");
  }
  script.push_back("say stopped typing");
  script.push_back("waitfor 10000 record committed #1");
  script.push_back("quit");
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_TRUE(run.Before("-- stopped typing", "record committed #1"));
}

TEST(WatchScenario, TypingWithoutTheMouseNeverLocks) {
  Steps script = WithPw({"call Lulx-ActivateRecordLullex 1", "call Lulx-ActivateFileMakerLullex 2", "focus record"});
  for (int i = 0; i < 24; ++i) {
    script.push_back("type k");
    script.push_back("wait 300");
  }
  script.push_back("say done typing");
  script.push_back("quit");
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(kLockUp), 0) << run.All();
  EXPECT_EQ(run.Count("record committed"), 0) << run.All();
  EXPECT_GT(run.At("-- done typing"), 6.0) << "three FileMaker limits of typing";
}

TEST(WatchScenario, BackgroundSwitchDecidesWhetherTheLockComesInTheBackground) {
  HostRun held = RunHost({
      "init",
      "call Lulx-ActivateFileMakerLullex 1",
      "call Lulx-FMLullexCanBackground 0",
      "activate other",
      "wait 3500",
      "quit",
  });
  ASSERT_EQ(held.exitCode, 0) << held.All();
  EXPECT_EQ(held.Count(kLockUp), 0) << held.All();

  HostRun counted =
      RunHost(ThenUnlockWithPw(WithPw({"call Lulx-ActivateFileMakerLullex 1", "call Lulx-FMLullexCanBackground 1",
                                       "focus record", "type x", "wait 300", "activate other"}),
                               8000));
  ASSERT_EQ(counted.exitCode, 0) << counted.All();
  EXPECT_EQ(counted.Count(kLockUp), 1);
  EXPECT_TRUE(counted.Before("record committed #1", kLockUp));
}

TEST(CommitScenario, ImmediateSwitchCommitsOnLeavingAndReArmsOnReturn) {
  HostRun run = RunHost({
      "init",
      "call Lulx-LullexRecordImmediatelyWhenInBackground 1",
      "focus record",
      "type x",
      "wait 600",
      "say leaving",
      "activate other",
      "waitfor 3000 record committed #2",
      "wait 1000",
      "say back",
      "activate main",
      "type y",
      "wait 800",
      "activate other",
      "waitfor 3000 record committed #4",
      "wait 1000",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_TRUE(run.Before("-- leaving", "record committed #1"));
  EXPECT_TRUE(run.Before("-- back", "record committed #3")) << "one action per departure";
  EXPECT_EQ(run.Count("record committed"), 4) << run.All();
  // Two processes log these: their times compare, their lines need not.
  EXPECT_GE(run.At("other application active", 2), run.At("record committed #2"))
      << "the foreground goes back to the other application" << run.All();
}

// Someone leaves FileMaker and at once types in another program, while the
// commit on leaving takes the foreground for its keys: none of their keys
// reaches FileMaker's record, and none of the commit's their program. (Under
// Wine a key sent while the foreground moves between processes can be lost or
// overtaken, so what that program received is not compared with the text.)
TEST(CommitScenario, TypingInAnotherProgramDuringTheCommitOnLeavingStaysThere) {
  const std::string text = "dear sam the results are in";
  HostRun run = RunHost({"init", "call Lulx-LullexRecordImmediatelyWhenInBackground 1", "idleevery 700", "focus record",
                         "type abc", "wait 300", "activate other", "othertypes " + text, "wait 3500", "quit"});
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GE(run.Count("record committed"), 1) << run.All();
  // The record's keys: "abc", then Ctrl+Enter for each commit.
  EXPECT_EQ(run.Count("record key 0x"), 3 + 2 * run.Count("record committed")) << run.All();
  int othersKeys = run.Count("other application has");
  EXPECT_TRUE(othersKeys >= 1 && othersKeys <= static_cast<int>(text.size())) << run.All();
}

// A record opened again after the record limit's commit is committed again
// on leaving FileMaker: the key counts as typed, whatever is in front by the
// next look. So is each departure's, once the person pauses, the wait of the
// one before ended when FileMaker came back.
TEST(CommitScenario, ARecordOpenedAgainIsCommittedOnEachDeparture) {
  HostRun run = RunHost({"init",
                         "call Lulx-ActivateRecordLullex 2",
                         "call Lulx-LullexRecordImmediatelyWhenInBackground 1",
                         "focus record",
                         "type a",
                         "waitfor 5000 record committed #1",
                         "wait 300",
                         "type b",
                         "wait 300",
                         "activate other",
                         "say left",
                         "waitfor 3000 (edited): \"ab\"",
                         "activate main",
                         "focus record",
                         "type c",
                         "wait 300",
                         "activate other",
                         "othertypes 0123456789",
                         "wait 200",
                         "activate main",
                         "focus record",
                         "type d",
                         "wait 300",
                         "activate other",
                         "othertypes 0123456789",
                         "say left again",
                         "wait 3000",
                         "quit"});
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_LT(run.At("(edited): \"ab\"") - run.At("-- left"), 1.0) << run.All();
  int commits = run.Count("record committed");
  EXPECT_GT(run.Index("record committed", commits), run.Index("-- left again")) << run.All();
}

}  // namespace
