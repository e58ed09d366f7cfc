// End to end (see HostScenarioTest.cpp): lock now, the warning before the
// lock, the status line.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace {

// Under FileMaker 7 and later the plug-in ends the line with what the last script start gave and what
// opens the lock (none at first, then the password).
#ifdef LULLEX_MODERN_HOST
const char kStatusEnd[] = ";scripterror=0;password=";
#else
const char kStatusEnd[] = "\"";
#endif
const char kIdleStatus[] =
    "record=0;recordidle=0;filemaker=0;filemakeridle=0;background=0;immediate=0;warning=0;locked=";

TEST(LockScenario, LockNowCommitsLocksAndThePasswordEndsIt) {
  HostRun run =
      RunHost(Join({{"init", "call Lulx-Status", "call Lulx-SetWorkstationPassword pw", "focus record", "type Smith",
                     "call Lulx-LockNow", WaitForLock(5000), "call Lulx-Status", "call Lulx-LockNow", "wait 500"},
                    TypingPw(),
                    {"call Lulx-Status", "quit"}}));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(std::string("reply \"") + kIdleStatus + "0" + kStatusEnd), 2) << run.All();
  EXPECT_EQ(run.Count(std::string("reply \"") + kIdleStatus + "1" + kStatusEnd), 1) << "locked=1 during the lock";
  EXPECT_EQ(run.Count("call Lulx-LockNow(\"\") -> reply \"0\""), 2);
  EXPECT_TRUE(run.Before("call Lulx-LockNow", "record committed #1")) << "the call returns first";
  EXPECT_EQ(run.Count("record committed #1 (edited): \"Smith\""), 1) << run.All();
  EXPECT_TRUE(run.Before("record committed #1", kLockUp));
  EXPECT_EQ(run.Count(kLockUp), 1) << "a second LockNow during the lock does nothing";
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone));
}

TEST(CommitScenario, KeysTypedJustBeforeALockReachTheRecordNotTheLogin) {
  HostRun run = RunHost(ThenUnlockWithPw(WithPw({
                                             "call Lulx-ActivateRecordLullex 1",
                                             "focus record",
                                             "type a",
                                             "waitfor 8000 record committed #2",
                                             // Still waiting in the queue when the lock's request, a posted
                                             // message, comes first.
                                             "type xyz",
                                             "call Lulx-LockNow",
                                         }),
                                         5000));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_TRUE(run.Before("record key 0x5A", kLockUp)) << "the last key typed reached the record first";
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 0) << "nothing of it went to the login";
}

TEST(LockScenario, FromTheFourthWrongPasswordTheNextTryWaitsAndTheRightOneStillUnlocks) {
  Steps script = WithPw({"call Lulx-LockNow", WaitForLock(8000)});
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
  EXPECT_TRUE(run.Before("window \"Incorrect password\" gone", waiting, 3)) << "not before the fourth";
  // The wait starts when the fourth is read, before its box is answered.
  EXPECT_TRUE(run.Before(waiting, "window \"Incorrect password\" gone", 1, 4));
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 4) << "what was typed while it waited was no try";
  EXPECT_GE(run.At(ready, 2) - run.At(waiting), 1.5) << run.All();
  EXPECT_TRUE(run.Before(ready, "window \"Please Login\" gone", 2));
}

// A warning set after the limit, as a start-up script does with FileMaker in
// front, shows its whole time; the status line's idle seconds are those of
// the moment it is asked.
TEST(LockScenario, AWarningSetAfterTheLimitShowsItsWholeTime) {
  const std::string warning4 = "lock warning \"This workstation locks in 4 s.\"";
  HostRun run =
      RunHost(ThenUnlockWithPw(WithPw({"focus record", "move 300 300", "wait 300",
                                       "call Lulx-ActivateFileMakerLullex 6", "call Lulx-ActivateRecordLullex 30",
                                       "call Lulx-SetLockWarning 4", "say set", "wait 1600", "call Lulx-Status"})));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_LT(run.At(warning4) - run.At("-- set"), 2.6) << run.All();
  EXPECT_GT(run.At(kLockUp) - run.At(warning4), 3.5) << run.All();
  EXPECT_EQ(run.Count("recordidle=1;filemaker=6;filemakeridle=1;"), 1) << run.All();
}

TEST(LockScenario, TheWarningCountsDownActivityClosesItAndTheLockComesOnTime) {
  const std::string warning2 = "lock warning \"This workstation locks in 2 s.\"";
  const std::string warning1 = "lock warning \"This workstation locks in 1 s.\"";
  HostRun run = RunHost(ThenUnlockWithPw(WithPw({
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
                                         }),
                                         5000));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_GT(run.At(warning2), run.At("-- idle") + 1.5) << "two seconds before a four-second limit";
  EXPECT_EQ(run.Count("not active, 8 px from the right and 8 px from the bottom"), run.Count("lock warning \""))
      << "never active, always at the bottom right" << run.All();
  // The key typed while the notice was up reached the record field.
  EXPECT_TRUE(run.Before(warning2, "record key 0x51"));
  EXPECT_TRUE(run.Before("record key 0x51", "lock warning gone"));
  EXPECT_GT(run.At(warning2, 2), run.At("-- typed") + 1.5) << "a full count again after typing";
  EXPECT_GT(run.At(warning2, 3), run.At("-- moved") + 1.5) << "and after a mouse move";
  EXPECT_EQ(run.Count(kLockUp), 1) << run.All();
  EXPECT_GT(run.At(kLockUp), run.At("-- moved") + 3.5) << "no lock before a full limit after the move";
  EXPECT_GT(run.At(kLockUp), run.At(warning2, 3) + 1.5) << "the lock comes on time";
  EXPECT_TRUE(run.Before(warning1, "lock warning gone", 1, 3));
  EXPECT_TRUE(run.Before("lock warning gone", kLockUp, 3)) << "the notice closes when the lock opens";
}

}  // namespace
