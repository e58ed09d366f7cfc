// End to end (see HostScenarioTest.cpp): a host that was busy or away, keys
// typed just before, and list views.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace {

TEST(WatchScenario, SecondInitDoesNotDoubleTheTickRate) {
  HostRun run = RunHost({
      "init",
      "call Lulx-ActivateRecordLullex 3",
      "init",
      "call Lulx-ActivateRecordLullex 3",
      "focus record",
      "type a",
      "say idle from here",
      "waitfor 10000 record committed #1",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At("record committed #1") - run.At("-- idle from here"), 2.5) << run.All();
}

// Armed, with nobody at the desk, in front and behind another program: the
// plug-in's timers wake FileMaker at their deadlines, not four times a second.
TEST(WatchScenario, ArmedAndIdleItWakesFileMakerOnlyForItsDeadlines) {
  HostRun run = RunHost({"init", "call Lulx-SetLockWarning 5", "call Lulx-ActivateRecordLullex 30",
                         "call Lulx-ActivateFileMakerLullex 40", "call Lulx-FMLullexCanBackground 1", "focus record",
                         "wait 3000", "activate other", "wait 3000", "quit"});
  const std::string counted = "timer messages to the plug-in's windows: ";
  ASSERT_GE(run.Index(counted), 0) << run.All();
  const std::string& text = run.lines[run.Index(counted)].text;
  EXPECT_LE(std::stoi(text.substr(text.find(counted) + counted.size())), 4) << "a look as FileMaker left, not 48";
}

// Lullex's own Ctrl+Enter is nobody's input: FileMaker busy just after the
// lock's commit (a commit script, a hosted file's round trip) locks as the
// limit fell due, not a limit later; nobody there through a long busy stretch
// after a short pause, the record's commit on waking is no one's input either,
// and the lock follows it, the mouse moved as the person comes back or not.
TEST(WatchScenario, LullexsOwnKeysAreNobodysInput) {
  HostRun busyAfterCommit =
      RunHost(ThenUnlockWithPw(WithPw({"call Lulx-ActivateFileMakerLullex 4", "focus record", "move 300 300",
                                       "type abc", "say typed", "waitfor 6000 record committed #1", "busy 900"})));
  ASSERT_EQ(busyAfterCommit.exitCode, 0) << busyAfterCommit.All();
  EXPECT_LT(busyAfterCommit.At(kLockUp) - busyAfterCommit.At("-- typed"), 5.5) << busyAfterCommit.All();
  HostRun asleep = RunHost(ThenUnlockWithPw(
      WithPw({"call Lulx-ActivateRecordLullex 2", "call Lulx-ActivateFileMakerLullex 4", "focus record", "move 300 300",
              "type abc", "wait 500", "othermoves 7500 0 6500", "busy 6500", "say awake"})));
  ASSERT_EQ(asleep.exitCode, 0) << asleep.All();
  EXPECT_TRUE(asleep.Before("record committed #1", kLockUp)) << asleep.All();
  EXPECT_LT(asleep.At(kLockUp) - asleep.At("-- awake"), 1.5) << asleep.All();
}

// A machine that sleeps, or a host too busy to handle its messages: the limits
// count the real time that passed.
TEST(WatchScenario, AHostThatWasAwayPastTheLimitLocksOnWakingAndNeverEarly) {
  auto away = [](const char* limit, const char* busy) {
    return RunHost(ThenUnlockWithPw(WithPw({
        std::string("call Lulx-ActivateFileMakerLullex ") + limit,
        "focus record",
        "move 300 300",
        "type abc",
        "wait 500",
        std::string("busy ") + busy,
        "move 340 300",  // the input that wakes it
        "say awake",
    })));
  };
  HostRun past = away("3", "5000");
  ASSERT_EQ(past.exitCode, 0) << past.All();
  EXPECT_TRUE(past.Before("host awake", "record committed #1 (edited): \"abc\""));
  EXPECT_TRUE(past.Before("record committed #1", kLockUp)) << "the record committed first";
  // Counting ticks, the lock came a full limit (3 s) after waking.
  EXPECT_LT(past.At(kLockUp) - past.At("-- awake"), 2.0) << past.All();

  HostRun within = away("4", "2000");
  ASSERT_EQ(within.exitCode, 0) << within.All();
  EXPECT_TRUE(within.Before("-- awake", "record committed #1")) << "nothing while time was left";
  EXPECT_GT(within.At(kLockUp) - within.At("-- awake"), 3.5) << "the move counts: a full limit after it";
}

// A long import watched by someone who moves the mouse: FileMaker's thread
// sees nothing for 8 s, the plug-in's watch sees the person, and nobody is
// locked out; the limits then count from the last move.
TEST(WatchScenario, SomeoneAtTheDeskWhileTheHostIsBusyIsNeitherCommittedNorLocked) {
  HostRun run = RunHost(ThenUnlockWithPw(WithPw({
      "call Lulx-ActivateRecordLullex 2",
      "call Lulx-ActivateFileMakerLullex 3",
      "focus record",
      "type abc",
      "othermoves 9500",
      "wait 300",
      "busy 8000",
      "say awake",
  })));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At(kLockUp) - run.At("-- awake"), 2.0) << "nobody locked out on waking\n" << run.All();
  const char stopped[] = "another program stopped moving the mouse";
  ASSERT_TRUE(run.Before(stopped, "record committed #1 (edited): \"abc\""));
  EXPECT_GT(run.At("record committed #1"), run.At(stopped) + 1.0) << "the record limit, after the last move";
  EXPECT_GT(run.At(kLockUp), run.At(stopped) + 2.0) << "the FileMaker limit, after the last move";
  EXPECT_TRUE(run.Before("record committed #1", kLockUp));
}

// Judged as ticks on time would have: a pause longer than what was left of
// the limit, but shorter than the limit, after the person was first seen; and
// a limit set by a script that goes busy at once, before any tick.
TEST(WatchScenario, SomeoneAtTheDeskWhileTheHostIsBusyIsJudgedAsTicksOnTimeWould) {
  struct Row {
    const char* what;
    Steps beforeBusy;
    int limit;
  };
  const Row rows[] = {
      {"a pause longer than the 3 s left",
       {"call Lulx-ActivateFileMakerLullex 6", "focus record", "move 300 300", "wait 3000",
        "othermoves 11000 2000 4000", "busy 10000"},
       6},
      {"the limit set just before the busy stretch",
       {"focus record", "othermoves 9000", "wait 500", "call Lulx-ActivateFileMakerLullex 3", "busy 8000"},
       3},
  };
  for (const Row& row : rows) {
    HostRun run = RunHost(ThenUnlockWithPw(Join({WithPw(row.beforeBusy), {"say awake"}}), 15000));
    ASSERT_EQ(run.exitCode, 0) << row.what << "\n" << run.All();
    EXPECT_GT(run.At(kLockUp) - run.At("-- awake"), 1.5) << row.what << ": nobody locked out on waking\n" << run.All();
    EXPECT_GT(run.At(kLockUp), run.At("another program stopped moving the mouse") + row.limit - 0.5)
        << row.what << ": a full limit after the last move";
  }
}

// FileMaker committed the record, then a key reached it just before its
// thread went busy, or waited in its queue meanwhile: the lock on waking
// commits it first; with no lock due, the record limit on waking does.
TEST(CommitScenario, AKeyTypedJustBeforeTheHostWentBusyIsCommittedBeforeTheLock) {
  const Steps ways[] = {{"type d", "busy 5000"},
                        {"busy 5000 d"},
                        {"call Lulx-ActivateFileMakerLullex 30", "type d", "busy 5000",
                         "waitfor 3000 (edited): \"abcd\"", "call Lulx-LockNow"}};
  for (const Steps& typed : ways) {
    HostRun run = RunHost(
        ThenUnlockWithPw(Join({WithPw({"call Lulx-ActivateRecordLullex 1", "call Lulx-ActivateFileMakerLullex 3",
                                       "focus record", "type abc", "waitfor 8000 record committed #2"}),
                               typed})));
    ASSERT_EQ(run.exitCode, 0) << typed.back() << "\n" << run.All();
    ASSERT_EQ(run.Count("(edited): \"abcd\""), 1) << typed.back() << "\n" << run.All();
    EXPECT_TRUE(run.Before("(edited): \"abcd\"", kLockUp)) << typed.back();
  }
}

TEST(CommitScenario, ListViewsGetEscapeAndTheKeysTwice) {
  // The list path waits for a cursor other than the one at init: the host's
  // window must not open under the cursor that an earlier run left there.
  SetCursorPos(5, 5);
  HostRun run = RunHost(
      {
          "move 5 5",
          "init",
          "call Lulx-ActivateRecordLullex 1",
          "focus record",
          "move 250 120",
          "type a",
          "waitfor 8000 record committed #4",
          "quit",
      },
      "--inner-class FM3ListHostView");
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("innermost child got key 0x1B lParam 0"), 1) << run.All();
  EXPECT_TRUE(run.Before("innermost child got key 0x1B", "record committed #1"));
}

}  // namespace
