// End to end (see HostScenarioTest.cpp): the host's real life: unload, calls
// during the lock, its own dialogs and boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace {

TEST(HostWindowsScenario, ShutdownAndUnloadLeaveNothingThatCallsBack) {
  HostRun run = RunHost({
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "call Lulx-ActivateFileMakerLullex 2",
      "call Lulx-LullexRecordImmediatelyWhenInBackground 1",
      "focus record",
      "type a",
      "shutdown",
      "unload",
      "say unloaded",
      "wait 3000",
      "say reloading",
      "load",
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "focus record",
      "type b",
      "waitfor 8000 record committed #2",
      "say shutdown without unloading",
      "shutdown",
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "type c",
      "waitfor 8000 record committed #4",
      "shutdown",
      "unload",
      "wait 1000",
      "destroymain",
      "wait 1000",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("script finished"), 1) << run.All();
  EXPECT_EQ(run.Count("main window destroyed"), 1);
  EXPECT_TRUE(run.Before("-- reloading", "record committed #1")) << "nothing ran while unloaded";
  EXPECT_EQ(run.Count("record committed #1 (edited): \"ab\""), 1) << run.All();
  EXPECT_TRUE(run.Before("-- shutdown without unloading", "record committed #3"));
  EXPECT_EQ(run.Count("record committed"), 4) << run.All();
}

TEST(LockScenario, CallsDuringTheLockOpenNoSecondLock) {
  HostRun run = RunHost(WithPw({
      "call Lulx-ActivateFileMakerLullex 1",
      "focus record",
      WaitForLock(8000),
      "wait 1000",
      "say calling during the lock",
      "call Lulx-FMLullexCanBackground 1",
      "call Lulx-ActivateFileMakerLullex 1",
      "wait 2500",
      "say typing the password",
      "type pw",
      "key ENTER",
      "waitfor 5000 main window shown",
      "wait 300",
      "say after the unlock",
      "call Lulx-ActivateFileMakerLullex 0",
      "wait 500",
      "quit",
  }));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(kLockUp), 1) << run.All();
  EXPECT_EQ(run.Count("lock windows: 2"), 0) << run.All();
  EXPECT_EQ(run.Count(", 2 login"), 0) << run.All();
  EXPECT_TRUE(run.Before("-- typing the password", "lock windows: 0 backdrop, 0 login"));
  EXPECT_TRUE(run.Before("lock windows: 0 backdrop, 0 login", "-- after the unlock"));
  EXPECT_EQ(run.Count("main window hidden"), 1);
  EXPECT_TRUE(run.Before("-- typing the password", "main window shown", 1, 2));
}

class LockWithRecordTimerRunning : public ::testing::TestWithParam<const char*> {};

TEST_P(LockWithRecordTimerRunning, NoKeysReachTheLoginAndTheHostStaysHidden) {
  HostRun run = RunHost(Join({WithPw({
                                  std::string("call Lulx-LullexRecordImmediatelyWhenInBackground ") + GetParam(),
                                  "call Lulx-ActivateFileMakerLullex 1",
                                  "focus record",
                                  "type x",
                                  WaitForLock(8000),
                                  "say locked",
                                  "wait 2000",
                              }),
                              TypingPw(),
                              {"quit"}}));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 0) << run.All();
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone)) << "the lock stays until the password";
  // Shown once when the host starts, then only by the password.
  EXPECT_EQ(run.Count("main window shown"), 2) << run.All();
  EXPECT_TRUE(run.Before("-- typing the password", "main window shown", 1, 2));
  EXPECT_TRUE(run.Before("record committed #1", kLockUp));
}

INSTANTIATE_TEST_SUITE_P(ImmediateSwitchOffAndOn, LockWithRecordTimerRunning, ::testing::Values("0", "1"));

TEST(CommitScenario, TheHostsOwnDialogNeverGetsTheKeys) {
  HostRun run = RunHost({
      "init",
      "call Lulx-LullexRecordImmediatelyWhenInBackground 1",
      "focus record",
      "type x",
      "wait 500",
      "hostbox",
      "waitfor 3000 host box opened",
      "wait 2000",
      "say the box is still up",
      "endhostbox",
      "waitfor 3000 host box answered",
      "focus record",
      "wait 500",
      "say leaving",
      "activate other",
      "waitfor 5000 record committed #1",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("host box answered Cancel"), 1) << run.All();
  EXPECT_TRUE(run.Before("-- the box is still up", "host box answered"));
  // Activating the disabled main window under a modal box hands the keys to the
  // box on Windows; the plug-in must not even try.
  EXPECT_EQ(run.CountBetween("main window active", "host box opened", "-- the box is still up"), 0) << run.All();
  EXPECT_TRUE(run.Before("-- leaving", "record committed #1")) << "not into the box";
}

TEST(CommitScenario, TheRecordLimitWaitsWhileTheHostShowsADialog) {
  HostRun run = RunHost({
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "focus record",
      "type x",
      "wait 300",
      "hostbox",
      "waitfor 3000 host box opened",
      "wait 2500",
      "say the box is still up",
      "endhostbox",
      "waitfor 3000 host box answered",
      "focus record",
      "waitfor 5000 record committed #1",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("host box answered Cancel"), 1) << run.All();
  EXPECT_TRUE(run.Before("host box answered", "record committed #1"));
}

// A field whose validation refuses what was typed: the commit's first
// Ctrl+Enter raises FileMaker's question, and nothing more is typed, so that
// no key presses its default button (Yes keeps the value, Revert Record loses
// the edit). The lock still comes, and the question waits behind it.
TEST(CommitScenario, AQuestionFileMakerAsksIsNeverAnsweredForThePerson) {
  const struct {
    const char *limit, *defaultButton;
    bool locks;
  } rows[] = {{"call Lulx-ActivateRecordLullex 1", "yes", false},
              {"call Lulx-ActivateFileMakerLullex 2", "revert", true}};
  for (const auto& row : rows) {
    HostRun run = RunHost(WithPw(Join({
        {"modern call Lulx-SetEventScript Contacts;Lullex Audit", row.limit,
         std::string("validate ") + row.defaultButton, "focus record", "type bad", "waitfor 5000 question asked",
         row.locks ? WaitForLock(8000) : "wait 2500", "box FileMaker Pro"},
        row.locks ? TypingPw() : Steps(),
        {"wait 300", "box FileMaker Pro", "modern call Lulx-Status", "say answering", "endquestion",
         "waitfor 3000 question answered", "wait 300", "quit"},
    })));
    ASSERT_EQ(run.exitCode, 0) << row.defaultButton << run.All();
    EXPECT_TRUE(run.Before("-- answering", "question answered")) << "by the person, and no key before" << run.All();
    EXPECT_EQ(run.Count("question answered Yes") + run.Count("question answered Revert"), 0) << row.defaultButton;
    EXPECT_EQ(run.Count("record committed"), 0) << row.defaultButton;
    EXPECT_EQ(run.Count(kLockUp), row.locks ? 1 : 0) << row.defaultButton;
    EXPECT_EQ(run.Count("box \"FileMaker Pro\" up and hidden"), row.locks ? 1 : 0) << "hidden behind the lock";
    EXPECT_TRUE(run.Before("box \"FileMaker Pro\" up and shown", "-- answering")) << row.defaultButton;
#ifdef LULLEX_MODERN_HOST
    // Asked again once answered, if the person walks away again: one event a question.
    EXPECT_GE(run.Count("{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true,\"committed\":false}"), 1)
        << row.defaultButton << run.All();
    EXPECT_EQ(run.Count("\"committed\":true"), 0) << row.defaultButton;
    EXPECT_EQ(run.Count(";committed=0\""), 1) << row.defaultButton;
#endif
  }
}

// One of FileMaker's own boxes left open is FileMaker in front: the lock comes
// on time, waiting for no script (none runs behind the box), and the box is
// there again after the password. A box FileMaker
// opens during the lock runs a loop above the login's: the password still
// ends the lock at once and shows FileMaker's windows and the box again; left
// unanswered, the limit locks again on time.
TEST(LockScenario, FileMakersOwnBoxNeitherHoldsNorStrandsTheLock) {
  const Steps boxDuringTheLock = {"hostbox", "waitfor 3000 host box opened", "wait 500", "box Delete Record"};
  const struct {
    Steps untilLocked, leftOpen;
    bool boxDuringTheLock;
  } rows[] = {
      {{"modern call Lulx-SetEventScript Contacts;Lullex Audit", "call Lulx-ActivateFileMakerLullex 2", "focus record",
        "type x", "hostbox", "waitfor 3000 host box opened", "say walked away", WaitForLock(6000)},
       {},
       false},
      {Join({{"call Lulx-LockNow", "say walked away", WaitForLock(6000)}, boxDuringTheLock}), {}, true},
      {Join({{"call Lulx-ActivateFileMakerLullex 3", "call Lulx-LockNow", "say walked away", WaitForLock(6000)},
             boxDuringTheLock}),
       Join({{"call Lulx-Status", "say left open", WaitForLock(6000)}, TypingPw()}), true},
  };
  for (const auto& row : rows) {
    HostRun run = RunHost(WithPw(Join(
        {row.untilLocked,
         TypingPw(),
         row.leftOpen,
         {"wait 300", "box Delete Record", "say answering", "endhostbox", "waitfor 3000 host box answered", "quit"}})));
    ASSERT_EQ(run.exitCode, 0) << run.All();
    EXPECT_LT(run.At(kLockUp) - run.At("-- walked away"), 4.0) << run.All();
    if (!row.leftOpen.empty()) {
      EXPECT_EQ(run.Count("locked=0"), 1) << run.All();
      EXPECT_LT(run.At(kLockUp, 2) - run.At(kLockGone), 4.5) << "the limit again, from the password" << run.All();
    }
    EXPECT_EQ(run.Count("box \"Delete Record\" up and hidden"), row.boxDuringTheLock ? 1 : 0) << run.All();
    EXPECT_TRUE(run.Before("-- typing the password", "main window shown", 1, 2)) << run.All();
    EXPECT_TRUE(run.Before("box \"Delete Record\" up and shown", "-- answering")) << run.All();
    EXPECT_TRUE(run.Before(kLockGone, "host box answered Cancel")) << "not waiting for the box";
  }
}

}  // namespace
