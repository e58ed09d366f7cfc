// End to end: the host stand-in loads the built Lullex.fmx, sets limits through
// the functions' names and lives through real idle time, real timers and real
// keystrokes. Timing is only asserted as order and generous lower bounds. The
// suites name the concern: WatchScenario (who counts as at the desk),
// CommitScenario, LockScenario and HostWindowsScenario (the host's windows
// around the guard); each concern is a CTest entry of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "HostRun.h"

namespace {

const char kLockUp[] = "window \"Please Login\" appeared";
const char kLockGone[] = "window \"Please Login\" gone";
const char kDenied[] = "window \"Incorrect password\" appeared: \"Access Denied\"";

using Steps = std::vector<std::string>;

// The parts, one after another.
Steps Join(std::initializer_list<Steps> parts) {
  Steps steps;
  for (const Steps& part : parts) steps.insert(steps.end(), part.begin(), part.end());
  return steps;
}

// The host's init and the workstation password "pw", then the steps.
Steps WithPw(const Steps& steps) { return Join({{"init", "call Lulx-SetWorkstationPassword pw"}, steps}); }

std::string WaitForLock(int ms) { return "waitfor " + std::to_string(ms) + " " + kLockUp; }

// "pw" typed at the lock that is up, and its end waited for.
Steps TypingPw() {
  return {"say typing the password", "type pw", "key ENTER", "waitfor 5000 " + std::string(kLockGone)};
}

// The steps, then: the lock waited for (at most ms), "pw" typed at it, its end, quit.
Steps ThenUnlockWithPw(const Steps& steps, int ms = 10000) {
  return Join({steps, {WaitForLock(ms), "type pw", "key ENTER", "waitfor 5000 " + std::string(kLockGone), "quit"}});
}

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

// ---- the host's real life: unload, calls during the lock, its own dialogs ----

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

// ---- lock now, the warning before the lock, the status line ----

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

// ---- several windows: today's FileMaker gives each document a window of its own ----

namespace several_windows {

// The text of the n-th "windows:" line: the visible record windows, top first.
std::string WindowsLine(const HostRun& run, int n) {
  for (const Line& line : run.lines)
    if (line.text.compare(0, 9, "windows: ") == 0 && --n == 0) return line.text;
  return "(no windows line " + std::to_string(n) + ")";
}

TEST(HostWindowsScenario, TheLockHidesEveryHostWindowAndGivesThemAllBack) {
  HostRun run = RunHost(Join({WithPw({
                                  "call Lulx-ActivateRecordLullex 1",
                                  "window Invoices",
                                  "card Lookup",
                                  "focus Invoices",
                                  "type abc",
                                  "waitfor 8000 record committed #2",
                                  "windows",
                                  "call Lulx-LockNow",
                                  WaitForLock(5000),
                                  "windows",
                                  "say the host opens a window during the lock",
                                  "window Messages",
                                  "waitfor 3000 window \"Messages\" hidden",
                                  "windows",
                              }),
                              TypingPw(),
                              {"wait 300", "windows", "quit"}}));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  // The record limit commits in the window the user types in, and nowhere else.
  EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\" in \"Invoices\""), 1) << run.All();
  EXPECT_EQ(run.Count(" in \"Contacts\""), 0) << "no key into the first document window" << run.All();
  EXPECT_EQ(WindowsLine(run, 1), "windows: \"Invoices\" active, \"Lookup\", \"Contacts\"");
  EXPECT_EQ(WindowsLine(run, 2), "windows: none") << "the lock hides all three" << run.All();
  EXPECT_TRUE(run.Before("window \"Messages\" shown", "window \"Messages\" hidden"));
  EXPECT_EQ(WindowsLine(run, 3), "windows: none") << "nothing new shows beside the lock";
  EXPECT_EQ(run.Count(kLockUp), 1);
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone));
  EXPECT_EQ(WindowsLine(run, 4), "windows: \"Invoices\" active, \"Messages\", \"Lookup\", \"Contacts\"")
      << "all four back in their order, the one in use in front" << run.All();
}

// Whatever ends the lock, no window of the host stays hidden.
TEST(HostWindowsScenario, NoLockLeavesAHostWindowHiddenForGood) {
  const Steps locked = WithPw({"window Invoices", "focus record", "call Lulx-LockNow", WaitForLock(5000), "windows"});
  auto with = [&locked](const Steps& rest) { return RunHost(Join({locked, rest})); };
  // The plug-in shut down and unloaded while the lock is up.
  HostRun unloaded = with({"shutdown", "unload", "wait 300", "windows", "wait 1000", "quit"});
  ASSERT_EQ(unloaded.exitCode, 0) << unloaded.All();
  EXPECT_EQ(WindowsLine(unloaded, 1), "windows: none") << unloaded.All();
  EXPECT_TRUE(unloaded.Before("plug-in unloaded", WindowsLine(unloaded, 2)));
  EXPECT_EQ(WindowsLine(unloaded, 2), "windows: \"Contacts\" active, \"Invoices\"") << unloaded.All();
  EXPECT_EQ(unloaded.Count(kLockGone), 1);

  // A hidden window closed during the lock, and a second lock asked for: the
  // lock holds until its password and gives back what is left.
  HostRun closed = with(
      Join({{"closewindow Invoices", "call Lulx-LockNow", "wait 600"}, TypingPw(), {"wait 300", "windows", "quit"}}));
  ASSERT_EQ(closed.exitCode, 0) << closed.All();
  EXPECT_TRUE(closed.Before("-- typing the password", kLockGone)) << "closing a window never ends the lock";
  EXPECT_EQ(closed.Count(kLockUp), 1);
  EXPECT_EQ(WindowsLine(closed, 2), "windows: \"Contacts\" active") << closed.All();

  // The host quits while the lock is up: its windows stay hidden until it
  // shuts the plug-in down on its way out, which gives them back.
  HostRun quit = with({"postquit 0"});
  ASSERT_EQ(quit.exitCode, 0) << quit.All();
  EXPECT_EQ(quit.Count("host's loop ended by WM_QUIT 0, main window hidden"), 1) << quit.All();
  EXPECT_TRUE(quit.Before("host's loop ended", "window \"Invoices\" shown", 1, 2));
  EXPECT_TRUE(quit.Before("host's loop ended", "main window shown", 1, 2));
}

// Closing windows, the one Lullex was armed in first, never switches the guard off.
TEST(HostWindowsScenario, TheGuardOutlivesEveryWindowThatCloses) {
  HostRun run =
      RunHost(ThenUnlockWithPw(Join({WithPw({
                                         "call Lulx-SetLockWarning 2",
                                         "window Notes",
                                         "window Archive",
                                         "window Invoices",
                                         "call Lulx-ActivateRecordLullex 1",
                                         "call Lulx-ActivateFileMakerLullex 5",
                                         "type abc",
                                         "waitfor 8000 record committed #2",
                                         "say closing the window in use during the commit's restore",
                                         "closewindow Invoices",
                                         "focus record",
                                         "type x",
                                         "waitfor 8000 lock warning \"This workstation locks in 2 s.\"",
                                         "say closing a window during the warning",
                                         "closewindow Notes",
                                         "waitfor 8000 " + std::string(kLockUp),
                                         "say closing a window during the lock",
                                         "closewindow Archive",
                                         "wait 500",
                                     }),
                                     TypingPw(),
                                     {"wait 300", "windows", "type y", "waitfor 8000 record committed #6"}})));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\" in \"Invoices\""), 1) << run.All();
  EXPECT_EQ(run.Count("record committed #3 (edited): \"x\" in \"Contacts\""), 1) << "in the window left" << run.All();
  EXPECT_TRUE(run.Before("-- closing a window during the warning", kLockUp));
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone)) << "the lock holds until its password";
  EXPECT_EQ(WindowsLine(run, 1), "windows: \"Contacts\" active") << run.All();
  EXPECT_EQ(run.Count("record committed #5 (edited): \"xy\" in \"Contacts\""), 1) << "still guarded" << run.All();
  EXPECT_EQ(run.Count(kLockUp), 2) << run.All();
}

}  // namespace several_windows
