// End to end (see HostScenarioTest.cpp): other programs and Windows around
// the guard: one that stopped answering, the wheel, Windows' lock, another
// program in front.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace {

// Giving the foreground back after a commit never waits for the program that
// had it: one that has stopped answering holds neither ticks nor the lock.
TEST(CommitScenario, AProgramThatStoppedAnsweringDelaysNothing) {
  HostRun run =
      RunHost(ThenUnlockWithPw(WithPw({"call Lulx-ActivateRecordLullex 1", "call Lulx-ActivateFileMakerLullex 4",
                                       "call Lulx-FMLullexCanBackground 1", "focus record", "type x", "wait 300",
                                       "activate other", "otherhang 9000", "say hung"}),
                               12000));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_TRUE(run.Before("record committed #2", kLockUp)) << run.All();
  EXPECT_LT(run.At(kLockUp) - run.At("-- hung"), 6.0) << "the lock on time" << run.All();
}

// Someone reading by turning the mouse wheel alone is at the desk, whether
// its messages reach FileMaker or another program, in front.
TEST(WatchScenario, TheWheelAloneKeepsBothLimitsAway) {
  for (const char* at : {"move 300 200", "activate other"}) {
    Steps scroll = {"call Lulx-ActivateRecordLullex 2",
                    "call Lulx-ActivateFileMakerLullex 3",
                    "call Lulx-FMLullexCanBackground 1",
                    "focus record",
                    "type x",
                    "wait 300",
                    at};
    for (int i = 0; i < 8; ++i) scroll.push_back("wheel"), scroll.push_back("wait 600");
    scroll.push_back("say stopped scrolling");
    HostRun run = RunHost(ThenUnlockWithPw(WithPw(scroll)));
    ASSERT_EQ(run.exitCode, 0) << at << run.All();
    EXPECT_TRUE(run.Before("-- stopped scrolling", "record committed #1")) << at << run.All();
    EXPECT_TRUE(run.Before("-- stopped scrolling", kLockUp)) << at << run.All();
  }
}

// Win+L with a record typed into, or a terminal server's user disconnected:
// Windows owns the keyboard, so nothing is typed meanwhile. FileMaker 7 and
// later ask the event script to commit at once; FileMaker Pro 5 and 6 type the
// commit the moment Windows gives the keyboard back, before the lock that
// waited for it.
TEST(LockScenario, WhileWindowsIsLockedNothingIsTypedAndTheRecordIsLetGo) {
  const struct {
    const char *away, *back;  // the session steps
    const char *locked, *unlocked;
  } rows[] = {
      {"lock", "unlock", "Windows locks the session", "Windows unlocks the session"},
      {"remote-disconnect", "remote-connect", "the remote user disconnects from the session",
       "the remote user connects to the session"},
  };
  for (const auto& row : rows) {
    HostRun run = RunHost(WithPw({
        "modern call Lulx-SetEventScript Contacts;Lullex Audit",
        "call Lulx-ActivateRecordLullex 2",
        "call Lulx-ActivateFileMakerLullex 3",
        "focus record",
        "type abc",
        "wait 300",
        std::string("session ") + row.away,
        "wait 4500",
        "call Lulx-Status",
        std::string("session ") + row.back,
        "waitseen 8000 " + std::string(kLockUp),
        "wait 300",
        "type pw",
        "key ENTER",
        "waitseen 5000 " + std::string(kLockGone),
        "call Lulx-Status",
        "say back at work",
        "focus record",
        "type d",
        "waitfor 8000 record committed",
        "modern waitseen 3000 \"typed\":true",  // printed with the commit: may come before this step
        "quit",
    }));
    const char *locked = row.locked, *unlocked = row.unlocked;
    ASSERT_EQ(run.exitCode, 0) << locked << "\n" << run.All();
    EXPECT_EQ(run.CountBetween("record key", locked, unlocked), 0)
        << locked << ": nothing typed while Windows holds the keyboard\n"
        << run.All();
    EXPECT_EQ(run.CountBetween(";windows=locked", locked, unlocked), 1) << locked << "\n" << run.All();
    EXPECT_EQ(run.Count(";windows=locked"), 1) << locked << ": gone once Windows gives the keyboard back";
    EXPECT_EQ(run.Count("(edited): \"abcd\""), 1)
        << locked << ": the guard as before: the limit commits what is typed after";
    EXPECT_TRUE(run.Before("-- back at work", "(edited): \"abcd\"")) << locked;
#ifdef LULLEX_MODERN_HOST
    const std::string ran = "script \"Lullex Audit\" of \"Contacts\" ran with parameter ";
    const std::string asked = ran + "{\"event\":\"commit\",\"reason\":\"windowslocked\",\"typed\":false}";
    EXPECT_EQ(run.Count(asked), 1) << locked << "\n" << run.All();
    EXPECT_LT(run.At(asked) - run.At(locked), 1.0) << locked;
    EXPECT_EQ(run.Count("\"event\":\"commit\""), 2) << locked << ": asked once, then the typed commit after";
    EXPECT_EQ(run.Count(ran + "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true,\"committed\":true}"), 1)
        << locked << ": and FileMaker says the record closed";
    EXPECT_TRUE(run.Before(kLockUp, unlocked)) << locked << ": the script committed: the lock need not wait";
    EXPECT_EQ(run.Count("record committed"), 2) << locked << ": only the keys after (Ctrl+Enter twice)";
#else
    EXPECT_TRUE(run.Before(unlocked, "record committed #1 (edited): \"abc\"")) << locked;
    EXPECT_LT(run.At("record committed #1") - run.At(unlocked), 1.0) << locked << ": at once";
    EXPECT_TRUE(run.Before("record committed #1", kLockUp)) << locked << ": the lock waited for the commit";
#endif
  }
}

#ifdef LULLEX_MODERN_HOST
// Locking with Windows, another program in front as Windows unlocks and the
// person at its mouse at once: the login comes only after the lock's commit.
TEST(LockScenario, WithWindowsTheLoginComesAfterTheCommit) {
  HostRun run = RunHost(
      ThenUnlockWithPw(WithPw({"call Lulx-SetLockWithWindows 1", "focus record", "type abc", "wait 300",
                               "activate other", "session lock", "wait 1000", "othermoves 3000", "session unlock"})));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_TRUE(run.Before("record committed #1 (edited): \"abc\"", kLockUp)) << run.All();
}
#endif

// The commit on leaving meets FileMaker's question while the person types on
// in another program: that program gets the foreground back at once, none of
// their keys answer the question or reach the record, and the question waits.
TEST(CommitScenario, FileMakersQuestionWaitsForThePersonInFileMaker) {
  HostRun run = RunHost({"init", "call Lulx-LullexRecordImmediatelyWhenInBackground 1", "validate yes", "focus record",
                         "type abc", "wait 300", "activate other", "say left",
                         "othertypes results are in and they look nice, the numbers are up and the team did well",
                         "wait 6000", "say done", "quit"});
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("question asked"), 1) << run.All();
  EXPECT_EQ(run.CountBetween("question answered", "question asked", "-- done"), 0) << run.All();
  EXPECT_EQ(run.CountBetween("record key 0x", "-- left", "question asked"), 2) << "Ctrl+Enter alone" << run.All();
  EXPECT_EQ(run.CountBetween("record key 0x", "question asked", "-- done"), 0) << run.All();
}

// Windows unlocked while the plug-in was switched off: nothing of the lock
// before may hold the guard once it is back.
TEST(LockScenario, AnUnlockThatCameWhileNothingListenedHoldsNothing) {
  HostRun run = RunHost(ThenUnlockWithPw(Join({
      WithPw({"call Lulx-ActivateFileMakerLullex 3", "focus record", "type abc", "session lock", "wait 500", "shutdown",
              "session unlock"}),
      WithPw({"call Lulx-ActivateFileMakerLullex 3", "call Lulx-Status", "focus record", "type d"}),
  })));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count(";windows=locked"), 0) << run.All();
  EXPECT_TRUE(run.Before("(edited): \"abcd\"", kLockUp)) << "typed, then locked";
}

// The person works in another program while a host window is shown behind
// the lock: the lock hides it again and leaves that program the keyboard.
TEST(LockScenario, TheLockNeverPullsItsLoginOverAnotherProgram) {
  HostRun run = RunHost(WithPw({
      "window Invoices",
      "call Lulx-LockNow",
      WaitForLock(8000),
      "activate other",
      "wait 500",
      "say shown",
      "shownoactivate Invoices",
      "wait 1500",
      "type zz",
      "key ENTER",
      "wait 1500",
      "say typed",
      "windows",
      "shutdown",
      "quit",
  }));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.CountBetween("other application inactive", "-- shown", "-- typed"), 0) << run.All();
  EXPECT_EQ(run.Count(kDenied), 0) << "the keys went to the other program";
  EXPECT_EQ(run.Count("windows: none"), 1) << "hidden again";
}

}  // namespace
