// End to end: the host stand-in loads the built Lullex.fmx, sets limits through
// the functions' names and lives through real idle time, real timers and real
// keystrokes. Timing is only asserted as order and generous lower bounds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "HostRun.h"

namespace {

const char kLockUp[] = "window \"Please Login\" appeared";
const char kLockGone[] = "window \"Please Login\" gone";
const char kDenied[] = "window \"Incorrect password\" appeared: \"Access Denied\"";

TEST(HostScenario, RecordLimitCommitsOnceUntilTheUserIsBack) {
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
  EXPECT_GT(run.At("record committed #3"), run.At("-- idle")) << "no second action while idle";
}

TEST(HostScenario, FileMakerLimitCommitsLocksRefusesAndUnlocks) {
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
  EXPECT_LT(run.At("record committed #1"), run.At(kLockUp)) << "the record is committed before the lock";
  EXPECT_LT(run.At("main window hidden"), run.At(kLockUp));
  EXPECT_EQ(run.Count(kDenied), 1);
  EXPECT_GT(run.At(kLockUp, 2), run.At("-- unlocked") + 1.5) << "a full idle limit after the unlock";
  EXPECT_EQ(run.Count(kLockUp), 2);
}

TEST(HostScenario, MouseMovesAndTypingKeepTheUserActive) {
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
  EXPECT_GT(run.At("record committed #1"), run.At("-- stopped typing")) << run.All();
}

TEST(HostScenario, TypingWithoutTheMouseNeverLocks) {
  std::vector<std::string> script = {"init", "call Lulx-SetWorkstationPassword pw", "call Lulx-ActivateRecordLullex 1",
                                     "call Lulx-ActivateFileMakerLullex 2", "focus record"};
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

TEST(HostScenario, BackgroundSwitchDecidesWhetherTheLockComesInTheBackground) {
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

  HostRun counted = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword pw",
      "call Lulx-ActivateFileMakerLullex 1",
      "call Lulx-FMLullexCanBackground 1",
      "activate other",
      "waitfor 8000 " + std::string(kLockUp),
      "type pw",
      "key ENTER",
      "waitfor 5000 " + std::string(kLockGone),
      "quit",
  });
  ASSERT_EQ(counted.exitCode, 0) << counted.All();
  EXPECT_EQ(counted.Count(kLockUp), 1);
  EXPECT_LT(counted.At("record committed #1"), counted.At(kLockUp)) << counted.All();
}

TEST(HostScenario, ImmediateSwitchCommitsOnLeavingAndReArmsOnReturn) {
  HostRun run = RunHost({
      "init",
      "call Lulx-LullexRecordImmediatelyWhenInBackground 1",
      "focus record",
      "wait 600",
      "say leaving",
      "activate other",
      "waitfor 3000 record committed #2",
      "wait 1000",
      "say back",
      "activate main",
      "wait 800",
      "activate other",
      "waitfor 3000 record committed #4",
      "wait 1000",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At("record committed #1"), run.At("-- leaving"));
  EXPECT_GT(run.At("record committed #3"), run.At("-- back")) << "one action per departure" << run.All();
  EXPECT_EQ(run.Count("record committed"), 4) << run.All();
  EXPECT_GT(run.At("other application active", 2), run.At("record committed #2"))
      << "the foreground goes back to the other application";
}

TEST(HostScenario, SecondInitDoesNotDoubleTheTickRate) {
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

TEST(HostScenario, ListViewsGetEscapeAndTheKeysTwice) {
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
  EXPECT_LT(run.At("innermost child got key 0x1B"), run.At("record committed #1"));
}

// ---- the host's real life: unload, calls during the lock, its own dialogs ----

TEST(HostScenario, ShutdownAndUnloadLeaveNothingThatCallsBack) {
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
  EXPECT_GT(run.At("record committed #1"), run.At("-- reloading")) << "nothing ran while unloaded" << run.All();
  EXPECT_EQ(run.Count("record committed #1 (edited): \"ab\""), 1) << run.All();
  EXPECT_GT(run.At("record committed #3"), run.At("-- shutdown without unloading"));
  EXPECT_EQ(run.Count("record committed"), 4) << run.All();
}

TEST(HostScenario, CallsDuringTheLockOpenNoSecondLock) {
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword pw",
      "call Lulx-ActivateFileMakerLullex 1",
      "focus record",
      "waitfor 8000 " + std::string(kLockUp),
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
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(kLockUp), 1) << run.All();
  EXPECT_EQ(run.Count("lock windows: 2"), 0) << run.All();
  EXPECT_EQ(run.Count(", 2 login"), 0) << run.All();
  EXPECT_GT(run.At("lock windows: 0 backdrop, 0 login"), run.At("-- typing the password")) << run.All();
  EXPECT_LT(run.At("lock windows: 0 backdrop, 0 login"), run.At("-- after the unlock")) << run.All();
  EXPECT_EQ(run.Count("main window hidden"), 1);
  EXPECT_GT(run.At("main window shown", 2), run.At("-- typing the password"));
}

class LockWithRecordTimerRunning : public ::testing::TestWithParam<const char*> {};

TEST_P(LockWithRecordTimerRunning, NoKeysReachTheLoginAndTheHostStaysHidden) {
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword pw",
      std::string("call Lulx-LullexRecordImmediatelyWhenInBackground ") + GetParam(),
      "call Lulx-ActivateFileMakerLullex 1",
      "focus record",
      "type x",
      "waitfor 8000 " + std::string(kLockUp),
      "say locked",
      "wait 2000",
      "say typing the password",
      "type pw",
      "key ENTER",
      "waitfor 5000 " + std::string(kLockGone),
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 0) << run.All();
  EXPECT_GT(run.At(kLockGone), run.At("-- typing the password")) << "the lock stays until the password";
  // Shown once when the host starts, then only by the password.
  EXPECT_EQ(run.Count("main window shown"), 2) << run.All();
  EXPECT_GT(run.At("main window shown", 2), run.At("-- typing the password"));
  EXPECT_GT(run.At("record committed #1"), 0) << run.All();
  EXPECT_LT(run.At("record committed #1"), run.At(kLockUp));
}

INSTANTIATE_TEST_SUITE_P(ImmediateSwitchOffAndOn, LockWithRecordTimerRunning, ::testing::Values("0", "1"));

TEST(HostScenario, TheHostsOwnDialogNeverGetsTheKeys) {
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
  EXPECT_GT(run.At("host box answered"), run.At("-- the box is still up"));
  // Activating the disabled main window under a modal box hands the keys to the
  // box on Windows; the plug-in must not even try.
  EXPECT_EQ(run.CountBetween("main window active", "host box opened", "-- the box is still up"), 0) << run.All();
  EXPECT_GT(run.At("record committed #1"), run.At("-- leaving")) << "not into the box" << run.All();
}

TEST(HostScenario, TheRecordLimitWaitsWhileTheHostShowsADialog) {
  HostRun run = RunHost({
      "init",
      "call Lulx-ActivateRecordLullex 1",
      "focus record",
      "type x",
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
  EXPECT_GT(run.At("record committed #1"), run.At("host box answered")) << run.All();
}

// ---- lock now, the warning before the lock, the status line ----

const char kIdleStatus[] =
    "record=0;recordidle=0;filemaker=0;filemakeridle=0;background=0;immediate=0;warning=0;locked=";

TEST(HostScenario, LockNowCommitsLocksAndThePasswordEndsIt) {
  HostRun run = RunHost({
      "init",
      "call Lulx-Status",
      "call Lulx-SetWorkstationPassword pw",
      "focus record",
      "type Smith",
      "call Lulx-LockNow",
      "waitfor 5000 " + std::string(kLockUp),
      "call Lulx-Status",
      "call Lulx-LockNow",
      "wait 500",
      "say typing the password",
      "type pw",
      "key ENTER",
      "waitfor 5000 " + std::string(kLockGone),
      "call Lulx-Status",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(std::string("reply \"") + kIdleStatus + "0\""), 2) << run.All();
  EXPECT_EQ(run.Count(std::string("reply \"") + kIdleStatus + "1\""), 1) << "locked=1 during the lock";
  EXPECT_EQ(run.Count("call Lulx-LockNow(\"\") -> reply \"0\""), 2);
  EXPECT_LT(run.At("call Lulx-LockNow"), run.At("record committed #1")) << "the call returns first";
  EXPECT_EQ(run.Count("record committed #1 (edited): \"Smith\""), 1) << run.All();
  EXPECT_LT(run.At("record committed #1"), run.At(kLockUp));
  EXPECT_EQ(run.Count(kLockUp), 1) << "a second LockNow during the lock does nothing";
  EXPECT_GT(run.At(kLockGone), run.At("-- typing the password"));
}

TEST(HostScenario, FromTheFourthWrongPasswordTheNextTryWaitsAndTheRightOneStillUnlocks) {
  std::vector<std::string> script = {"init", "call Lulx-SetWorkstationPassword pw", "call Lulx-LockNow",
                                     "waitfor 8000 window \"Please Login\" appeared"};
  for (int i = 0; i < 4; ++i) {
    for (const char* step : {"type guess", "key ENTER", "waitfor 5000 window \"Incorrect password\" appeared",
                             "key ENTER", "waitfor 5000 window \"Incorrect password\" gone"})
      script.push_back(step);
  }
  for (const char* step : {"waitfor 3000 login prompt \"Try again in 1 s.", "say typing while it waits", "type pw",
                           "key ENTER", "waitfor 5000 login prompt \"Enter your password", "type pw", "key ENTER",
                           "waitfor 5000 window \"Please Login\" gone", "quit"})
    script.push_back(step);
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  const char waiting[] = "login prompt \"Try again in 2 s.\", field disabled";
  const char ready[] = "login prompt \"Enter your password to enable this station.\", field enabled";
  EXPECT_EQ(run.Count(waiting), 1) << run.All();
  EXPECT_GT(run.At(waiting), run.At("window \"Incorrect password\" gone", 3)) << "not before the fourth";
  EXPECT_GE(run.At(waiting), run.At("window \"Incorrect password\" appeared", 4));
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 4) << "what was typed while it waited was no try";
  EXPECT_GE(run.At(ready, 2) - run.At(waiting), 1.5) << run.All();
  EXPECT_GT(run.At("window \"Please Login\" gone"), run.At(ready, 2)) << run.All();
}

TEST(HostScenario, TheWarningCountsDownActivityClosesItAndTheLockComesOnTime) {
  const std::string warning2 = "lock warning \"This workstation locks in 2 s.\"";
  const std::string warning1 = "lock warning \"This workstation locks in 1 s.\"";
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword pw",
      "call Lulx-SetLockWarning 2",
      "call Lulx-ActivateFileMakerLullex 4",
      "focus record",
      "move 300 300",
      "say idle",
      "waitfor 8000 " + warning2,
      "type q",
      "waitfor 3000 lock warning gone",
      "say typed",
      "waitfor 8000 " + warning2,
      "move 340 300",
      "waitfor 3000 lock warning gone",
      "say moved",
      "waitfor 8000 " + warning2,
      "waitfor 5000 " + warning1,
      "waitfor 5000 " + std::string(kLockUp),
      "type pw",
      "key ENTER",
      "waitfor 5000 " + std::string(kLockGone),
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At(warning2), run.At("-- idle") + 1.5) << "two seconds before a four-second limit";
  EXPECT_EQ(run.Count("not active, 8 px from the right and 8 px from the bottom"), run.Count("lock warning \""))
      << "never active, always at the bottom right" << run.All();
  // The key typed while the notice was up reached the record field.
  EXPECT_GT(run.At("record key 0x51"), run.At(warning2)) << run.All();
  EXPECT_LT(run.At("record key 0x51"), run.At("lock warning gone")) << run.All();
  EXPECT_GT(run.At(warning2, 2), run.At("-- typed") + 1.5) << "a full count again after typing";
  EXPECT_GT(run.At(warning2, 3), run.At("-- moved") + 1.5) << "and after a mouse move";
  EXPECT_EQ(run.Count(kLockUp), 1) << run.All();
  EXPECT_GT(run.At(kLockUp), run.At("-- moved") + 3.5) << "no lock before a full limit after the move";
  EXPECT_GT(run.At(kLockUp), run.At(warning2, 3) + 1.5) << "the lock comes on time";
  EXPECT_LT(run.At("lock warning gone", 3), run.At(kLockUp) + 0.2) << "the notice closes when the lock opens";
}

}  // namespace
